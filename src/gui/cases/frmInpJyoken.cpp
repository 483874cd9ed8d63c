#include "gui/cases/frmInpJyoken.h"

#include "core/cases/CaseSheet.h"
#include "core/cases/CaseTable.h"
#include "core/cases/SideRatioCheck.h"
#include "core/cases/SideRatioList.h"
#include "core/text/LeadingNumber.h"
#include "gui/cases/CaseSheetDelegates.h"
#include "gui/cases/NumberEdit.h"
#include "gui/cases/PlatePicture.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/help/HelpKey.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

/// Ratios the open λ list shows at a time.
constexpr int kLambdaListVisibleItems = 20;
/// The λ list drops down below its field and scrolls, its lines as tall as
/// those of the other lists.
const QString kLambdaListStyle = QStringLiteral(
    "QComboBox { combobox-popup: 0; } QComboBox QAbstractItemView::item { min-height: 20px; }");

QButtonGroup* OptionGroup(QWidget* frame, const char* name, const std::vector<QString>& captions) {
    auto* group = new QButtonGroup(frame);
    auto* layout = new QVBoxLayout(frame);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* option = Named<QRadioButton>(QString("%1_%2").arg(name).arg(i), captions[i], frame);
        group->addButton(option, static_cast<int>(i));
        layout->addWidget(option);
    }
    return group;
}

NumberEdit* Number(QWidget* parent, const char* name, double min, double max,
                   const std::string& display, const std::string& edit) {
    auto* field = Named<NumberEdit>(name, parent);
    field->setRange(min, max);
    field->setFormats(display, edit);
    field->setMinimumWidth(110);
    return field;
}

} // namespace

CaseWindow::CaseWindow(std::string settingsFile, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_settingsFile(std::move(settingsFile)), m_prompter(prompter) {}

void CaseWindow::buildOkCancelHelp() {
    m_ok = Named<QPushButton>("cmdOk", Q("OK(&O)"), this);
    m_cancel = Named<QPushButton>("cmdCancel", Q("ｷｬﾝｾﾙ(&C)"), this);
    m_help = Named<QPushButton>("cmdHelp", Q("ﾍﾙﾌﾟ(&H)"), this);
    for (QPushButton* b : {m_ok, m_cancel, m_help}) {
        b->setAutoDefault(false);
    }
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (!takeTyped()) {
            return;
        }
        bool cancel = false;
        emit SaveData(cancel);
        UsrTag = "OK";
        if (!cancel) {
            accept();
        }
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        UsrTag = "ｷｬﾝｾﾙ";
        reject(); // asks first after a change; "No" keeps the window and clears the tag
    });
    ConnectHelpButton(m_help, this);
}

bool CaseWindow::firstShowing() {
    if (m_loaded) {
        return false;
    }
    m_loaded = true;
    if (!UsrCaption.empty()) {
        setWindowTitle(Q(UsrCaption));
    }
    m_help->setEnabled(!UsrHelpFile.empty());
    return true;
}

