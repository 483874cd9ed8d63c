#pragma once
// The case table editor "計算条件の入力": the study cases as a sheet, one per
// row, in eleven columns (cases/CaseSheet.h). The opener fills the sheet in
// its LoadData handler and takes it back in its SaveData handler (OK); the
// window itself never touches the case table, so Cancel discards everything
// done since it opened. Inside, the user edits cells, adds, inserts and
// deletes rows (at most UsrRecMax), cuts, copies and pastes blocks as
// tab-separated text with CR LF rows (what spreadsheets exchange), undoes and
// redoes each of these steps, and opens the case condition dialog of a row
// with its "編集" button. Typed and pasted values are folded from full-width
// and half-width forms and checked by the cell (cases/CaseSheet.h). A value a
// cell refuses is named in the status bar; the refusals of a paste are also
// listed whole in "貼り付け結果の確認" (frmRefusedValues). A paste reaching past
// the last row adds rows up to UsrRecMax, in the same undo step. Delete and
// Backspace clear the selected cells as Cut does; Enter commits a cell and
// moves down; Esc, Cancel or closing with edits not taken asks first. The
// spans Lx and Ly never become empty, 0 or negative: such a value is refused,
// and Cut, Delete and Backspace leave a span cell as it was. A row whose λ does
// not suit its table or its spans has its λ cell coloured, with the reason in
// its tool tip and in the status bar while the row is active; the Edit menu's
// "λを実辺長比に合わせる" sets λ of the selected rows to the tabulated ratio
// nearest their Lx / Ly, as one undo step.

#include "gui/cases/frmInpJyoken.h"
#include "gui/cases/frmRefusedValues.h"

#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;
class QStatusBar;
class QTableView;
class QToolBar;
class QUndoStack;

namespace ormavex::gui {

class ButtonCellDelegate;
class CaseSheetModel;
class TitleCellDelegate;
class frmInpJyokenSS : public CaseWindow {
    Q_OBJECT
public:
    /// Shows the condition dialog modally; tests replace it to answer it.
    using DialogRunner = std::function<void(frmInpJyoken& dialog)>;

    /// `settingsFile` keeps the window's place; `dataFolder` holds "計算数表.ini";
    /// `prompter` answers for the condition dialog's messages.
    frmInpJyokenSS(std::string settingsFile, std::string dataFolder, Prompter& prompter,
                   QWidget* parent = nullptr);
    ~frmInpJyokenSS() override;

    int UsrRecMax = 99;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    /// The sheet as the opener reads and writes it: row count, and cell texts
    /// by column 1..11 and row 1..MaxRows() (choice cells hold the item index).
    int MaxRows() const;
    void setMaxRows(int rows);
    std::string cellText(int column, int row) const;
    void setCellText(int column, int row, const std::string& text);
    /// Status bar panel 1 (input hint) or 2 (case limit).
    std::string statusText(int panel) const;
    void setStatusText(int panel, const std::string& text);
    /// The message naming refused values, empty when there is none.
    std::string noticeText() const;

    /// The active cell, 0 when there is none.
    int activeColumn() const;
    int activeRow() const;
    void setActiveCell(int column, int row);

    QTableView* sheet() const { return m_sheet; }

    /// Delete and Backspace: the selected cells (or the active cell) cleared as
    /// Cut clears them (ClearSheetCells), as one undo step.
    void clearCells();
    /// "λを実辺長比に合わせる": λ of every selected row (or the active row) := the
    /// tabulated ratio of its table type nearest its Lx / Ly. Rows without
    /// spans or without a list are left alone.
    void fitLambdaToSpans();
    /// The "編集" button of `row`: the condition dialog for that row.
    void openConditionDialog(int row);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool takeTyped() override;
    bool edited() override;

public slots:
    void done(int result) override;

private slots:
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuAdd_Click();
    void mnuInsert_Click();
    void mnuDelete_Click();

private:
    // The steps of the constructor.
    void buildSheet();
    void connectSheet();
    void buildButtons();
    void buildLegend();
    void buildStatusBar();
    void buildActions();
    void layOut();

    /// Add (`append`) and Insert (at the active row): a new row, as one undo step.
    void insertRow(bool append, const QString& label);
    void setAddInsertEnabled(bool enabled);
    void showHint();
    void showNotice(const QString& message);
    /// The active cell one row down (Enter), when there is a row below.
    void moveDown();
    void showRefusals(const std::vector<frmRefusedValues::Entry>& entries, int stored);
    /// Selected block (or the active cell) as first/last row and column, 1-based.
    bool selectedBlock(int& top, int& left, int& bottom, int& right) const;
    void copyBlock(bool cut);
    /// Clears a block (ClearSheetCells) as one undo step named `label`.
    void clearBlock(const QString& label, int top, int left, int bottom, int right);
    /// The cell editor that has the focus, nullptr when no cell is being edited.
    QWidget* openEditor() const;
    void commitEditor();
    void restorePlacement();
    void savePlacement() const;

    void objInpJyoken_LoadData();
    void objInpJyoken_SaveData(bool& Cancel);
    void objInpJyoken_LoadRamuda(short& Index);

    std::string m_dataFolder;
    DialogRunner m_runDialog;
    frmInpJyoken* m_objInpJyoken = nullptr;
    frmRefusedValues* m_refusals = nullptr;
    /// The cell editor open when the status bar notice was shown: its own
    /// notice (a character it refused) stays when its value is stored.
    QPointer<QWidget> m_noticeEditor;

    QUndoStack* m_undo = nullptr;
    CaseSheetModel* m_model = nullptr;
    QMenuBar* m_menu = nullptr;
    QToolBar* m_toolbar = nullptr;
    QTableView* m_sheet = nullptr;
    TitleCellDelegate* m_titleCells = nullptr;
    ButtonCellDelegate* m_buttonCells = nullptr;
    QGroupBox* m_legend = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QAction* m_mnuAdd = nullptr;
    QAction* m_mnuInsert = nullptr;
    QAction* m_tbAdd = nullptr;
    QAction* m_tbInsert = nullptr;
};

} // namespace ormavex::gui
