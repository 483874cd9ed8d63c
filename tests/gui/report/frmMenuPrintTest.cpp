// The print menu after a real report run of the sample project: the
// selection buttons, the no-item message, the preview program's command line
// (a fake preview program records its arguments) and the clean-up on close;
// the results window on the same calculation.

#include "gui/report/frmMenuPrint.h"
#include "../FakePrompter.h"
#include "../FindChild.h"
#include "core/app/CPrivateProfile.h"
#include "core/calc/MomentSummary.h"
#include "core/project/ProjectLoad.h"
#include "gui/common/AppState.h"
#include "gui/report/frmResults.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

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

TEST_F(PrintMenuTest, ResultsWindowShowsGoverningValuesCopiesAndWritesCsv) {
    gui::frmResults w(state.cases, state.calc, state.dataFolder, paths.settingsFile,
                      dir.file("caisson-A.kvt"), prompter);
    QTableWidget* summary = Child<QTableWidget>(w, "tblSummary");
    ASSERT_EQ(summary->rowCount(), 6);
    auto rowText = [&](int row, int from, int to) {
        std::string s;
        for (int c = from; c <= to; ++c) {
            s += (c > from ? "|" : "") + summary->item(row, c)->text().toStdString();
        }
        return s;
    };
    // Case 4 (four edges fixed 8×4, Lx = Ly = 4.6, λ = 1), checked by hand against the
    // moments ormavex-batch --moments prints: Mx +52.05 at Ⅰ-④ and -152.13 at Ⅰ-①,
    // My +46.76 at Ⅰ-⑤ and -120.03 at Ⅲ-④; λ is its real ratio, so nothing differs.
    EXPECT_EQ(rowText(3, gui::frmResults::ColCase, gui::frmResults::ColReal),
              "4|底版 港内側|四辺固定版（８×４）|1.00|1.00|52.05|Ⅰ-④|-152.13|Ⅰ-①|46.76|Ⅰ-⑤|"
              "-120.03|Ⅲ-④|0.0%");
    // The mark follows the core's 3 % rule for every case; case 2 (λ 0.85, Lx/Ly 0.83) has it.
    EXPECT_TRUE(summary->item(1, gui::frmResults::ColReal)->text().startsWith("※"));
    for (int c = 1; c <= 6; ++c) {
        const bool marked =
            RealRatioDiffers(SummariseCase(state.calc, c), SummariseCase(w.realRatioMoments(), c));
        EXPECT_EQ(summary->item(c - 1, gui::frmResults::ColReal)->text().startsWith("※"), marked)
            << c;
    }

    // The grids of the selected case: rows Ⅰ..Ⅲ each followed by the real ratio's row.
    w.showCase(4);
    QTableWidget* mx = w.gridTable(0);
    ASSERT_EQ(mx->rowCount(), 6);
    ASSERT_EQ(mx->columnCount(), 9);
    EXPECT_EQ(mx->item(0, 3)->text(), "52.05");
    EXPECT_EQ(mx->item(1, 3)->text(), "52.05"); // the real ratio is tabulated
    EXPECT_NE(mx->item(0, 3)->background(), mx->item(0, 2)->background()); // highlighted
    EXPECT_EQ(w.gridTable(1)->item(4, 3)->text(), "-120.03");
    EXPECT_NE(Child<QLabel>(w, "lblCase")->text().indexOf("№4"), -1);

    // Sorting by Mx (−) puts the most negative first; Ctrl+C copies the selected block.
    summary->sortItems(gui::frmResults::ColMxMin, Qt::AscendingOrder);
    const double first = summary->item(0, gui::frmResults::ColMxMin)->data(Qt::UserRole).toDouble();
    for (int r = 1; r < 6; ++r) {
        EXPECT_LE(first,
                  summary->item(r, gui::frmResults::ColMxMin)->data(Qt::UserRole).toDouble());
    }
    summary->sortItems(gui::frmResults::ColCase, Qt::AscendingOrder);
    summary->setFocus();
    summary->clearSelection();
    summary->setRangeSelected(
        QTableWidgetSelectionRange(3, gui::frmResults::ColMxMax, 3, gui::frmResults::ColMxMinAt),
        true);
    QTest::keyClick(summary, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "52.05\tⅠ-④\t-152.13\tⅠ-①\r\n");
    summary->clearSelection();
    const std::string whole = gui::frmResults::TableText(*summary);
    EXPECT_EQ(whole.rfind("№\t検討ｹｰｽ名称\t", 0), 0u) << whole;
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 7);

    // "CSV出力": the core's CSV bytes, byte order mark first.
    prompter.files = {dir.file("out.csv")};
    w.cmdCsv_Click();
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].dialog.FileName, "caisson-A-results.csv");
    const std::string csv = ReadBytes(dir.file("out.csv"));
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(csv, ResultsCsv(state.cases, state.calc, &w.realRatioMoments()));
}

} // namespace
} // namespace ormavex::test