void CaseWindow::reject() {
    if (edited() && m_prompter.message(this, windowTitle().toStdString(), DiscardEditsQuestion,
                                       Message::Icon::Information,
                                       Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
        UsrTag.clear();
        return;
    }
    QDialog::reject();
}

frmInpJyoken::frmInpJyoken(std::string settingsFile, Prompter& prompter, QWidget* parent)
    : CaseWindow(std::move(settingsFile), prompter, parent) {
    setObjectName("frmInpJyoken");
    setWindowTitle(Q("計算条件の入力"));

    QLayout* titleRow = buildTitleRow();
    auto* typeFrame = new QGroupBox(Q("版の種類"), this);
    std::vector<QString> types;
    for (int n = 1; n <= 5; ++n) {
        types.push_back(Q(TableType(n)->optionText));
    }
    m_type = OptionGroup(typeFrame, "optType", types);
    auto* styleFrame = new QGroupBox(Q("印刷書式"), this);
    m_style = OptionGroup(styleFrame, "optStyle", {Q("側壁ﾀｲﾌﾟ"), Q("底版ﾀｲﾌﾟ")});
    auto* placesFrame = new QGroupBox(Q("ｽﾊﾟﾝ長の小数部桁数"), this);
    m_places = OptionGroup(placesFrame, "optKeta", {Q("２桁"), Q("３桁")});

    QGroupBox* sizeFrame = buildSizeFrame();
    QGroupBox* loadFrame = buildLoadFrame();
    m_picture = new PlatePicture(this);
    QLayout* buttons = buildButtons();
    auto* grid = new QGridLayout(this);
    grid->addLayout(titleRow, 0, 0, 1, 3);
    grid->addWidget(typeFrame, 1, 0, 2, 1);
    grid->addWidget(styleFrame, 1, 1);
    grid->addWidget(placesFrame, 2, 1);
    grid->addWidget(sizeFrame, 3, 0);
    grid->addWidget(loadFrame, 3, 1);
    grid->addWidget(m_picture, 1, 2, 3, 1);
    grid->addLayout(buttons, 4, 0, 1, 3);

    connectFields();
    // The dialog sees every key first: Enter anywhere moves on as Tab does.
    for (QWidget* w : findChildren<QWidget*>()) {
        w->installEventFilter(this);
    }
    updatePicture();
}

QLayout* frmInpJyoken::buildTitleRow() {
    auto* titleLabel = new QLabel(Q("検討ｹｰｽ名"), this);
    m_title = Named<QLineEdit>("txtTitle", this);
    m_title->setMinimumWidth(330);
    auto* titleNote = Named<QLabel>("lblTitleNote", this);
    titleNote->setStyleSheet("color: #a00000;");
    connect(m_title, &QLineEdit::textEdited, this, [this, titleNote](const QString& typed) {
        titleNote->setText(RefuseInTitle(*m_title, typed));
    });

    auto* row = new QHBoxLayout;
    row->addWidget(titleLabel);
    row->addWidget(m_title);
    row->addWidget(titleNote, 1);
    return row;
}

QGroupBox* frmInpJyoken::buildSizeFrame() {
    auto* sizeFrame = new QGroupBox(Q("■版の大きさ"), this);
    // The spans start at 0 and refuse it as not positive rather than as out of range.
    m_lx = Number(sizeFrame, "numLx", 0, CaseLimits::SpanTwoPlaces.max, "#0.00", "#0.00");
    m_ly = Number(sizeFrame, "numLy", 0, CaseLimits::SpanTwoPlaces.max, "#0.00", "#0.00");
    m_ratio = Number(sizeFrame, "numRamuda", CaseLimits::Ratio.min, CaseLimits::Ratio.max, "##0.00",
                     "##0.00");
    m_ratio->setReadOnly(true);
    m_ratio->setFocusPolicy(Qt::NoFocus);
    m_lambdaList = Named<QComboBox>("cboRamuda", sizeFrame);
    m_lambdaList->setMinimumWidth(110);
    // About 20 of the up to 75 ratios at a time, scrolled: a drop-down list
    // below the field (combobox-popup: 0), as the default style would
    // otherwise open the list over the whole screen height.
    m_lambdaList->setMaxVisibleItems(kLambdaListVisibleItems);
    m_lambdaList->setStyleSheet(kLambdaListStyle);
    m_lambdaNote = Named<QLabel>("lblLambdaNote", sizeFrame);
    m_lambdaNote->setStyleSheet("color: #a00000;");
    m_lambdaNote->setWordWrap(true);
    m_lambdaNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest reason from the start: the dialog's size is fixed
    // before the row is loaded.
    m_lambdaNote->setFixedWidth(300);
    m_lambdaNote->setMinimumHeight(m_lambdaNote->fontMetrics().lineSpacing() * 3 + 4);
    for (NumberEdit* span : {m_lx, m_ly}) {
        span->setPositive(true);
    }
    auto* sizeGrid = new QGridLayout(sizeFrame);
    sizeGrid->addWidget(new QLabel(Q("Ｌx (m)"), sizeFrame), 0, 0);
    sizeGrid->addWidget(m_lx, 0, 1);
    sizeGrid->addWidget(new QLabel(Q("Ｌy (m)"), sizeFrame), 1, 0);
    sizeGrid->addWidget(m_ly, 1, 1);
    sizeGrid->addWidget(new QLabel(Q("λ = Ｌx／Ｌy"), sizeFrame), 2, 0);
    sizeGrid->addWidget(m_ratio, 2, 1);
    sizeGrid->addWidget(new QLabel(Q("計算数表で使用するλ"), sizeFrame), 3, 0);
    sizeGrid->addWidget(m_lambdaList, 3, 1);
    sizeGrid->addWidget(m_lambdaNote, 4, 0, 1, 2);

    return sizeFrame;
}

QGroupBox* frmInpJyoken::buildLoadFrame() {
    auto* loadFrame = new QGroupBox(Q("■荷重強度(kN/m2)"), this);
    m_qa = Number(loadFrame, "numQA", CaseLimits::Load.min, CaseLimits::Load.max, "#,##0.00",
                  "###0.00");
    m_qb = Number(loadFrame, "numQB", CaseLimits::Load.min, CaseLimits::Load.max, "#,##0.00",
                  "###0.00");
    auto* loadGrid = new QGridLayout(loadFrame);
    loadGrid->addWidget(new QLabel("QA", loadFrame), 0, 0);
    loadGrid->addWidget(m_qa, 0, 1);
    loadGrid->addWidget(new QLabel("QB", loadFrame), 1, 0);
    loadGrid->addWidget(m_qb, 1, 1);
    loadGrid->setRowStretch(2, 1);

    return loadFrame;
}

QLayout* frmInpJyoken::buildButtons() {
    buildOkCancelHelp();
    for (QPushButton* b : {m_ok, m_cancel, m_help}) {
        b->setMinimumWidth(100);
    }

    return Row({nullptr, m_ok, m_cancel, m_help});
}

void frmInpJyoken::connectFields() {
    connect(m_type, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            optType_Click(id);
        }
    });
    connect(m_places, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            optKeta_Click(id);
        }
    });
    for (NumberEdit* field : {m_lx, m_ly}) {
        connect(field, &NumberEdit::valueChanged, this, [this] { updateRatio(true); });
        connect(field, &NumberEdit::notPositive, this, [this, field] { reportSpan(field); });
    }
    connect(m_lambdaList, &QComboBox::currentIndexChanged, this, [this] { updateLambdaNote(); });
    connect(m_lambdaList, &QComboBox::activated, this, [this] {
        m_unlistedLambda.clear(); // the user chose from the list
        updateLambdaNote();
    });
    for (NumberEdit* field : {m_lx, m_ly, m_qa, m_qb}) {
        connect(field, &NumberEdit::invalidRange, this,
                [this, field] { reportRange(field, field->MinValue()); });
        connect(field, &NumberEdit::valueChanged, this, [this] { updatePicture(); });
    }
}

