// The main window driven as a user drives it, with the message boxes and
// file dialogs answered by a FakePrompter and the settings in a temporary
// program folder.

#include "gui/main/frmMenuMain.h"
#include "../FakePrompter.h"
#include "../FindChild.h"
#include "../ModalDriver.h"
#include "core/app/CPrivateProfile.h"
#include "core/project/basIO.h"
#include "gui/common/AppState.h"
#include "gui/report/RangeSpinBox.h"
#include "gui/report/frmInpRenban.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace ormavex::test {
namespace {

using Answer = gui::Prompter::Answer;
using Buttons = gui::Prompter::Buttons;

const std::string kSample = std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt";
constexpr const char* kReadError =
    "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： 0）";

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        paths.programFolder = dir.path();
        paths.settingsFile = dir.file("Kivet.ini");
        paths.formatFile = dir.file("Kivet.fmt");
        paths.userDataFolder = dir.file("user");
        state.dataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";
        state.report.lists.folder = dir.path(); // print files stay in the test's folder
        std::filesystem::copy_file(kSample, project());
    }

    gui::frmMenuMain& start() {
        window = std::make_unique<gui::frmMenuMain>(state, paths, prompter);
        return *window;
    }
    std::string project() const { return dir.file("caisson-A.kvt"); }
    std::string ini(const std::string& section, const std::string& key) const {
        return CPrivateProfile::GetValueStringWhole(paths.settingsFile, section, key);
    }
    void setIni(const std::string& section, const std::string& key, const std::string& value) {
        CPrivateProfile::SetValueString(paths.settingsFile, section, key, value);
    }
    QString recentText(int i) const { return window->recentAction(i)->text(); }
    // The window's commands as a user gives them: a File menu item, a main button.
    void menu(const char* name) const { Child<QAction>(*window, name)->trigger(); }
    void press(int button) const {
        Child<QPushButton>(*window, ("cmdMenu" + std::to_string(button)).c_str())->click();
    }

    TempDir dir;
    gui::AppPaths paths;
    AppState state;
    FakePrompter prompter;
    std::unique_ptr<gui::frmMenuMain> window;
};

TEST_F(MainWindowTest, FirstStartIsCentredWithAnEmptyRecentList) {
    gui::frmMenuMain& w = start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(w.pos().x(), (screen.width() - w.frameGeometry().width()) / 2, 1);
    EXPECT_NEAR(w.pos().y(), (screen.height() - w.frameGeometry().height()) / 2, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(w.recentAction(i)->isEnabled());
        EXPECT_EQ(recentText(i), QStringLiteral("&%1").arg(i + 1));
    }
    EXPECT_EQ(w.Caption(), "Ormavex");
    EXPECT_FALSE(w.EditedFlag());
    EXPECT_FALSE(std::filesystem::exists(paths.settingsFile));

    // The open dialog starts in the program folder; cancelling it opens nothing.
    menu("mnuFileOpen");
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    const gui::CFileDialog& d = prompter.dialogs[0].dialog;
    EXPECT_TRUE(prompter.dialogs[0].fOpen);
    EXPECT_EQ(d.InitialDir, paths.programFolder);
    EXPECT_EQ(d.DialogTitle, "ﾌｧｲﾙを開く...");
    EXPECT_EQ(d.Filter, "入力ﾃﾞｰﾀ(*.kvt)|*.kvt");
    EXPECT_EQ(d.Flags, 6148);
    EXPECT_EQ(w.CurrentFile(), "");

    // A stored Top at the screen's height re-centres; a stored Left is kept (1440 twips = 1 inch).
    const double dpiX = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    const double dpiY = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    setIni("MenuMain", "Top", std::to_string(static_cast<int>(screen.height() * 1440 / dpiY) + 1));
    setIni("MenuMain", "Left", "1440");
    gui::frmMenuMain& again = start();
    EXPECT_NEAR(again.pos().x(), dpiX, 1);
    EXPECT_NEAR(again.pos().y(), (screen.height() - again.frameGeometry().height()) / 2, 1);
}

