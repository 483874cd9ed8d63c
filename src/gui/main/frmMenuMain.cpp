#include "gui/main/frmMenuMain.h"

#include "core/app/CPrivateProfile.h"
#include "core/cases/SideRatioCheck.h"
#include "core/project/ProjectLoad.h"
#include "core/project/basIO.h"
#include "core/report/ChapterSettings.h"
#include "gui/cases/CaseHandOver.h"
#include "gui/cases/frmInpJyokenSS.h"
#include "gui/common/AppState.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"
#include "gui/common/WindowPlacement.h"
#include "gui/dialogs/CFileDialog.h"
#include "gui/help/HelpKey.h"
#include "gui/main/frmAbout.h"
#include "gui/report/RangeSpinBox.h"
#include "gui/report/frmInpRenban.h"
#include "gui/report/frmMenuPrint.h"
#include "gui/report/frmResults.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace ormavex::gui {

namespace {

constexpr const char* kProductTitle = "Ormavex";
constexpr const char* kFilter = "入力ﾃﾞｰﾀ(*.kvt)|*.kvt";

// The folder of a path: everything before its last slash.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsProjectFile(const QString& path) {
    return path.endsWith(QStringLiteral(".kvt"), Qt::CaseInsensitive);
}

} // namespace

frmMenuMain::frmMenuMain(AppState& state, AppPaths paths, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_paths(std::move(paths)), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmMenuMain"));
    setAcceptDrops(true);
    buildMenus();
    buildCentre();
    m_status = Named<QLabel>("lblStatus", this);
    m_status->setContentsMargins(6, 0, 6, 0);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);
    adjustSize();
    setFixedSize(sizeHint());

    // Start-up, in its order: caption, paths (fixed by the caller), no file,
    // position, recent files, empty cases, no edits.
    setCaption(std::string());
    m_currentFile.clear();
    RestoreWindowPosition(*this, m_paths.settingsFile, "MenuMain", true);
    rebuildRecentMenu();
    InitData(m_state.cases);
    setEditedFlag(false);
}

frmMenuMain::~frmMenuMain() = default;

void frmMenuMain::buildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    // A menu item named `name` that runs `handler`.
    auto item = [this](auto* menu, const char* name, const char* text, auto handler) {
        QAction* a = menu->addAction(Q(text));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto add = [&](const char* name, const char* text, QStyle::StandardPixmap icon, auto handler) {
        QAction* a = item(mnuFile, name, text, handler);
        a->setIcon(style()->standardIcon(icon));
        return a;
    };
    QAction* fileNew =
        add("mnuFileNew", "新規作成(&N)", QStyle::SP_FileIcon, [this] { mnuFileNew_Click(); });
    QAction* fileOpen = add("mnuFileOpen", "ﾌｧｲﾙを開く(&O)...", QStyle::SP_DialogOpenButton,
                            [this] { mnuFileOpen_Click(); });
    QAction* fileSaveAs = add("mnuFileSaveAs", "ﾌｧｲﾙに名前を付けて保存(&A)...",
                              QStyle::SP_DriveFDIcon, [this] { mnuFileSaveAs_Click(); });
    QAction* fileSave = add("mnuFileSave", "ﾌｧｲﾙの上書き保存(&S)...", QStyle::SP_DialogSaveButton,
                            [this] { mnuFileSave_Click(); });
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar2"));
    for (int i = 0; i < RecentCount; ++i) {
        QAction* a = mnuFile->addAction(QStringLiteral("&%1").arg(i + 1)); // until a file is listed
        a->setObjectName(QStringLiteral("mnuFileName%1").arg(i));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, i] { mnuFileName_Click(i); });
        m_mnuFileName[static_cast<std::size_t>(i)] = a;
    }
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar3"));
    item(mnuFile, "mnuFileExit", "ﾌﾟﾛｸﾞﾗﾑ終了(&X)", &QWidget::close);

    // Help: the manual's contents and the About box (F1 opens a window's own page).
    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    item(mnuHelp, "mnuHelpContents", "目次(&C)", [] { ShowHelp(QStringLiteral("index.html")); });
    item(mnuHelp, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", [this] { mnuAbout_Click(); });
    item(menuBar(), "mnuAbout", "&?", [this] { mnuAbout_Click(); });

    // The toolbar: the four File commands under their keys and tool tips.
    QToolBar* tbrMenu = addToolBar(QStringLiteral("tbrMenu"));
    tbrMenu->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu->setMovable(false);
    tbrMenu->setFloatable(false);
    tbrMenu->setContextMenuPolicy(Qt::PreventContextMenu);
    const struct {
        const char* key;
        QAction* menu;
        const char* tip;
    } buttons[] = {{"New", fileNew, "新規作成"},
                   {"Open", fileOpen, "ﾌｧｲﾙを開く..."},
                   {"SaveAs", fileSaveAs, "ﾌｧｲﾙに名前を付けて保存..."},
                   {"Save", fileSave, "ﾌｧｲﾙの上書き保存"}};
    for (const auto& b : buttons) {
        QAction* a = tbrMenu->addAction(b.menu->icon(), QString());
        a->setObjectName(QStringLiteral("tbr") + QString::fromLatin1(b.key));
        a->setToolTip(Q(b.tip));
        a->setData(QString::fromLatin1(b.key));
        connect(a, &QAction::triggered, b.menu, &QAction::trigger);
    }
}