void frmInpJyoken::setLambdaItems(const std::vector<std::string>& items) {
    m_lambdaList->clear();
    for (const std::string& item : items) {
        m_lambdaList->addItem(Q(item));
    }
}

bool frmInpJyoken::selectLambda(const std::string& text) {
    const double wanted = LeadingNumber(text);
    for (int i = 0; i < m_lambdaList->count(); ++i) {
        if (std::fabs(LeadingNumber(m_lambdaList->itemText(i).toStdString()) - wanted) < 0.0005) {
            m_lambdaList->setCurrentIndex(i);
            m_unlistedLambda.clear();
            updateLambdaNote();
            return true;
        }
    }
    m_unlistedLambda = m_lambdaList->count() > 0 ? text : std::string();
    updateLambdaNote();
    return false;
}

void frmInpJyoken::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShowing()) {
        return;
    }
    adjustSize();
    RestoreWindowPosition(*this, m_settingsFile, "InpJyoken", false);
    emit LoadData();
    m_switching = false;
    updateRatio(false);
    m_loadedFields = fieldsText();
    m_title->setFocus();
}

QString frmInpJyoken::fieldsText() const {
    QStringList fields = {m_title->text(), QString::number(m_type->checkedId()),
                          QString::number(m_style->checkedId()),
                          QString::number(m_places->checkedId()), m_lambdaList->currentText()};
    for (const NumberEdit* field : {m_lx, m_ly, m_qa, m_qb}) {
        fields << QString::number(field->Value(), 'g', 17);
    }
    return fields.join(QChar(0x1f));
}

