#include "gui/report/frmMenuPrint.h"

#include "core/app/CPrivateProfile.h"
#include "core/report/ReportRun.h"
#include "gui/common/AppState.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/help/HelpKey.h"
#include "gui/report/frmResults.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ormavex::gui {

namespace {

constexpr const char* kSection = "MenuPrint";

} // namespace

frmMenuPrint::frmMenuPrint(AppState& state, const AppPaths& paths, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_state(state), m_paths(paths), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmMenuPrint"));
    setWindowTitle(QStringLiteral("結果の印刷"));
    setModal(true);

    auto* frame1 = Named<QGroupBox>("Frame1", QStringLiteral("印刷項目指定"), this);
    auto* itemLayout = new QVBoxLayout(frame1);
    const char* itemCaptions[ItemCount] = {"計算結果の印刷"};
    for (int k = 0; k < ItemCount; ++k) {
        auto* item =
            Named<QCheckBox>(QStringLiteral("chkPrintItem%1").arg(k), Q(itemCaptions[k]), frame1);
        itemLayout->addWidget(item);
        m_items.push_back(item);
    }
    itemLayout->addStretch();

    auto* checks = new QVBoxLayout;
    const char* checkCaptions[] = {"全項目選択", "全項目選択解除", "全項目選択反転"};
    for (int i = 0; i < 3; ++i) {
        auto* b =
            Named<QPushButton>(QStringLiteral("cmdCheck%1").arg(i), Q(checkCaptions[i]), this);
        b->setMinimumWidth(140);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdCheck_Click(i); });
        checks->addWidget(b);
    }
    checks->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(frame1, 1);
    top->addLayout(checks);

    m_cmdPreview = Named<QPushButton>("cmdPreview", QStringLiteral("印刷(&P)"), this);
    m_cmdPreview->setDefault(true);
    auto* help = Named<QPushButton>("cmdHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);
    m_cmdResults = Named<QPushButton>("cmdResults", QStringLiteral("計算結果一覧(&R)"), this);
    connect(m_cmdResults, &QPushButton::clicked, this, &frmMenuPrint::cmdResults_Click);
    auto* close = Named<QPushButton>("cmdClose", QStringLiteral("閉じる(&C)"), this);
    connect(m_cmdPreview, &QPushButton::clicked, this, &frmMenuPrint::cmdPreview_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Help opens this window's page of the manual, when the manual is there.
    help->setEnabled(!HelpFile(QStringLiteral("print-menu.html")).empty());
    ConnectHelpButton(help, this);
    for (QPushButton* b : {m_cmdPreview, m_cmdResults, help, close}) {
        b->setMinimumWidth(100);
    }
    frame1->setMinimumHeight(120);
    QHBoxLayout* buttons = Row({m_cmdResults, nullptr, m_cmdPreview, close, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    layout->setSpacing(12);
    setMinimumWidth(460);
    adjustSize();
}

frmMenuPrint::~frmMenuPrint() { unload(); }

void frmMenuPrint::load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    RestoreWindowPosition(*this, m_paths.settingsFile, kSection, false);
    for (int k = 0; k < ItemCount; ++k) {
        const int stored =
            CPrivateProfile::GetValueLong(m_paths.settingsFile, kSection, std::to_string(k));
        m_items[static_cast<std::size_t>(k)]->setChecked(stored == 1);
    }
    ReportRunOutcome outcome;
    if (!RunReport(m_state.report, m_state.drawing, m_state.cases, m_state.calc, m_state.dataFolder,
                   m_paths.settingsFile, outcome)) {
        // Without print files there is nothing to print.
        m_cmdPreview->setEnabled(false);
        m_prompter.show(this, {"Ormavex",
                               "印刷ﾌｧｲﾙを作成することができませんでした。\n\n" + outcome.failure,
                               Message::Icon::Critical});
        return;
    }
    if (!outcome.failedCases.empty()) {
        m_prompter.show(this, PrintFileErrorMessage(outcome));
    }
}

void frmMenuPrint::cmdCheck_Click(int index) {
    for (QCheckBox* item : m_items) {
        switch (index) {
        case 0:
            if (item->isEnabled()) {
                item->setChecked(true);
            }
            break;
        case 1: item->setChecked(false); break;
        case 2:
            if (item->isChecked()) {
                item->setChecked(false);
            } else if (item->isEnabled()) {
                item->setChecked(true);
            }
            break;
        default: break;
        }
    }
}

void frmMenuPrint::cmdPreview_Click() {
    std::vector<int> states;
    for (QCheckBox* item : m_items) {
        states.push_back(item->isChecked() ? 1 : 0);
    }
    Error error;
    if (!CollectSelectedItems(m_state.report, states, &error)) {
        if (error.code() != 0) {
            // The combined print file could not be written whole: nothing to preview.
            // The file and the reason in words; the system's own text when
            // the code has none.
            const std::string reason = FileErrorReasonText(error.code());
            m_prompter.show(this, {"Ormavex",
                                   "印刷ﾌｧｲﾙを作成することができませんでした。\n\n" + error.path() +
                                       "\n" + (reason.empty() ? error.message() : reason),
                                   Message::Icon::Critical});
            return;
        }
        m_prompter.beep();
        Message m = NoPrintItemMessage();
        m.title = windowTitle().toStdString();
        m_prompter.show(this, m);
        return;
    }
    const auto& lists = m_state.report.lists;
    const std::string& combined = lists.text[static_cast<std::size_t>(lists.textCount - 1)];
    m_lastCommand =
        PreviewCommandLine(m_paths.programFolder, m_paths.userDataFolder, combined,
                           parentWidget() ? parentWidget()->windowFilePath().toStdString() : "");
    StartPreview(m_lastCommand);
}

void frmMenuPrint::cmdResults_Click() {
    frmResults results(m_state.cases, m_state.calc, m_state.dataFolder, m_paths.settingsFile,
                       parentWidget() ? parentWidget()->windowFilePath().toStdString() : "",
                       m_prompter, this);
    results.exec();
}

void frmMenuPrint::unload() {
    if (!m_loaded || m_unloaded) {
        return;
    }
    m_unloaded = true;
    for (int k = 0; k < ItemCount; ++k) {
        CPrivateProfile::SetValueString(m_paths.settingsFile, kSection, std::to_string(k),
                                        m_items[static_cast<std::size_t>(k)]->isChecked() ? "1"
                                                                                          : "0");
    }
    SaveWindowPosition(*this, m_paths.settingsFile, kSection);
    DeletePrintFiles(m_state.report);
}

void frmMenuPrint::done(int result) {
    unload();
    QDialog::done(result);
}

} // namespace ormavex::gui