TEST_F(MainWindowTest, OpenLoadsOrShowsTheReadErrors) {
    gui::frmMenuMain& w = start();
    prompter.files = {project()};
    menu("mnuFileOpen");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(w.Caption(), "Ormavex - caisson-A.kvt");
    EXPECT_EQ(w.CurrentFile(), project());
    EXPECT_EQ(w.windowFilePath().toStdString(), project()); // handed to the preview
    EXPECT_EQ(state.cases.CaseCount, 6);
    EXPECT_EQ(ini("FileName", "FileName1"), project());
    EXPECT_EQ(ini("FileName", "InitDir"), dir.path());
    EXPECT_EQ(recentText(0), QString::fromStdString("&1 " + project()));
    EXPECT_TRUE(w.recentAction(0)->isEnabled());

    // A name not ending in kvt: only the read error, code 0; the cases stay.
    WriteBytes(dir.file("plan.txt"), "x");
    prompter.files = {dir.file("plan.txt")};
    menu("mnuFileOpen");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ");
    EXPECT_EQ(prompter.shown[0].text.rfind(kReadError, 0), 0u);
    EXPECT_EQ(prompter.shown[0].icon, Message::Icon::Critical);
    EXPECT_EQ(w.Caption(), "Ormavex");
    EXPECT_EQ(w.CurrentFile(), "");
    EXPECT_EQ(w.windowFilePath(), QString());
    EXPECT_EQ(state.cases.CaseCount, 6);

    // An unsupported version: the version message, then the read error.
    WriteSjisLines(dir.file("old.kvt"),
                   {"VELMORRA", "PRODUCT", "INPUT FILE VERSION             [1.00]"});
    prompter.clear();
    prompter.files = {dir.file("old.kvt")};
    menu("mnuFileOpen");
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].title, "ﾌｧｲﾙを開く");
    EXPECT_EQ(prompter.shown[0].text, "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.1.00）には現在対応しておりません。");
    EXPECT_EQ(prompter.shown[1].text.rfind(kReadError, 0), 0u);
    // A failed open keeps the recent list as it was.
    EXPECT_EQ(ini("FileName", "FileName1"), project());
    EXPECT_EQ(ini("FileName", "FileName2"), "");
}

TEST_F(MainWindowTest, RecentFilesAreReadWholeAndAMissingOneStaysListed) {
    // A path longer than 127 bytes opens from the list.
    const std::string deep = dir.file(std::string(150, 'd'));
    std::filesystem::create_directories(deep);
    const std::string longPath = deep + "/caisson-A.kvt";
    std::filesystem::copy_file(kSample, longPath);
    setIni("FileName", "FileName1", longPath);
    setIni("FileName", "FileName2", dir.file("gone.kvt"));
    gui::frmMenuMain& w = start();
    EXPECT_EQ(recentText(0), QString::fromStdString("&1 " + longPath));
    EXPECT_TRUE(w.recentAction(1)->isEnabled());
    EXPECT_FALSE(w.recentAction(2)->isEnabled());

    menu("mnuFileName0");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(w.CurrentFile(), longPath);
    EXPECT_EQ(ini("FileName", "InitDir"), deep);

    // The file of entry 2 is gone: "Ver.error", then the read error; the list stays usable.
    menu("mnuFileName1");
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text,
              "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.error）には現在対応しておりません。");
    EXPECT_EQ(
        prompter.shown[1].text.rfind("指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。\n", 0),
        0u);
    EXPECT_NE(prompter.shown[1].text.find("ﾌｧｲﾙが見つかりません（ｴﾗｰｺｰﾄﾞ ： 0）"),
              std::string::npos);
    EXPECT_EQ(w.CurrentFile(), "");
    EXPECT_EQ(w.Caption(), "Ormavex");
    EXPECT_TRUE(w.recentAction(1)->isEnabled());
    EXPECT_EQ(ini("FileName", "FileName2"), dir.file("gone.kvt"));
    // Opening from the list does not reorder it.
    menu("mnuFileName0");
    EXPECT_EQ(ini("FileName", "FileName1"), longPath);
    EXPECT_EQ(ini("FileName", "InitDir"), deep);
}

TEST_F(MainWindowTest, DroppedProjectOpens) {
    gui::frmMenuMain& w = start();
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("notes.txt")))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(project()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    EXPECT_EQ(w.CurrentFile(), project());
    EXPECT_EQ(state.cases.CaseCount, 6);
    EXPECT_EQ(ini("FileName", "FileName1"), project());
}