bool frmInpJyoken::edited() {
    bool typing = false; // a number typed and not yet taken by its field
    for (const NumberEdit* field : {m_lx, m_ly, m_qa, m_qb}) {
        typing = typing || field->isModified();
    }
    return m_loaded && (typing || fieldsText() != m_loadedFields);
}

bool frmInpJyoken::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInpJyoken::done(int result) {
    SaveWindowPosition(*this, m_settingsFile, "InpJyoken");
    QDialog::done(result);
}

void frmInpJyoken::showRow(const SheetRow& row) {
    m_title->setText(Q(CleanCaseTitle(row[SheetCol::Title])));
    auto choose = [&row](QButtonGroup* group, int column) {
        std::int32_t index = 0;
        if (Cell(row[column]).toInt32(index)) {
            if (QAbstractButton* b = group->button(index)) {
                b->setChecked(true);
            }
        }
    };
    choose(m_type, SheetCol::TableType);
    choose(m_style, SheetCol::PrintStyle);
    choose(m_places, SheetCol::Decimals);
    m_lx->setValue(LeadingNumber(row[SheetCol::Lx]));
    m_ly->setValue(LeadingNumber(row[SheetCol::Ly]));
    selectLambda(row[SheetCol::Lambda]);
    m_qa->setValue(LeadingNumber(row[SheetCol::QA]));
    m_qb->setValue(LeadingNumber(row[SheetCol::QB]));
}

void frmInpJyoken::takeRow(SheetRow& row) const {
    row[SheetCol::Title] = CleanCaseTitle(m_title->text().toStdString());
    const std::pair<QButtonGroup*, int> groups[] = {{m_type, SheetCol::TableType},
                                                    {m_style, SheetCol::PrintStyle},
                                                    {m_places, SheetCol::Decimals}};
    for (const auto& [group, column] : groups) {
        if (group->checkedId() >= 0) {
            row[column] = std::to_string(group->checkedId());
        }
    }
    row[SheetCol::Lx] = PlainNumberText(m_lx->Value());
    row[SheetCol::Ly] = PlainNumberText(m_ly->Value());
    row[SheetCol::Ratio] = PlainNumberText(m_ratio->Value());
    if (m_lambdaList->currentIndex() >= 0) { // an empty list keeps the row's λ
        row[SheetCol::Lambda] = m_lambdaList->currentText().toStdString();
    }
    row[SheetCol::QA] = PlainNumberText(m_qa->Value());
    row[SheetCol::QB] = PlainNumberText(m_qb->Value());
}

void frmInpJyoken::optType_Click(int index) {
    m_unlistedLambda.clear(); // the new list's proposal replaces it
    short i = static_cast<short>(index);
    emit LoadRamuda(i);
    updateRatio(true);
    updatePicture();
}

void frmInpJyoken::optKeta_Click(int index) {
    m_switching = true;
    for (NumberEdit* field : {m_lx, m_ly}) {
        const double value = field->Value();
        if (index == 1) {
            field->setFormats("#0.000", "#0.000");
            field->setMaxValue(CaseLimits::Span.max);
            field->setValue(value);
        } else {
            field->setFormats("#0.00", "#0.00");
            field->setMaxValue(CaseLimits::SpanTwoPlaces.max);
            field->setValue(std::min(RoundHalfEven(value, 2), CaseLimits::SpanTwoPlaces.max));
        }
    }
    m_switching = false;
    updateRatio(true);
    updatePicture();
}

