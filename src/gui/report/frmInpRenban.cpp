#include "gui/report/frmInpRenban.h"

#include "core/app/CPrivateProfile.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/help/HelpKey.h"
#include "gui/report/RangeSpinBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ormavex::gui {

namespace {

/// The levels' labels on the style and margin tabs.
const char* const kLevelLabels[] = {"（章）に対して", "（節）に対して", "（項）に対して",
                                    "（№）に対して"};

constexpr const char* kCaption = "連番条件設定";
constexpr const char* kSection = "InpRenban";

// The heading texts of chapter, section, item and No under each method.
constexpr const char* kHeadings[4][4] = {
    {"○○○", "○○○", "○○○", "○○○"},
    {"(章)○○○", "(節)○○○", "(項)○○○", "(No)○○○"},
    {"(章)○○○", "(章)-(節)○○○", "(章)-(節)-(項)○○○", "(No)○○○"},
    {"(章)○○○", "(章).(節)○○○", "(章).(節).(項)○○○", "(No)○○○"},
};
// The levels of the sample lines: four headings, an empty line, and the
// chapter and section again.
constexpr int kSampleLevels[] = {0, 1, 2, 3, -1, 0, 1};
constexpr std::array<int, 4> kFixedIndent = {0, 2, 4, 8};

// The sample of a method: four heading lines, an empty line, and the chapter
// and section lines again, each indented by its level's `indent` (the method
// sample's fixed one, or the margins; a negative margin counts as 0).
std::string Sample(int method, const std::array<int, 4>& indent) {
    if (method < 0 || method >= 4) {
        method = 0;
    }
    std::string text;
    bool first = true;
    for (int level : kSampleLevels) {
        if (!first) {
            text += "\n";
        }
        first = false;
        if (level >= 0) {
            const int spaces = std::max(0, indent[static_cast<std::size_t>(level)]);
            text += std::string(static_cast<std::size_t>(spaces), ' ');
            text += kHeadings[method][level];
        }
    }
    return text;
}

QPlainTextEdit* SampleBox(QWidget* parent, const char* name) {
    auto* box = Named<QPlainTextEdit>(name, parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::TypeWriter);
    box->setFont(mono);
    box->setMinimumSize(240, 150);
    return box;
}

} // namespace

frmInpRenban::frmInpRenban(std::string settingsFile, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_settingsFile(std::move(settingsFile)), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmInpRenban"));
    setWindowTitle(Q(kCaption));
    setModal(true);

    buildTabs();
    buildMethodTab();
    buildStyleTab();
    buildMarginTab();
    connect(m_numInit, &RangeSpinBox::outOfRange, this, &frmInpRenban::reportOutOfRange);
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmInpRenban::selectTab);
    QLayout* buttons = buildButtons();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    adjustSize();
}

void frmInpRenban::buildTabs() {
    m_tabs = Named<QTabWidget>("TabStrip1", this);
    const char* tabCaptions[] = {"表現方法", "連番種類", "左余白"};
    for (int t = 0; t < 3; ++t) {
        auto* page = new QWidget(m_tabs);
        auto* frame = Named<QGroupBox>(QStringLiteral("Frame%1").arg(t + 1), page);
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->addWidget(frame);
        m_frames[static_cast<std::size_t>(t)] = frame;
        m_tabs->addTab(page, Q(tabCaptions[t]));
        m_tabs->tabBar()->setTabData(t, QStringLiteral("Tab%1").arg(t + 1));
    }
}

