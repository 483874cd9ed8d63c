#include "CaseSheetDelegates.h"

#include "cases/CaseSheet.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace ormavex::gui {

namespace {
int SheetColumnOf(const QModelIndex& index) { return index.column() + 1; }
} // namespace

QWidget* TitleCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    const int row = index.row() + 1;
    connect(edit, &QLineEdit::textEdited, edit, [this, edit, row](const QString& typed) {
        bool quote = false;
        bool cut = false;
        const std::string clean = CleanCaseTitle(typed.toStdString(), &quote, &cut);
        if (!quote && !cut) {
            return;
        }
        const int cursor = edit->cursorPosition();
        const QString text = QString::fromStdString(clean);
        edit->setText(text);
        edit->setCursorPosition(std::min(cursor - static_cast<int>(typed.size() - text.size()),
                                         static_cast<int>(text.size())));
        emit refused(QString("%1行目「%2」：%3")
                         .arg(row)
                         .arg(QString::fromStdString(SheetColumnInfo(SheetTitleColumn).heading),
                              quote ? QString("「\"」や改行はﾌｧｲﾙに保存できないため入力できません")
                                    : QString("%1ﾊﾞｲﾄを超えて入力できません").arg(CaseTitleBytes)));
    });
    return edit;
}

void ButtonCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex&) const {
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = QStringLiteral("編集");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.fontMetrics = option.fontMetrics;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

bool ButtonCellDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            option.rect.contains(mouse->position().toPoint())) {
            emit clicked(index.row() + 1);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        emit clicked(index.row() + 1);
        return true;
    }
    return false;
}

QWidget* ChoiceCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
    auto* combo = new QComboBox(parent);
    for (const std::string& item : SheetColumnInfo(SheetColumnOf(index)).items) {
        combo->addItem(QString::fromStdString(item));
    }
    return combo;
}

void ChoiceCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(combo->findText(index.data(Qt::DisplayRole).toString()));
}

void ChoiceCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    if (combo->currentIndex() >= 0) {
        model->setData(index, combo->currentText(), Qt::EditRole);
    }
}

QWidget* DecimalCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only what a number is made of; whether it is one, and in range, is
    // decided when the cell is left, so that nothing typed vanishes unseen.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+0-9., ]*")), edit));
    return edit;
}

void DecimalCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // The stored value in full: a cell entered and left untouched keeps it.
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void DecimalCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    if (edit->isModified()) {
        model->setData(index, edit->text(), Qt::EditRole);
    }
}

} // namespace ormavex::gui