void frmInpJyoken::updateRatio(bool propose) {
    if (m_switching) {
        return;
    }
    const double ratio = RealSideRatio(m_lx->Value(), m_ly->Value());
    m_ratio->setValue(std::clamp(ratio, m_ratio->MinValue(), m_ratio->MaxValue()));
    if (!propose) {
        updateLambdaNote();
        return;
    }
    std::vector<std::string> items;
    for (int i = 0; i < m_lambdaList->count(); ++i) {
        items.push_back(m_lambdaList->itemText(i).toStdString());
    }
    const int proposed = ProposeSideRatio(items, ratio);
    if (proposed >= 0) {
        m_lambdaList->setCurrentIndex(proposed);
    }
    updateLambdaNote();
}

void frmInpJyoken::updateLambdaNote() {
    std::vector<double> listed;
    for (int i = 0; i < m_lambdaList->count(); ++i) {
        listed.push_back(LeadingNumber(m_lambdaList->itemText(i).toStdString()));
    }
    QString note;
    if (!m_unlistedLambda.empty()) {
        note = Q("ﾃﾞｰﾀ行の λ = " + RatioText(LeadingNumber(m_unlistedLambda)) +
                 " は計算数表にない辺長比です。OK で一覧の λ = ") +
               m_lambdaList->currentText() + Q(" に置き換えます");
    } else if (m_lambdaList->currentIndex() >= 0 || m_lambdaList->count() == 0) {
        const double lambda = m_lambdaList->currentIndex() >= 0
                                  ? LeadingNumber(m_lambdaList->currentText().toStdString())
                                  : 0.0;
        const SideRatioFinding f = CheckSideRatio(lambda, m_lx->Value(), m_ly->Value(), listed);
        const bool judged = m_lambdaList->currentIndex() >= 0 || f.mark == SideRatioMark::NoSpans;
        if (judged && f.mark != SideRatioMark::None) {
            note = Q("※" + f.reason);
        }
    }
    m_lambdaNote->setText(note);
    m_lambdaList->setStyleSheet(
        note.isEmpty() ? kLambdaListStyle
                       : kLambdaListStyle + QStringLiteral("QComboBox { background: #ffc8c8; }"));
}

void frmInpJyoken::reportRange(NumberEdit* field, double min, const QString& before) {
    m_prompter.beep();
    const QString text = before + Q("入力範囲：") + field->FormatValue(min) + Q(" ～ ") +
                         field->FormatValue(field->MaxValue());
    m_prompter.show(this,
                    {windowTitle().toStdString(), text.toStdString(), Message::Icon::Information});
    field->setFocus();
    field->selectAll();
}

void frmInpJyoken::reportSpan(NumberEdit* field) {
    reportRange(field, std::pow(10.0, -(m_places->checkedId() == 1 ? 3 : 2)),
                (field == m_lx ? Q("Ｌx") : Q("Ｌy")) +
                    Q(" は0より大きい値でなければなりません。\n"));
}

void frmInpJyoken::updatePicture() {
    m_picture->setPlate(m_type->checkedId(), m_lx->Value(), m_ly->Value(), m_qa->Value(),
                        m_qb->Value(), m_places->checkedId() == 1 ? 3 : 2);
}

bool frmInpJyoken::takeTyped() {
    // A number still being typed is taken (or reported) before the row is written.
    for (NumberEdit* field : {m_lx, m_ly, m_qa, m_qb}) {
        if (!field->commit()) {
            return false;
        }
    }
    // A span of 0 may come from the row itself; it is not written back.
    for (NumberEdit* span : {m_lx, m_ly}) {
        if (!(span->Value() > 0.0)) {
            reportSpan(span);
            return false;
        }
    }
    return true;
}

} // namespace ormavex::gui