TEST_F(MainWindowTest, RecentListKeepsFourPathsComparedCaseSensitively) {
    gui::frmMenuMain& w = start();
    for (const char* name : {"/p/a.kvt", "/p/b.kvt", "/p/c.kvt", "/p/d.kvt", "/p/e.kvt"}) {
        w.AddRecentFile(name);
    }
    // A fifth path drops the oldest.
    EXPECT_EQ(ini("FileName", "FileName1"), "/p/e.kvt");
    EXPECT_EQ(ini("FileName", "FileName4"), "/p/b.kvt");
    EXPECT_EQ(recentText(3), QStringLiteral("&4 /p/b.kvt"));
    // A listed path, even in third place, leaves the list as it was.
    w.AddRecentFile("/p/c.kvt");
    EXPECT_EQ(ini("FileName", "FileName1"), "/p/e.kvt");
    EXPECT_EQ(ini("FileName", "FileName3"), "/p/c.kvt");
    // Letter case counts: another entry.
    w.AddRecentFile("/p/E.kvt");
    EXPECT_EQ(ini("FileName", "FileName1"), "/p/E.kvt");
    EXPECT_EQ(ini("FileName", "FileName2"), "/p/e.kvt");
    EXPECT_EQ(ini("FileName", "FileName4"), "/p/c.kvt");
}

TEST_F(MainWindowTest, SaveAndSaveAs) {
    gui::frmMenuMain& w = start();
    state.cases.CaseCount = 1;
    state.cases.cell(1, CaseCol::Title) = "壁";
    w.setEditedFlag(true);

    // Untitled Save runs Save As; a cancelled dialog writes nothing.
    menu("mnuFileSave");
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_FALSE(prompter.dialogs[0].fOpen);
    EXPECT_EQ(prompter.dialogs[0].dialog.Flags, 6150);
    EXPECT_EQ(prompter.dialogs[0].dialog.DialogTitle, "ﾌｧｲﾙに名前を付けて保存...");
    EXPECT_EQ(w.CurrentFile(), "");
    EXPECT_TRUE(w.EditedFlag());

    // A folder that does not exist: the write error; nothing changes.
    prompter.files = {dir.file("missing/plan.kvt")};
    menu("mnuFileSaveAs");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_EQ(w.Caption(), "Ormavex");
    EXPECT_TRUE(w.EditedFlag());

    prompter.files = {dir.file("plan.kvt")};
    menu("mnuFileSaveAs");
    EXPECT_EQ(w.Caption(), "Ormavex - plan.kvt");
    EXPECT_EQ(w.CurrentFile(), dir.file("plan.kvt"));
    EXPECT_FALSE(w.EditedFlag());
    EXPECT_EQ(ini("FileName", "FileName1"), dir.file("plan.kvt"));
    EXPECT_EQ(ReadBytes(dir.file("plan.kvt")), InputFileBytes(state.cases));

    // Save overwrites without a dialog and leaves the edited flag; Save As proposes the current
    // file.
    w.setEditedFlag(true);
    prompter.clear();
    menu("mnuFileSave");
    EXPECT_TRUE(prompter.dialogs.empty());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(w.EditedFlag());
    menu("mnuFileSaveAs");
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].dialog.FileName, dir.file("plan.kvt"));
}