// Tab1: the initial number and the method with its sample.
void frmInpRenban::buildMethodTab() {
    QGroupBox* frame1 = m_frames[0];
    m_numInit = Named<RangeSpinBox>("numInit", 0, 99, frame1);
    m_numInit->setToolTip(QStringLiteral("（章）に対する初期値"));
    auto* initLabel = new QLabel(QStringLiteral("（章）に対する初期値"), frame1);
    initLabel->setBuddy(m_numInit);
    auto* frame4 = Named<QGroupBox>("Frame4", QStringLiteral("表現方法"), frame1);
    m_methodGroup = new QButtonGroup(this);
    const char* methodCaptions[] = {"なし", "(章)／(節)…", "(章)－(節)…", "(章)．(節)…"};
    auto* options = new QVBoxLayout;
    for (int i = 0; i < Methods; ++i) {
        auto* opt =
            Named<QRadioButton>(QStringLiteral("optMethod%1").arg(i), Q(methodCaptions[i]), frame4);
        m_methodGroup->addButton(opt, i);
        m_optMethod[static_cast<std::size_t>(i)] = opt;
        options->addWidget(opt);
    }
    options->addStretch();
    m_txtMethod = SampleBox(frame4, "txtMethod");
    auto* methodLayout = new QHBoxLayout(frame4);
    methodLayout->addLayout(options);
    methodLayout->addWidget(m_txtMethod, 1);
    QHBoxLayout* initRow = Row({initLabel, m_numInit, nullptr});
    auto* layout = new QVBoxLayout(frame1);
    layout->addLayout(initRow);
    layout->addWidget(frame4, 1);
    connect(m_methodGroup, &QButtonGroup::idClicked, this, [this] {
        updateMethodSample();
        updateMarginSample();
    });
}

