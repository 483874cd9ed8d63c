#include "gui/cases/CaseSheetModel.h"

#include "core/text/LeadingNumber.h"
#include "gui/common/Widgets.h"

#include <QColor>
#include <QUndoCommand>
#include <QUndoStack>

#include <utility>

namespace ormavex::gui {

namespace {

/// One step: the rows before and after it. The sheet holds at most 99 rows of
/// short texts, so whole copies are cheap and make every step exact.
class SheetStep : public QUndoCommand {
public:
    SheetStep(CaseSheetModel& model, const QString& label, SheetRows before, SheetRows after,
              std::pair<int, int> active)
        : QUndoCommand(label), m_model(model), m_before(std::move(before)),
          m_after(std::move(after)), m_active(active) {}

    // Both ways the cursor goes to the cell the step was made at.
    void undo() override { m_model.restore(m_before, m_active); }
    void redo() override { m_model.restore(m_after, m_active); }

private:
    CaseSheetModel& m_model;
    SheetRows m_before;
    SheetRows m_after;
    std::pair<int, int> m_active;
};

} // namespace

QString RefusalReason(int column, const std::string& offered, SheetValueStatus status) {
    switch (status) {
    case SheetValueStatus::Stored:
    case SheetValueStatus::NoData: return {};
    case SheetValueStatus::Changed: {
        bool quote = false;
        bool cut = false;
        CleanCaseTitle(offered, &quote, &cut);
        QString why;
        if (quote) {
            why = "「\"」や改行はﾌｧｲﾙに保存できないため除きました";
        }
        if (cut) {
            why += QString(why.isEmpty() ? "" : "，") +
                   QString("%1ﾊﾞｲﾄを超える部分を切り捨てました").arg(CaseTitleBytes);
        }
        return why;
    }
    case SheetValueStatus::NotANumber: return "数値ではないため入力できません";
    case SheetValueStatus::OutOfRange:
        return Q(SheetInputHint(column)) + " の範囲外のため入力できません";
    case SheetValueStatus::UnknownItem:
        return "選択ﾘｽﾄにない値のため入力できません（入力できるもの：" +
               Q(SheetChoiceForms(column)) + "）";
    case SheetValueStatus::NotPositive:
        return "Lx, Ly は0より大きい値が必要なため入力できません（" + Q(SheetInputHint(column)) +
               "）";
    }
    return {};
}

QString RefusalText(int row, int column, const std::string& offered, SheetValueStatus status) {
    const QString why = RefusalReason(column, offered, status);
    if (why.isEmpty()) {
        return {};
    }
    return QString("%1行目「%2」「%3」：")
               .arg(row)
               .arg(Q(SheetColumnInfo(column).heading), Q(offered)) +
           why;
}

CaseSheetModel::CaseSheetModel(QUndoStack& undo, QObject* parent)
    : QAbstractTableModel(parent), m_undo(undo) {}

int CaseSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CaseSheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SheetColumns;
}

QVariant CaseSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int column = SheetColumnAt(index);
    const std::string& stored = text(SheetRowAt(index), column);
    switch (role) {
    case Qt::DisplayRole:
        return column == SheetCol::Button ? QString() : Q(SheetDisplayText(column, stored));
    case Qt::EditRole: return Q(stored);
    case Qt::BackgroundRole:
    case Qt::ToolTipRole:
        if (column == SheetCol::Lambda) {
            const SideRatioFinding f = sideRatioFinding(SheetRowAt(index));
            if (f.mark != SideRatioMark::None) {
                return role == Qt::ToolTipRole ? QVariant(Q(f.reason))
                                               : QVariant(QColor(QRgb(MarkedLambdaColour)));
            }
        }
        return {};
    case Qt::TextAlignmentRole:
        return SheetColumnInfo(column).kind == SheetCellKind::Decimal
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant CaseSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        const int column = section + 1; // SheetSection backwards
        return column >= SheetCol::Title && column <= SheetColumns
                   ? Q(SheetColumnInfo(column).heading)
                   : QVariant();
    }
    return section + 1; // the row number the user sees
}

Qt::ItemFlags CaseSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (SheetColumnAt(index) != SheetCol::Button) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool CaseSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const int row = SheetRowAt(index);
    const int column = SheetColumnAt(index);
    const std::string offered = value.toString().toStdString();
    std::string stored;
    const SheetValueStatus status = CheckSheetValue(column, offered, stored);
    const QString message = RefusalText(row, column, offered, status);
    m_lastRefused = status != SheetValueStatus::Stored && status != SheetValueStatus::Changed;
    if (!message.isEmpty()) {
        emit refused(message);
    }
    if (m_lastRefused) {
        return false;
    }
    edit(QString("入力"),
         [&](SheetRows& rows) {
             PutSheetValue(rows[static_cast<std::size_t>(row - 1)], column, offered);
         },
         {row, column});
    if (message.isEmpty()) {
        emit valueStored(row, column);
    }
    return true;
}

const std::string& CaseSheetModel::text(int row, int column) const {
    assert(row >= 1 && row <= rowCount() && column >= 1 && column <= SheetColumns);
    return m_rows[static_cast<std::size_t>(row - 1)][column];
}

void CaseSheetModel::setText(int row, int column, const std::string& text) {
    assert(row >= 1 && row <= rowCount() && column >= 1 && column <= SheetColumns);
    m_rows[static_cast<std::size_t>(row - 1)][column] = text;
    // The λ mark of the row depends on several of its cells.
    emit dataChanged(cellIndex(row, SheetCol::Title), cellIndex(row, SheetColumns));
}

void CaseSheetModel::setSideRatioLists(SideRatioLists lists) {
    m_lists = std::move(lists);
    if (!m_rows.empty()) {
        emit dataChanged(cellIndex(1, SheetCol::Lambda), cellIndex(rowCount(), SheetCol::Lambda));
    }
}

SideRatioFinding CaseSheetModel::sideRatioFinding(int row) const {
    std::int32_t type = 0;
    if (!Cell(text(row, SheetCol::TableType)).toInt32(type)) {
        type = 0;
    }
    return CheckSideRatio(LeadingNumber(text(row, SheetCol::Lambda)),
                          LeadingNumber(text(row, SheetCol::Lx)),
                          LeadingNumber(text(row, SheetCol::Ly)), m_lists.forType(type));
}

void CaseSheetModel::setRows(int count) {
    beginResetModel();
    m_rows.resize(static_cast<std::size_t>(std::max(0, count)));
    endResetModel();
}

void CaseSheetModel::edit(const QString& label, const std::function<void(SheetRows&)>& change,
                          std::pair<int, int> active) {
    SheetRows after = m_rows;
    change(after);
    if (after == m_rows) {
        return;
    }
    // The step's redo, run by push(), puts the new rows in place.
    m_undo.push(new SheetStep(*this, label, m_rows, std::move(after), active));
}

void CaseSheetModel::restore(const SheetRows& rows, std::pair<int, int> active) {
    if (rows.size() == m_rows.size()) {
        m_rows = rows;
        if (!m_rows.empty()) {
            emit dataChanged(cellIndex(1, SheetCol::Title), cellIndex(rowCount(), SheetColumns));
        }
    } else {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }
    emit activeCellRequested(active.first, active.second);
}

} // namespace ormavex::gui
