#pragma once
// The rows of the case table editor behind its table view: eleven text cells
// per row (see cases/CaseSheet.h). Changes made by the user (cell edits,
// paste, cut, insert, delete, the condition dialog) go through edit() and land
// on the undo stack as one step each; the opener's LoadData and SaveData use
// the plain cell access, which bypasses the stack. A row whose λ does not suit
// its table or its spans (cases/SideRatioCheck.h) has its λ cell coloured,
// with the reason as the cell's tool tip.

#include "core/cases/CaseSheet.h"
#include "core/cases/SideRatioCheck.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QUndoStack;

namespace ormavex::gui {

using SheetRows = std::vector<SheetRow>;

/// The sheet column (SheetCol) and row (from 1) of a model index: where Qt's
/// positions from 0 meet the sheet's numbering from 1.
inline int SheetColumnAt(const QModelIndex& index) { return index.column() + 1; }
inline int SheetRowAt(const QModelIndex& index) { return index.row() + 1; }
/// The view's section of sheet column `column` (SheetCol).
inline int SheetSection(int column) { return column - 1; }

class CaseSheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CaseSheetModel(QUndoStack& undo, QObject* parent = nullptr);

    /// The model index of sheet cell `column` (SheetCol) of `row` (from 1).
    QModelIndex cellIndex(int row, int column) const {
        return index(row - 1, SheetSection(column));
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// A value typed into a cell (a choice cell's item text or another form it
    /// takes): checked and stored by PutSheetValue as one undo step, so that a
    /// change of Lx or Ly recomputes Lx/Ly in the same step. A refused value
    /// leaves the cell as it was and is named through refused(); a value
    /// stored as offered is announced through valueStored().
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    /// Cell text, row 1..rowCount(), column 1..11.
    const std::string& text(int row, int column) const;
    /// Row `row` (from 1).
    const SheetRow& row(int row) const { return m_rows[static_cast<std::size_t>(row - 1)]; }
    /// Stores a cell text as it is: no check, no side effect, no undo step.
    void setText(int row, int column, const std::string& text);
    /// Sets the number of rows (new rows empty), no undo step.
    void setRows(int count);
    const SheetRows& rows() const { return m_rows; }
    /// True when the last value offered through setData was refused; the
    /// flag is cleared by asking.
    bool takeRefusal() { return std::exchange(m_lastRefused, false); }

    /// The tabulated ratios the λ check compares with.
    void setSideRatioLists(SideRatioLists lists);
    /// The λ check of row 1..rowCount().
    SideRatioFinding sideRatioFinding(int row) const;

    /// One undoable change of the rows; `active` is the cell (row, column,
    /// 1-based) to make active after it and after its redo. Nothing is
    /// recorded when the rows come out unchanged.
    void edit(const QString& label, const std::function<void(SheetRows&)>& change,
              std::pair<int, int> active);
    /// Replaces all rows (undo and redo of a step).
    void restore(const SheetRows& rows, std::pair<int, int> active);

signals:
    /// A typed or pasted value was refused or changed: the message says which.
    void refused(const QString& message);
    /// A typed value was stored as offered.
    void valueStored(int row, int column);
    /// After an undo or redo: the cell that should become active.
    void activeCellRequested(int row, int column);

private:
    QUndoStack& m_undo;
    SheetRows m_rows;
    SideRatioLists m_lists;
    bool m_lastRefused = false;
};

/// Background of a marked λ cell.
inline constexpr unsigned MarkedLambdaColour = 0xffc8c8;

/// Why a cell refused or changed a value, empty when it was stored as offered.
QString RefusalReason(int column, const std::string& offered, SheetValueStatus status);
/// The message naming a value that a cell refused or changed (row, column,
/// value and RefusalReason), or empty when the value was stored as offered.
QString RefusalText(int row, int column, const std::string& offered, SheetValueStatus status);

} // namespace ormavex::gui
