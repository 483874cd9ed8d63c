#pragma once
// The cell types of the case table editor's sheet, one delegate per kind of
// column: the title (40 bytes, no double quotes), the row's "編集" button, the
// choice lists and the decimal numbers. Values are handed to the model as
// text; the model checks and stores them.

#include <QStyledItemDelegate>

class QLineEdit;

namespace ormavex::gui {

/// A case title field after `typed` was typed into it: a double quote, line
/// end or tab taken out and text beyond 40 bytes cut (CleanCaseTitle), the
/// cursor kept in its place. Returns why something was refused, else empty.
QString RefuseInTitle(QLineEdit& edit, const QString& typed);

/// Column 1: a line edit that refuses double quotes and text beyond 40 bytes
/// while typing and says so through refused().
class TitleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
signals:
    void refused(const QString& message) const;
};

/// Column 2: a push button "編集" painted in every row; a click or the space
/// bar on it emits clicked() with the row (1-based).
class ButtonCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
signals:
    void clicked(int row);
};

/// Choice columns: an editable combo box of the column's items; the model
/// receives the chosen item's text or what was typed (a short form or an
/// index, see SheetChoiceForms), when it differs from what the cell shows.
class ChoiceCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

/// Decimal columns: a line edit taking digits, sign, point and grouping
/// commas, full-width ones folded as they are typed; the model checks the
/// number and its range when the cell is left.
class DecimalCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

} // namespace ormavex::gui
