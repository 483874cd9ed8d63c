#include "gui/cases/CaseSheetDelegates.h"

#include "core/cases/CaseSheet.h"
#include "core/text/WidthFold.h"
#include "gui/cases/CaseSheetModel.h"
#include "gui/common/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QValidator>

namespace ormavex::gui {

QString RefuseInTitle(QLineEdit& edit, const QString& typed) {
    bool quote = false;
    bool cut = false;
    const QString clean = Q(CleanCaseTitle(typed.toStdString(), &quote, &cut));
    if (!quote && !cut) {
        return {};
    }
    const int cursor = edit.cursorPosition() - static_cast<int>(typed.size() - clean.size());
    edit.setText(clean);
    edit.setCursorPosition(std::clamp(cursor, 0, static_cast<int>(clean.size())));
    return quote ? Q("「\"」や改行はﾌｧｲﾙに保存できないため入力できません")
                 : QString("%1ﾊﾞｲﾄを超えて入力できません").arg(CaseTitleBytes);
}

QWidget* TitleCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    const int row = SheetRowAt(index);
    connect(edit, &QLineEdit::textEdited, edit, [this, edit, row](const QString& typed) {
        if (const QString why = RefuseInTitle(*edit, typed); !why.isEmpty()) {
            emit refused(QString("%1行目「%2」：%3")
                             .arg(row)
                             .arg(Q(SheetColumnInfo(SheetCol::Title).heading), why));
        }
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
            emit clicked(SheetRowAt(index));
            return true;
        }
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        emit clicked(SheetRowAt(index));
        return true;
    }
    return false;
}

QWidget* ChoiceCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
    auto* combo = new QComboBox(parent);
    // Editable, so that a short form ("3桁", "底版", an index) can be typed as
    // well as chosen; the model decides what the text names.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : SheetColumnInfo(SheetColumnAt(index)).items) {
        combo->addItem(Q(item));
    }
    return combo;
}

void ChoiceCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    const QString text = index.data(Qt::DisplayRole).toString();
    combo->setCurrentIndex(combo->findText(text));
    combo->setEditText(text);
    // A key that starts the edit replaces the text, as in a number cell.
    combo->lineEdit()->selectAll();
}

void ChoiceCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    if (combo->currentText() != index.data(Qt::DisplayRole).toString()) {
        model->setData(index, combo->currentText(), Qt::EditRole);
    }
}

namespace {

/// Takes what a number is made of, in either width: the text is folded to
/// half-width as it is typed ("１５０．５" shows as "150.5"), then only digits,
/// signs, points, grouping commas and blanks pass. Whether it is one number,
/// and in range, is decided when the cell is left, so that nothing typed
/// vanishes unseen.
class FoldingNumberValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString folded =
            Q(FoldWidth(input.toStdString())).replace(QChar(0x2212), QLatin1Char('-'));
        static const QRegularExpression allowed(QStringLiteral("^[-+0-9., ]*$"));
        if (!allowed.match(folded).hasMatch()) {
            return Invalid;
        }
        if (folded != input) {
            pos = std::min(static_cast<int>(folded.size()),
                           pos - static_cast<int>(input.size() - folded.size()));
            input = folded;
        }
        return Acceptable;
    }
};

} // namespace

QWidget* DecimalCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setValidator(new FoldingNumberValidator(edit));
    return edit;
}

void DecimalCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // The stored value in full: a cell entered and left untouched keeps it.
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void DecimalCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    // Only a changed text: a cell entered and left untouched is not checked
    // again. (Folding as typed rewrites the text, so isModified() cannot tell.)
    auto* edit = static_cast<QLineEdit*>(editor);
    if (edit->text() != index.data(Qt::EditRole).toString()) {
        model->setData(index, edit->text(), Qt::EditRole);
    }
}

} // namespace ormavex::gui