TEST_F(MainWindowTest, ClosingAsksWhenEditedAndNeverLosesEdits) {
    gui::frmMenuMain& w = start();
    w.show();
    // Edited, untitled: Cancel stays; Yes with a cancelled Save As stays too.
    w.setEditedFlag(true);
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "ｱﾌﾟﾘｹｰｼｮﾝ終了");
    EXPECT_EQ(
        prompter.shown[0].text,
        "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？\n\n編集中のﾌｧｲﾙ名：");
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(std::filesystem::exists(paths.settingsFile));

    // Yes and a save that fails: still open.
    prompter.files = {dir.file("plan.kvt")};
    menu("mnuFileSaveAs");
    ASSERT_EQ(w.CurrentFile(), dir.file("plan.kvt"));
    w.setEditedFlag(true);
    std::filesystem::remove(dir.file("plan.kvt"));
    std::filesystem::create_directory(
        dir.file("plan.kvt")); // a folder cannot be written as the file
    prompter.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(w.close());
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");

    // No closes and stores the position.
    prompter.answers = {Answer::No};
    EXPECT_TRUE(w.close());
    EXPECT_NE(ini("MenuMain", "Top"), "");

    // Yes with a save that works closes, and the file holds the cases.
    std::filesystem::remove(dir.file("plan.kvt"));
    gui::frmMenuMain& other = start();
    other.show();
    prompter.files = {dir.file("plan.kvt")};
    menu("mnuFileSaveAs");
    ASSERT_EQ(other.CurrentFile(), dir.file("plan.kvt"));
    other.setEditedFlag(true);
    std::filesystem::remove(dir.file("plan.kvt"));
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(other.close());
    EXPECT_TRUE(std::filesystem::exists(dir.file("plan.kvt")));

    // Not edited: no question.
    gui::frmMenuMain& plain = start();
    plain.show();
    prompter.clear();
    EXPECT_TRUE(plain.close());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainWindowTest, NewOpenAndRecentAskBeforeReplacingEditedInput) {
    gui::frmMenuMain& w = start();
    prompter.files = {project()};
    menu("mnuFileOpen");

    // Not edited: New asks OK/Cancel; Cancel keeps everything.
    prompter.clear();
    menu("mnuFileNew");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "新規作成");
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(state.cases.CaseCount, 6);

    // Edited: Open asks Yes/No/Cancel first; Cancel abandons before the dialog.
    w.setEditedFlag(true);
    prompter.clear();
    prompter.answers = {Answer::Cancel};
    menu("mnuFileOpen");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(prompter.dialogs.empty());
    // A recent file likewise.
    prompter.answers = {Answer::Cancel};
    menu("mnuFileName0");
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(w.CurrentFile(), project());

    // Yes saves first, then opens.
    std::filesystem::remove(project());
    prompter.clear();
    prompter.answers = {Answer::Yes};
    prompter.files = {project()};
    menu("mnuFileOpen");
    EXPECT_TRUE(std::filesystem::exists(project()));
    EXPECT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_FALSE(w.EditedFlag());

    // New with edits: No discards them and empties the table.
    w.setEditedFlag(true);
    prompter.clear();
    prompter.answers = {Answer::No};
    menu("mnuFileNew");
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(state.cases.CaseCount, 0);
    EXPECT_EQ(w.CurrentFile(), "");
    EXPECT_EQ(w.Caption(), "Ormavex");
}

TEST_F(MainWindowTest, CalculationErrorNamesEachCaseAndKeepsThePrintMenuClosed) {
    gui::frmMenuMain& w = start();
    ASSERT_TRUE(w.openProject(project()));
    state.dataFolder = dir.file("no-tables");
    press(1);
    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "計算ｴﾗｰ");
    const std::string& text = prompter.shown[0].text;
    EXPECT_EQ(text.rfind("計算中にｴﾗｰが発生しました。処理の継続を中止します。\n\n", 0), 0u) << text;
    EXPECT_NE(text.find("\n№1 計算数表 FREE_84.DAT を読み込めません"), std::string::npos) << text;
    EXPECT_NE(text.find("\n№6 計算数表 FIX_44.DAT を読み込めません"), std::string::npos) << text;
    EXPECT_EQ(prompter.shown[0].icon, Message::Icon::Information);
    EXPECT_FALSE(w.findChild<QPushButton*>("cmdMenu3")->isEnabled()); // no results to show
}

TEST_F(MainWindowTest, MarkedSideRatiosAreListedBeforeCalculating) {
    gui::frmMenuMain& w = start();
    ASSERT_TRUE(w.openProject(project()));
    state.cases.cell(2, CaseCol::Lx) = Cell(4.8);      // Lx/Ly 4.8 / 4.6 = 1.04 against λ 0.85
    state.cases.cell(4, CaseCol::Lambda) = Cell(0.93); // not tabulated
    state.calc.CalcLx[1] = -1.0;                       // a calculation would overwrite it
    prompter.answers = {Answer::No};
    press(1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
    const std::string& text = prompter.shown[0].text;
    EXPECT_NE(text.find("№2　λ = 0.85　Lx/Ly = 1.04　（差が 0.05 を超える）"), std::string::npos)
        << text;
    EXPECT_NE(text.find("№4　λ = 0.93　Lx/Ly = "), std::string::npos) << text;
    EXPECT_EQ(text.find("№1　"), std::string::npos) << text;
    EXPECT_EQ(state.calc.CalcLx[1], -1.0); // No: nothing calculated
    EXPECT_EQ(prompter.beeps, 0);

    // Yes goes on to the calculation (which here fails without its tables).
    state.dataFolder = dir.file("no-tables");
    state.cases.cell(4, CaseCol::Lambda) = Cell(0.9);
    prompter.answers = {Answer::Yes};
    press(1);
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[2].title, "計算ｴﾗｰ");
}