// Tab2: the style of each level.
void frmInpRenban::buildStyleTab() {
    auto* grid = new QGridLayout(m_frames[1]);
    const char* styles[] = {"1,2,3,..99",         "(1),(2),(3) ...(99)", "1),2),3),.(99)",
                            "(a),(b),(c),...(z)", "a),b),c),...z)",      "(i),(ii),(iii),...(x)",
                            "i),ii),iii),...x)",  "①,②,③,...⑳",          "・,・,・,...・"};
    for (int k = 0; k < Levels; ++k) {
        auto* combo = Named<QComboBox>(QStringLiteral("cboStyle%1").arg(k), m_frames[1]);
        for (const char* s : styles) {
            combo->addItem(Q(s));
        }
        combo->setCurrentIndex(-1);
        combo->setMinimumWidth(200);
        auto* label = new QLabel(Q(kLevelLabels[k]), m_frames[1]);
        label->setBuddy(combo);
        grid->addWidget(label, k, 0);
        grid->addWidget(combo, k, 1);
        m_cboStyle[static_cast<std::size_t>(k)] = combo;
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(Levels, 1);
}

// Tab3: the margins with their sample and the unit.
void frmInpRenban::buildMarginTab() {
    auto* grid = new QGridLayout;
    for (int k = 0; k < Levels; ++k) {
        auto* box = Named<RangeSpinBox>(QStringLiteral("numMargin%1").arg(k), 0, 10, m_frames[2]);
        auto* label = new QLabel(Q(kLevelLabels[k]), m_frames[2]);
        label->setBuddy(box);
        grid->addWidget(label, k, 0);
        grid->addWidget(box, k, 1);
        m_numMargin[static_cast<std::size_t>(k)] = box;
        connect(box, &QSpinBox::valueChanged, this, [this] { updateMarginSample(); });
        connect(box, &RangeSpinBox::outOfRange, this, &frmInpRenban::reportOutOfRange);
    }
    grid->setRowStretch(Levels, 1);
    m_txtMargin = SampleBox(m_frames[2], "txtMargin");
    auto* note = new QLabel(QStringLiteral("※ 半角１文字幅を１単位とします"), m_frames[2]);
    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    top->addWidget(m_txtMargin, 1);
    auto* layout = new QVBoxLayout(m_frames[2]);
    layout->addLayout(top, 1);
    layout->addWidget(note);
}

QLayout* frmInpRenban::buildButtons() {
    auto* ok = Named<QPushButton>("cmdOk", QStringLiteral("OK(&O)"), this);
    ok->setDefault(true);
    auto* cancel = Named<QPushButton>("cmdCancel", QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    // Pressing Cancel leaves a field without checking it.
    cancel->setFocusPolicy(Qt::NoFocus);
    m_cmdHelp = Named<QPushButton>("cmdHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);
    ConnectHelpButton(m_cmdHelp, this);
    connect(ok, &QPushButton::clicked, this, &frmInpRenban::cmdOk_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    return Row({nullptr, ok, cancel, m_cmdHelp});
}

frmInpRenban::~frmInpRenban() = default;

void frmInpRenban::showSettings(const ChapterSettings& s) {
    setMethod(s.method);
    m_numInit->setValue(s.init);
    for (std::size_t k = 0; k < m_cboStyle.size(); ++k) {
        QComboBox* styles = m_cboStyle[k];
        const int style = s.styles[k];
        styles->setCurrentIndex(style >= 1 && style <= styles->count() ? style - 1 : -1);
        m_numMargin[k]->setValue(s.margins[k]);
    }
}

ChapterSettings frmInpRenban::settings() const {
    ChapterSettings s;
    s.method = selectedMethod();
    s.init = m_numInit->value();
    for (std::size_t k = 0; k < m_cboStyle.size(); ++k) {
        s.styles[k] = m_cboStyle[k]->currentIndex() + 1;
        s.margins[k] = m_numMargin[k]->value();
    }
    return s;
}

int frmInpRenban::selectedMethod() const { return m_methodGroup->checkedId(); }

void frmInpRenban::setMethod(int method) {
    if (method >= 0 && method < Methods) {
        m_optMethod[static_cast<std::size_t>(method)]->setChecked(true);
    } else {
        m_methodGroup->setExclusive(false);
        for (QRadioButton* opt : m_optMethod) {
            opt->setChecked(false);
        }
        m_methodGroup->setExclusive(true);
    }
    updateMethodSample();
    updateMarginSample();
}

void frmInpRenban::load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    if (!UsrCaption.empty()) {
        setWindowTitle(Q(UsrCaption));
    }
    RestoreWindowPosition(*this, m_settingsFile, kSection, false);
    // There is no help viewer: the help button works only with a help file.
    m_cmdHelp->setEnabled(!UsrHelpFile.empty());
    emit LoadData();
    updateMethodSample();
    updateMarginSample();
    m_tabs->setCurrentIndex(0);
    selectTab(0);
}

void frmInpRenban::showEvent(QShowEvent* event) {
    load();
    QDialog::showEvent(event);
}

void frmInpRenban::updateMethodSample() {
    m_txtMethod->setPlainText(Q(Sample(selectedMethod(), kFixedIndent)));
}

void frmInpRenban::updateMarginSample() {
    m_txtMargin->setPlainText(Q(Sample(selectedMethod(), settings().margins)));
}

void frmInpRenban::selectTab(int index) {
    for (QGroupBox* frame : m_frames) {
        frame->setEnabled(false);
    }
    if (index >= 0 && index < static_cast<int>(m_frames.size())) {
        m_frames[static_cast<std::size_t>(index)]->setEnabled(true);
        m_frames[static_cast<std::size_t>(index)]->raise();
    }
    if (index == 2) {
        updateMarginSample();
    }
}

void frmInpRenban::reportOutOfRange(RangeSpinBox* box) {
    if (m_reporting) {
        return;
    }
    m_reporting = true;
    m_prompter.beep();
    m_prompter.show(this, {windowTitle().toStdString(),
                           "入力範囲：" + std::to_string(box->allowedMinimum()) + " ～ " +
                               std::to_string(box->allowedMaximum()),
                           Message::Icon::Information});
    // Back to the field, on its tab.
    for (int t = 0; t < static_cast<int>(m_frames.size()); ++t) {
        if (m_frames[static_cast<std::size_t>(t)]->isAncestorOf(box)) {
            m_tabs->setCurrentIndex(t);
        }
    }
    box->setFocus();
    box->selectAll();
    m_reporting = false;
}

void frmInpRenban::cmdOk_Click() {
    // A value outside its range is refused here as when its field is left.
    std::array<RangeSpinBox*, 1 + Levels> boxes{m_numInit, m_numMargin[0], m_numMargin[1],
                                                m_numMargin[2], m_numMargin[3]};
    for (RangeSpinBox* box : boxes) {
        if (!box->checkRange()) {
            reportOutOfRange(box);
            return;
        }
    }
    bool cancel = false;
    emit SaveData(&cancel);
    if (!cancel) {
        accept();
    }
}

void frmInpRenban::done(int result) {
    SaveWindowPosition(*this, m_settingsFile, kSection);
    QDialog::done(result);
}

} // namespace ormavex::gui
