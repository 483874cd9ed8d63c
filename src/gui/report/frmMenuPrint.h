#pragma once
// The print menu ("結果の印刷"): while it loads, the report run writes the
// page of every case into the results file; the user ticks report items and
// presses "印刷(&P)", which joins them into the combined print file and
// starts the preview program on it (not waited for). Closing the window
// stores the choices and the position (section "MenuPrint") and deletes
// every print file of the run. "計算結果一覧(&R)" shows the calculated
// moments in the results window.

#include "gui/common/AppPaths.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QPushButton;

namespace ormavex {
struct AppState;
}

namespace ormavex::gui {

class Prompter;

class frmMenuPrint : public QDialog {
    Q_OBJECT
public:
    /// The report items: item k prints the text print file at position k.
    static constexpr int ItemCount = 1;

    frmMenuPrint(AppState& state, const AppPaths& paths, Prompter& prompter,
                 QWidget* parent = nullptr);
    ~frmMenuPrint() override;

    QCheckBox* chkPrintItem(int k) const { return m_items[static_cast<std::size_t>(k)]; }
    /// The command line of the last start of the preview program.
    const std::string& lastPreviewCommand() const { return m_lastCommand; }

    /// Loading: position, item choices, the report run and its messages.
    /// Runs once.
    void load();
    /// 0 select all, 1 clear all, 2 invert.
    void cmdCheck_Click(int index);
    /// Builds the combined print file and starts the preview program.
    void cmdPreview_Click();
    /// The results window of the calculation the report was made from.
    void cmdResults_Click();

protected:
    void done(int result) override;

private:
    /// Stores the choices and the position and deletes the print files.
    void unload();

    AppState& m_state;
    AppPaths m_paths;
    Prompter& m_prompter;
    bool m_loaded = false;
    bool m_unloaded = false;
    std::vector<QCheckBox*> m_items;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdResults = nullptr;
    std::string m_lastCommand;
};

} // namespace ormavex::gui