TEST_F(MainWindowTest, ResultsWindowFollowsACalculationUntilTheCasesChange) {
    gui::frmMenuMain& w = start();
    ASSERT_TRUE(w.openProject(project()));
    QPushButton* results = w.findChild<QPushButton*>("cmdMenu3");
    EXPECT_FALSE(results->isEnabled());
    // Every window the commands open modally is closed again at once, whatever happens.
    QStringList opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened << modal->windowTitle();
            modal->reject();
        }
    });
    closer.start(20);
    press(1); // calculation, then the print menu
    EXPECT_TRUE(results->isEnabled());
    press(3);
    closer.stop();
    EXPECT_EQ(opened, QStringList({"結果の印刷", "計算結果一覧"}));
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_TRUE(w.openProject(project())); // other cases: the results are gone
    EXPECT_FALSE(results->isEnabled());
}

TEST_F(MainWindowTest, NumberingDialogLoadsAndSavesSectionChapter) {
    setIni("Chapter", "Method", "2");
    setIni("Chapter", "Init", "5");
    setIni("Chapter", "Style1", "3");
    setIni("Chapter", "Margin2", "4");
    start();
    bool seen = false;
    OnNextModal([&](QWidget* modal) {
        auto* d = qobject_cast<gui::frmInpRenban*>(modal);
        ASSERT_NE(d, nullptr);
        seen = true;
        EXPECT_EQ(d->settings().method, 2);
        EXPECT_EQ(Child<gui::RangeSpinBox>(*d, "numInit")->value(), 5);
        EXPECT_EQ(Child<QComboBox>(*d, "cboStyle0")->currentIndex(), 2);
        EXPECT_EQ(Child<QComboBox>(*d, "cboStyle1")->currentIndex(), -1);
        EXPECT_EQ(Child<gui::RangeSpinBox>(*d, "numMargin1")->value(), 4);
        Child<QRadioButton>(*d, "optMethod3")->click();
        Child<QComboBox>(*d, "cboStyle3")->setCurrentIndex(8);
        Child<gui::RangeSpinBox>(*d, "numMargin0")->setValue(10);
        d->cmdOk_Click();
    });
    press(2);
    ASSERT_TRUE(seen);
    EXPECT_EQ(ini("Chapter", "Method"), "3");
    EXPECT_EQ(ini("Chapter", "Init"), "5");
    EXPECT_EQ(ini("Chapter", "Style1"), "3");
    EXPECT_EQ(ini("Chapter", "Style2"), "0");
    EXPECT_EQ(ini("Chapter", "Style4"), "9");
    EXPECT_EQ(ini("Chapter", "Margin1"), "10");
    EXPECT_EQ(ini("Chapter", "Margin2"), "4");
    EXPECT_NE(ini("InpRenban", "Top"), "");

    // Cancel leaves section Chapter as it was.
    const std::string before = ReadBytes(paths.settingsFile);
    OnNextModal([&](QWidget* modal) {
        auto* d = qobject_cast<gui::frmInpRenban*>(modal);
        ASSERT_NE(d, nullptr);
        Child<QRadioButton>(*d, "optMethod0")->click();
        d->reject();
    });
    press(2);
    EXPECT_EQ(ini("Chapter", "Method"), "3");
    EXPECT_EQ(ReadBytes(paths.settingsFile), before); // the position is unchanged too
}

} // namespace
} // namespace ormavex::test

namespace ormavex::test {
namespace {

TEST(ApplicationSetUp, QtDialogsSpeakJapanese) {
    // Set up by the test main as by the application's.
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(QApplication::font().families().contains(QStringLiteral("IPAGothic")));
}

} // namespace
} // namespace ormavex::test