void frmMenuMain::buildCentre() {
    auto* centre = new QWidget(this);
    auto* frame1 = Named<QGroupBox>("Frame1", QStringLiteral("ﾒｲﾝﾒﾆｭｰ"), centre);
    auto* frameLayout = new QVBoxLayout(frame1);
    frameLayout->setSpacing(10);
    frameLayout->setContentsMargins(16, 16, 16, 16);
    const char* captions[] = {"計算条件の入力", "計算実行および結果印刷", "連番条件設定",
                              "計算結果一覧"};
    for (int i = 0; i < 4; ++i) {
        auto* b = Named<QPushButton>(QStringLiteral("cmdMenu%1").arg(i), Q(captions[i]), frame1);
        b->setMinimumSize(300, 44);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
        frameLayout->addWidget(b);
        if (i == 3) {
            // Enabled by a calculation, until the cases change.
            b->setEnabled(false);
            b->setToolTip(QStringLiteral("計算実行後に，各検討ｹｰｽの曲げﾓｰﾒﾝﾄを一覧表示します"));
            m_cmdResults = b;
        }
    }
    auto* cmdExit = Named<QPushButton>(
        "cmdExit", style()->standardIcon(QStyle::SP_DialogCloseButton), Q("  ﾌﾟﾛｸﾞﾗﾑ終了"), centre);
    cmdExit->setMinimumHeight(34);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->addWidget(frame1);
    layout->addSpacing(6);
    layout->addWidget(cmdExit);
    setCentralWidget(centre);
}

void frmMenuMain::setCaption(const std::string& fileTitle) {
    m_caption = fileTitle.empty() ? std::string(kProductTitle)
                                  : std::string(kProductTitle) + " - " + fileTitle;
    setWindowTitle(Q(m_caption) + QStringLiteral("[*]"));
    // The print menu hands this path to the preview, which names its window
    // and the suggested PDF after the project.
    setWindowFilePath(Q(m_currentFile));
    updateStatus();
}

void frmMenuMain::updateStatus() {
    // The current file and its case count, so that the window says what is
    // open; a long path is shortened in its middle and shown whole as a tip.
    if (m_currentFile.empty()) {
        m_status->clear();
        m_status->setToolTip(QString());
        return;
    }
    const QString path = QDir::toNativeSeparators(Q(m_currentFile));
    const QString count = QStringLiteral("　検討ｹｰｽ数：%1").arg(m_state.cases.CaseCount);
    const int room = std::max(80, width() - 24 - m_status->fontMetrics().horizontalAdvance(count));
    m_status->setText(m_status->fontMetrics().elidedText(path, Qt::ElideMiddle, room) + count);
    m_status->setToolTip(path);
}

void frmMenuMain::setEditedFlag(bool edited) {
    m_editedFlag = edited;
    setWindowModified(edited);
}

