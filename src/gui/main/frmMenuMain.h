#pragma once
// The main window: start-up, the File menu and toolbar (New, Open, Save As,
// Save, the four recent files, Exit), the three main commands (case input,
// calculation and print menu, heading numbering), the About box and every
// shutdown path. It holds the working state: the current project file, the
// edited flag, and the process-wide AppState (case table, calculation arrays,
// report state) that the other windows are handed.
//
// Beyond the plain commands:
// - New, Open, a recent file and a dropped file first ask whether to save
//   when the input has been edited (Yes saves, and a failed or cancelled save
//   abandons the action; Cancel abandons it).
// - Closing with edited input and answering Yes keeps the window open when
//   the save fails or the Save As dialog is cancelled: nothing is lost.
// - Recent files and the last folder are read whole, however long.
// - Before calculating, cases whose λ does not suit their table or their spans
//   are listed and the user decides whether to go on; a failed calculation
//   names every failing case and its cause.
// - "計算結果一覧" shows the results of the last calculation while the cases
//   are unchanged.

#include "gui/common/AppPaths.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <string>

class QAction;
class QLabel;
class QPushButton;

namespace ormavex {
struct AppState;
}

namespace ormavex::gui {

class CFileDialog;
class Prompter;
class frmInpRenban;

class frmMenuMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int RecentCount = 4;

    /// Start-up: caption, settings, position, recent-file menu, an empty case
    /// table and a cleared edited flag.
    frmMenuMain(AppState& state, AppPaths paths, Prompter& prompter, QWidget* parent = nullptr);
    ~frmMenuMain() override;

    AppState& state() { return m_state; }
    const AppPaths& paths() const { return m_paths; }
    const std::string& CurrentFile() const { return m_currentFile; }
    bool EditedFlag() const { return m_editedFlag; }
    /// "Ormavex" or "Ormavex - NAME.kvt" (the window title adds the
    /// modified mark).
    const std::string& Caption() const { return m_caption; }
    QAction* recentAction(int i) const { return m_mnuFileName[static_cast<std::size_t>(i)]; }

    /// Set when the case table editor has handed its grid back.
    void setEditedFlag(bool edited);

    /// Opens a project named on the command line or dropped on the window,
    /// as Open does with a chosen file.
    bool openProject(const std::string& path);

    /// Updates the recent-file list with a path: a listed path keeps its
    /// place; otherwise it becomes the first and the fourth drops out.
    void AddRecentFile(const std::string& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    // Commands of the File menu and the toolbar.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    /// True when the file was written.
    bool mnuFileSaveAs_Click();
    /// True when the file was written.
    bool mnuFileSave_Click();
    void mnuFileName_Click(int index);
    void mnuAbout_Click();
    // The main buttons: 0 case input, 1 calculation and print menu, 2 heading numbering,
    // 3 results window.
    void cmdMenu_Click(int index);

private:
    void buildMenus();
    void buildCentre();
    void rebuildRecentMenu();
    void setCaption(const std::string& fileTitle);
    void updateStatus();
    void writeInitDir(const std::string& folder);
    /// The file dialog for project files, in the folder last used (InitDir) or
    /// else the program's; `flags` are added to those both dialogs have.
    CFileDialog projectFileDialog(const char* title, std::int32_t flags);
    /// Asks whether to save edited input before it is replaced; false when
    /// the action is to be abandoned.
    bool saveBeforeReplacing(const std::string& title);
    /// Asks `question` about the edited input and saves on Yes; false on
    /// Cancel or when the save did not happen.
    bool offerToSave(const std::string& title, const std::string& question);
    /// The common load steps; true when the file was read.
    bool loadFile(const std::string& path, bool addRecent);
    /// Closing: the save question and the position; false keeps the window open.
    bool queryClose();

    /// "計算条件の入力": the case table editor, filled from the case table
    /// (LoadData); OK copies the sheet back, sets CaseCount and the edited
    /// flag (SaveData); Cancel changes nothing.
    void openCaseEditor();
    /// "計算実行および結果印刷": the side-ratio question, the calculation, then
    /// the print menu.
    void calculateAndPrint();
    /// Lists the cases whose λ is marked and asks whether to calculate; true
    /// to go on (also when no case is marked).
    bool confirmSideRatios();
    /// "計算結果一覧": the results window of the last calculation.
    void openResults();
    /// The cases changed: the last results no longer belong to them.
    void dropResults();
    /// "連番条件設定": the numbering window and section Chapter.
    void openNumberingSettings();
    void loadNumbering(frmInpRenban& dialog);
    void saveNumbering(frmInpRenban& dialog, bool* cancel);

    AppState& m_state;
    AppPaths m_paths;
    Prompter& m_prompter;
    std::string m_currentFile;
    bool m_editedFlag = false;
    std::string m_caption;
    QLabel* m_status = nullptr;
    QPushButton* m_cmdResults = nullptr;
    bool m_hasResults = false;
    std::array<QAction*, RecentCount> m_mnuFileName{};
};

} // namespace ormavex::gui
