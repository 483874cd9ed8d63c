// The print menu after a real report run of the sample project: the
// selection buttons, the no-item message, the preview program's command line
// (a fake preview program records its arguments) and the clean-up on close.

#include "report/frmMenuPrint.h"
#include "../FakePrompter.h"
#include "app/AppState.h"
#include "app/CPrivateProfile.h"
#include "project/ProjectLoad.h"
#include "support/TestSupport.h"

#include <QCheckBox>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace ormavex::test {
namespace {

namespace fs = std::filesystem;

class PrintMenuTest : public ::testing::Test {
protected:
    PrintMenuTest() {
        paths.programFolder = dir.path();
        paths.settingsFile = dir.file("Kivet.ini");
        paths.userDataFolder = dir.file("user data"); // a blank, quoted on the command line
        state.dataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";
        state.report.lists.folder = dir.path(); // print files stay in the test's folder
        EXPECT_TRUE(
            LoadProject(state.cases, std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt")
                .ok);
        EXPECT_TRUE(CalcMoments(state.cases, state.calc, state.coef, state.dataFolder));
    }

    TempDir dir;
    gui::AppPaths paths;
    AppState state;
    FakePrompter prompter;
};

TEST_F(PrintMenuTest, SelectionButtonsAndTheNoItemMessage) {
    gui::frmMenuPrint menu(state, paths, prompter);
    menu.load();
    EXPECT_TRUE(prompter.shown.empty());
    QCheckBox* item = menu.chkPrintItem(0);
    EXPECT_EQ(item->text(), QStringLiteral("計算結果の印刷"));
    EXPECT_FALSE(item->isChecked()); // nothing stored yet

    menu.cmdCheck_Click(0);
    EXPECT_TRUE(item->isChecked());
    menu.cmdCheck_Click(2);
    EXPECT_FALSE(item->isChecked());
    menu.cmdCheck_Click(2);
    EXPECT_TRUE(item->isChecked()); // inverted twice: as before
    menu.cmdCheck_Click(1);
    EXPECT_FALSE(item->isChecked());

    menu.cmdPreview_Click();
    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "結果の印刷");
    EXPECT_EQ(prompter.shown[0].text, "印刷項目はひとつ以上選択して下さい。");
    EXPECT_EQ(prompter.shown[0].icon, Message::Icon::Information);
    EXPECT_EQ(menu.lastPreviewCommand(), "");
}

TEST_F(PrintMenuTest, PrintStartsThePreviewOnTheCombinedFileAndClosingCleansUp) {
    const std::string argsFile = dir.file("args.txt");
    WriteBytes(dir.file("ormavex-preview"),
               "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + argsFile +
                   ".part'\n"
                   "mv '" +
                   argsFile + ".part' '" + argsFile + "'\n");
    fs::permissions(dir.file("ormavex-preview"), fs::perms::owner_all);
    CPrivateProfile::SetValueString(paths.settingsFile, "MenuPrint", "0", "1");

    std::vector<std::string> printFiles;
    {
        // The main window names the open project; the preview takes its title from it.
        QWidget mainWindow;
        mainWindow.setWindowFilePath(QStringLiteral("/data/caisson A.kvt"));
        gui::frmMenuPrint menu(state, paths, prompter, &mainWindow);
        menu.load();
        ASSERT_TRUE(menu.chkPrintItem(0)->isChecked());
        const auto& lists = state.report.lists;
        ASSERT_EQ(lists.textCount, 2);
        for (int k = 0; k < lists.textCount; ++k) {
            printFiles.push_back(lists.text[static_cast<std::size_t>(k)]);
        }
        for (int k = 0; k < lists.drawingCount; ++k) {
            printFiles.push_back(lists.drawing[static_cast<std::size_t>(k)]);
        }
        const std::string combined = printFiles[1];

        menu.cmdPreview_Click();
        EXPECT_TRUE(prompter.shown.empty());
        EXPECT_EQ(menu.lastPreviewCommand(), dir.path() + "/ormavex-preview /INI=\"" +
                                                 paths.userDataFolder +
                                                 "\" /PROJECT=\"/data/caisson A.kvt\" " + combined);
        for (int i = 0; i < 200 && !fs::exists(argsFile); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(ReadBytes(argsFile), "/INI=" + paths.userDataFolder +
                                           "\n/PROJECT=/data/caisson A.kvt\n" + combined + "\n");
        EXPECT_EQ(ReadBytes(combined), ReadBytes(printFiles[0]));
        EXPECT_FALSE(ReadBytes(combined).empty());

        // A second press rebuilds the same combined file.
        const std::string first = ReadBytes(combined);
        menu.cmdPreview_Click();
        EXPECT_EQ(ReadBytes(combined), first);

        menu.cmdCheck_Click(1);
        menu.reject();
    }
    for (const std::string& f : printFiles) {
        EXPECT_FALSE(fs::exists(f)) << f;
    }
    EXPECT_EQ(state.report.lists.textCount, 0);
    EXPECT_EQ(CPrivateProfile::GetValueString(paths.settingsFile, "MenuPrint", "0"), "0");
    EXPECT_NE(CPrivateProfile::GetValueString(paths.settingsFile, "MenuPrint", "Top"), "");
}

TEST_F(PrintMenuTest, FailedPagesAreNamedInOneMessageWithTheirCauses) {
    // The data files without the report format: every page fails.
    const std::string data = dir.file("data");
    fs::create_directory(data);
    for (const auto& e : fs::directory_iterator(state.dataFolder)) {
        if (e.path().filename() != "Kivet.fmt") {
            fs::copy_file(e.path(), data + "/" + e.path().filename().string());
        }
    }
    state.dataFolder = data;
    gui::frmMenuPrint menu(state, paths, prompter);
    menu.load();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Ormavex");
    std::string causes;
    for (int c = 1; c <= 6; ++c) {
        causes += "\n№" + std::to_string(c) + " ﾌｧｲﾙ Kivet.fmt を処理できません（ｴﾗｰｺｰﾄﾞ ： 53）";
    }
    EXPECT_EQ(prompter.shown[0].text,
              "№1 №2 №3 №4 №5 №6 \n\n以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ\n" + causes);
    EXPECT_EQ(prompter.shown[0].icon, Message::Icon::Critical);
    menu.reject();
}

} // namespace
} // namespace ormavex::test