void frmMenuMain::rebuildRecentMenu() {
    for (int i = 0; i < RecentCount; ++i) {
        const std::string path = CPrivateProfile::GetValueStringWhole(
            m_paths.settingsFile, "FileName", "FileName" + std::to_string(i + 1));
        QAction* a = m_mnuFileName[static_cast<std::size_t>(i)];
        if (path.empty()) {
            a->setText(QStringLiteral("&%1").arg(i + 1));
            a->setEnabled(false);
        } else {
            // "&1 /path": the digit is the access key; a "&" in the path is shown as such.
            a->setText(QStringLiteral("&%1 ").arg(i + 1) +
                       Q(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
            a->setEnabled(true);
        }
    }
}

void frmMenuMain::AddRecentFile(const std::string& path) {
    std::array<std::string, RecentCount> list;
    for (int i = 0; i < RecentCount; ++i) {
        list[static_cast<std::size_t>(i)] = CPrivateProfile::GetValueStringWhole(
            m_paths.settingsFile, "FileName", "FileName" + std::to_string(i + 1));
        if (list[static_cast<std::size_t>(i)] == path) {
            return; // a listed path keeps its place
        }
    }
    CPrivateProfile::SetValueString(m_paths.settingsFile, "FileName", "FileName1", path);
    for (int i = 1; i < RecentCount; ++i) {
        CPrivateProfile::SetValueString(m_paths.settingsFile, "FileName",
                                        "FileName" + std::to_string(i + 1),
                                        list[static_cast<std::size_t>(i - 1)]);
    }
    rebuildRecentMenu();
}

void frmMenuMain::writeInitDir(const std::string& folder) {
    CPrivateProfile::SetValueString(m_paths.settingsFile, "FileName", "InitDir", folder);
}

CFileDialog frmMenuMain::projectFileDialog(const char* title, std::int32_t flags) {
    const std::string initDir =
        CPrivateProfile::GetValueStringWhole(m_paths.settingsFile, "FileName", "InitDir");
    CFileDialog dialog;
    dialog.DialogTitle = title;
    dialog.DefaultExt = ".kvt";
    dialog.Filter = kFilter;
    dialog.Flags = flags | CFileDialog::OFN_HIDEREADONLY | CFileDialog::OFN_PATHMUSTEXIST |
                   CFileDialog::OFN_FILEMUSTEXIST;
    dialog.InitialDir = initDir.empty() ? m_paths.programFolder : initDir;
    dialog.hWndParent = this;
    return dialog;
}

bool frmMenuMain::saveBeforeReplacing(const std::string& title) {
    if (!m_editedFlag) {
        return true;
    }
    if (!offerToSave(title, "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存しますか？")) {
        return false;
    }
    // Saved, or knowingly given up: the input about to be replaced is no
    // longer unsaved work.
    setEditedFlag(false);
    return true;
}

bool frmMenuMain::offerToSave(const std::string& title, const std::string& question) {
    const Prompter::Answer answer =
        m_prompter.message(this, title, question + "\n\n編集中のﾌｧｲﾙ名：" + m_currentFile,
                           Message::Icon::Information, Prompter::Buttons::YesNoCancel);
    return answer != Prompter::Answer::Cancel &&
           (answer != Prompter::Answer::Yes || mnuFileSave_Click());
}

bool frmMenuMain::loadFile(const std::string& path, bool addRecent) {
    dropResults();
    const LoadResult result = LoadProject(m_state.cases, path);
    if (result.ok) {
        m_currentFile = path;
        setCaption(NameOf(path));
        if (addRecent) {
            AddRecentFile(path);
        }
        return true;
    }
    m_currentFile.clear();
    setCaption(std::string());
    for (const Message& m : result.messages) {
        m_prompter.show(this, m);
    }
    return false;
}

void frmMenuMain::mnuFileNew_Click() {
    if (m_editedFlag) {
        if (!saveBeforeReplacing("新規作成")) {
            return;
        }
    } else if (m_prompter.message(this, "新規作成",
                                  "現在編集中の入力ﾃﾞｰﾀを全て破棄し，入力ﾃﾞｰﾀを初期化します。",
                                  Message::Icon::Information,
                                  Prompter::Buttons::OkCancel) != Prompter::Answer::Ok) {
        return;
    }
    InitData(m_state.cases);
    dropResults();
    m_currentFile.clear();
    setCaption(std::string());
}

void frmMenuMain::mnuFileOpen_Click() {
    if (!saveBeforeReplacing("ﾌｧｲﾙを開く")) {
        return;
    }
    CFileDialog dialog = projectFileDialog("ﾌｧｲﾙを開く...", 0);
    if (!m_prompter.fileDialog(dialog, true)) {
        return;
    }
    loadFile(dialog.FileName, true);
    writeInitDir(FolderOf(dialog.FileName));
}

bool frmMenuMain::openProject(const std::string& path) {
    if (!saveBeforeReplacing("ﾌｧｲﾙを開く")) {
        return false;
    }
    const std::string full = QFileInfo(Q(path)).absoluteFilePath().toStdString();
    const bool ok = loadFile(full, true);
    if (ok) {
        writeInitDir(FolderOf(full));
    }
    return ok;
}

void frmMenuMain::mnuFileName_Click(int index) {
    const std::string path = CPrivateProfile::GetValueStringWhole(
        m_paths.settingsFile, "FileName", "FileName" + std::to_string(index + 1));
    if (path.empty() || !saveBeforeReplacing("ﾌｧｲﾙを開く")) {
        return;
    }
    if (loadFile(path, false)) {
        writeInitDir(FolderOf(path));
    }
}

bool frmMenuMain::mnuFileSaveAs_Click() {
    CFileDialog dialog =
        projectFileDialog("ﾌｧｲﾙに名前を付けて保存...", CFileDialog::OFN_OVERWRITEPROMPT);
    dialog.FileName = m_currentFile;
    if (!m_prompter.fileDialog(dialog, false)) {
        return false;
    }
    writeInitDir(FolderOf(dialog.FileName));
    Error error;
    if (!WriteInputFile(m_state.cases, dialog.FileName, error)) {
        m_prompter.show(this, WriteErrorMessage(error.code(), error.path()));
        return false;
    }
    m_currentFile = dialog.FileName;
    setCaption(dialog.FileTitle);
    AddRecentFile(m_currentFile);
    setEditedFlag(false);
    return true;
}

bool frmMenuMain::mnuFileSave_Click() {
    if (m_currentFile.empty()) {
        return mnuFileSaveAs_Click();
    }
    Error error;
    if (!WriteInputFile(m_state.cases, m_currentFile, error)) {
        m_prompter.show(this, WriteErrorMessage(error.code(), error.path()));
        return false;
    }
    AddRecentFile(m_currentFile);
    return true;
}

void frmMenuMain::mnuAbout_Click() {
    frmAbout about(m_paths, m_prompter, this);
    about.exec();
}

void frmMenuMain::cmdMenu_Click(int index) {
    switch (index) {
    case 0: openCaseEditor(); break;
    case 1: calculateAndPrint(); break;
    case 2: openNumberingSettings(); break;
    case 3: openResults(); break;
    default: break;
    }
}

void frmMenuMain::openCaseEditor() {
    // The editor works on its own sheet; the case table changes only when OK
    // hands the sheet back, so Cancel leaves the cases and the edited flag alone.
    frmInpJyokenSS editor(m_paths.settingsFile, m_state.dataFolder, m_prompter, this);
    editor.UsrCaption.clear();
    editor.UsrHelpFile = HelpFile(QStringLiteral("case-editor.html"));
    editor.UsrHelpContextID = 0;
    editor.UsrRecMax = MaxCases;
    connect(&editor, &frmInpJyokenSS::LoadData, this,
            [this, &editor] { LoadSheetFromCases(editor, m_state.cases); });
    connect(&editor, &frmInpJyokenSS::SaveData, this, [this, &editor](bool& Cancel) {
        SaveSheetToCases(editor, m_state.cases);
        dropResults();
        setEditedFlag(true);
        Cancel = false;
    });
    editor.exec();
    updateStatus();
}

namespace {

// More lines than this do not fit a message box on a 768-pixel screen.
constexpr std::size_t kListedCases = 20;

std::string MoreCases(std::size_t count) {
    return count > kListedCases ? "\n…ほか " + std::to_string(count - kListedCases) + " ｹｰｽ"
                                : std::string();
}

} // namespace

bool frmMenuMain::confirmSideRatios() {
    const std::vector<MarkedCase> marked =
        MarkedCases(m_state.cases, SideRatioLists::Load(m_state.dataFolder));
    if (marked.empty()) {
        return true;
    }
    std::string list;
    for (std::size_t i = 0; i < marked.size() && i < kListedCases; ++i) {
        const SideRatioFinding& f = marked[i].finding;
        list += "№" + std::to_string(marked[i].caseNo) + "　λ = " + RatioText(f.lambda) +
                "　Lx/Ly = " + f.ratioText;
        list += f.mark == SideRatioMark::NotListed ? "　（計算数表にない λ）"
                : f.mark == SideRatioMark::NoSpans ? "　（Lx, Ly が0以下）"
                                                   : "　（差が 0.05 を超える）";
        list += "\n";
    }
    const std::string text =
        "次の検討ｹｰｽは，λ が計算数表にないか，実辺長比 Lx/Ly と計算数表の刻み 0.05 "
        "を超えて違います。\n\n" +
        list + MoreCases(marked.size()) +
        "\n計算条件の入力の「λを実辺長比に合わせる」で直せます。このまま計算を実行しますか？";
    return m_prompter.message(this, "計算実行および結果印刷", text, Message::Icon::Information,
                              Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

void frmMenuMain::calculateAndPrint() {
    if (!confirmSideRatios()) {
        return;
    }
    std::vector<CaseFailure> failures;
    if (!CalcMoments(m_state.cases, m_state.calc, m_state.coef, m_state.dataFolder, nullptr,
                     &failures)) {
        dropResults();
        m_prompter.beep();
        Message m = CalcErrorMessage();
        if (!failures.empty()) {
            const std::vector<CaseFailure> shown(
                failures.begin(), failures.begin() + static_cast<std::ptrdiff_t>(
                                                         std::min(failures.size(), kListedCases)));
            m.text += "\n\n" + CaseFailureLines(shown) + MoreCases(failures.size());
        }
        m_prompter.show(this, m);
        return;
    }
    m_hasResults = true;
    m_cmdResults->setEnabled(true);
    frmMenuPrint print(m_state, m_paths, m_prompter, this);
    print.load();
    print.exec();
}

void frmMenuMain::openResults() {
    if (!m_hasResults) {
        return;
    }
    frmResults results(m_state.cases, m_state.calc, m_state.dataFolder, m_paths.settingsFile,
                       m_currentFile, m_prompter, this);
    results.exec();
}

void frmMenuMain::dropResults() {
    m_hasResults = false;
    m_cmdResults->setEnabled(false);
}

void frmMenuMain::openNumberingSettings() {
    frmInpRenban dialog(m_paths.settingsFile, m_prompter, this);
    dialog.UsrCaption.clear();
    dialog.UsrHelpFile = HelpFile(QStringLiteral("numbering.html"));
    dialog.UsrHelpContextID = 0;
    connect(&dialog, &frmInpRenban::LoadData, this, [this, &dialog] { loadNumbering(dialog); });
    connect(&dialog, &frmInpRenban::SaveData, this,
            [this, &dialog](bool* cancel) { saveNumbering(dialog, cancel); });
    dialog.load();
    dialog.exec();
}

void frmMenuMain::loadNumbering(frmInpRenban& dialog) {
    dialog.showSettings(ReadChapterSettings(m_paths.settingsFile));
}

void frmMenuMain::saveNumbering(frmInpRenban& dialog, bool* cancel) {
    WriteChapterSettings(m_paths.settingsFile, dialog.settings());
    *cancel = false;
}

bool frmMenuMain::queryClose() {
    // A failed save, or a cancelled Save As, keeps the program open so that
    // the edits are not lost.
    if (m_editedFlag &&
        !offerToSave("ｱﾌﾟﾘｹｰｼｮﾝ終了",
                     "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？")) {
        return false;
    }
    SaveWindowPosition(*this, m_paths.settingsFile, "MenuMain");
    return true;
}

void frmMenuMain::closeEvent(QCloseEvent* event) {
    if (queryClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMenuMain::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile() &&
        IsProjectFile(data->urls().first().toLocalFile())) {
        event->acceptProposedAction();
    }
}

void frmMenuMain::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    openProject(data->urls().first().toLocalFile().toStdString());
}

} // namespace ormavex::gui
