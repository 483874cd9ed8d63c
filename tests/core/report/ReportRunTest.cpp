// The report run without its window: pages of all cases with page breaks,
// the failure message, the combined print file, the preview command line and
// the clean-up of the print files.

#include "core/report/ReportRun.h"
#include "core/app/CSystem.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteBytes;
using ormavex::test::WriteSjisLines;

namespace {

class ReportRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        report.lists.folder = tmp.path();
        cases.CaseCount = 6;
        for (int c = 1; c <= 6; ++c) {
            cases.setDefaults(c);
            cases.cell(c, 3) = static_cast<double>(c % 3); // print styles 1, 2, 0, 1, 2, 0
        }
    }
    // A page of one heading line and one body line; cases in `failing` fail
    // after writing their heading.
    PageWriter FakePages() {
        return [this](int c, Member m, Error* error) {
            written.emplace_back(c, m);
            OpenPrintFile(report);
            PrintHeadingPrefix(report, 1);
            PrintLine(report, "case " + std::to_string(c));
            if (failing.count(c) != 0) {
                report.out.close();
                *error = Error("broken");
                return false;
            }
            PrintHeadingPrefix(report, 0);
            PrintLine(report, "body");
            ClosePrintFile(report);
            return true;
        };
    }

    std::size_t FilesInTmp() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(tmp.path()),
                          std::filesystem::directory_iterator()));
    }

    TempDir tmp;
    TempDir dir;
    ReportState report;
    CaseTable cases;
    std::set<int> failing;
    std::vector<std::pair<int, Member>> written;
};

TEST_F(ReportRunTest, WritesEveryPageAndNamesTheFailedCases) {
    failing = {2, 5};
    ReportRunOutcome outcome;
    ASSERT_TRUE(RunReport(report, cases, dir.file("none.ini"), FakePages(), outcome));
    EXPECT_EQ(outcome.failedCases, (std::vector<int>{2, 5}));
    EXPECT_EQ(outcome.reasons, (std::vector<std::string>{"broken", "broken"}));
    EXPECT_EQ(outcome.causes[0], "印刷ﾍﾟｰｼﾞを作成できません（broken）");
    ASSERT_EQ(report.lists.textCount, 2);
    EXPECT_EQ(report.currentPrintFile, report.lists.text[1]);
    EXPECT_EQ(ReadBytes(report.lists.text[0]), "?R1case 1\r\n  body\r\n"
                                               "\f?R1case 2\r\n"
                                               "\f?R1case 3\r\n  body\r\n"
                                               "\f?R1case 4\r\n  body\r\n"
                                               "\f?R1case 5\r\n"
                                               "\f?R1case 6\r\n  body\r\n");
    EXPECT_EQ(ReadBytes(report.lists.text[1]), "");

    const Message m = PrintFileErrorMessage(outcome.failedCases);
    EXPECT_EQ(m.title, "Ormavex");
    EXPECT_EQ(m.text, "№2 №5 \n\n以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ");
    EXPECT_EQ(m.icon, Message::Icon::Critical);

    // With the causes: the same message, then one line per case. A case
    // whose values are wrong is told so whatever failed; a file by its name.
    cases.cell(5, 10) = 12345.0;
    EXPECT_EQ(PageFailureCause(cases, 5, Error("broken")),
              "QB = 12345：荷重の入力範囲（-9999.99 ～ 9999.99）の外です");
    EXPECT_EQ(PageFailureCause(cases, 2, Error("x", 75, "/tmp/d/LINE_PRN.DEF")),
              "ﾌｧｲﾙ LINE_PRN.DEF を処理できません（ｴﾗｰｺｰﾄﾞ ： 75）");
    outcome.causes[1] = "QB = 12345：…";
    EXPECT_EQ(PrintFileErrorMessage(outcome).text,
              "№2 №5 \n\n以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ\n\n"
              "№2 印刷ﾍﾟｰｼﾞを作成できません（broken）\n№5 QB = 12345：…");
}

TEST_F(ReportRunTest, PrintStyleZeroGivesTheFrontWallPage) {
    ReportRunOutcome outcome;
    ASSERT_TRUE(RunReport(report, cases, dir.file("none.ini"), FakePages(), outcome));
    const std::vector<std::pair<int, Member>> expected = {
        {1, Member::BottomSlab}, {2, Member::BottomSlab}, {3, Member::FrontWall},
        {4, Member::BottomSlab}, {5, Member::BottomSlab}, {6, Member::FrontWall}};
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(outcome.failedCases.empty());
}

TEST_F(ReportRunTest, NumberingSettingsAreReadAndTheRunStartsAfresh) {
    WriteSjisLines(dir.file("Kivet.ini"), {"[Chapter]", "Method=2", "Style1=2", "Margin1=1"});
    cases.CaseCount = 2;
    ReportRunOutcome outcome;
    ASSERT_TRUE(RunReport(report, cases, dir.file("Kivet.ini"), FakePages(), outcome));
    EXPECT_EQ(ReadBytes(report.lists.text[0]),
              " ?R1(1). case 1\r\n   body\r\n\f ?R1(2). case 2\r\n   body\r\n");
    // A second run counts from 1 again and starts new lists.
    ASSERT_TRUE(RunReport(report, cases, dir.file("Kivet.ini"), FakePages(), outcome));
    EXPECT_EQ(report.lists.textCount, 2);
    EXPECT_EQ(ReadBytes(report.lists.text[0]).substr(0, 9), " ?R1(1). ");
}

TEST_F(ReportRunTest, NoCasesLeaveAnEmptyResultsFile) {
    cases.CaseCount = 0;
    ReportRunOutcome outcome;
    ASSERT_TRUE(RunReport(report, cases, dir.file("none.ini"), FakePages(), outcome));
    EXPECT_TRUE(outcome.failedCases.empty());
    EXPECT_EQ(ReadBytes(report.lists.text[0]), "");
    ASSERT_TRUE(CollectSelectedItems(report, {1}));
    EXPECT_EQ(ReadBytes(report.lists.text[1]), "");
}

TEST_F(ReportRunTest, ARunWithoutATemporaryFolderFails) {
    report.lists.folder = dir.file("missing");
    ReportRunOutcome outcome;
    EXPECT_FALSE(RunReport(report, cases, dir.file("none.ini"), FakePages(), outcome));
    EXPECT_FALSE(outcome.failure.empty());
    EXPECT_TRUE(written.empty());
}

TEST_F(ReportRunTest, CombinedFileJoinsCheckedItemsWithPageBreaks) {
    report.lists.textCount = 0;
    for (const char* content : {"a\r\nb\r\n", "c", "d\r\n"}) {
        WriteBytes(NewTextPrintFile(report.lists), content);
    }
    NewTextPrintFile(report.lists); // the combined print file
    const std::string combined = report.lists.text[3];
    WriteBytes(combined, "old");

    EXPECT_FALSE(CollectSelectedItems(report, {0, 2, 0})) << "2 is not a checked state";
    EXPECT_EQ(ReadBytes(combined), "old");

    ASSERT_TRUE(CollectSelectedItems(report, {1, 0, 1}));
    EXPECT_EQ(ReadBytes(combined), "a\r\nb\r\n\fd\r\n");
    ASSERT_TRUE(CollectSelectedItems(report, {1, 0, 1}));
    EXPECT_EQ(ReadBytes(combined), "a\r\nb\r\n\fd\r\n") << "rebuilt, not appended";

    // Items without a file of their own (the combined file itself and
    // beyond) are not items.
    ASSERT_TRUE(CollectSelectedItems(report, {0, 1, 0, 1, 1}));
    EXPECT_EQ(ReadBytes(combined), "c\r\n");
    EXPECT_FALSE(CollectSelectedItems(report, {0, 0, 0, 1}));
    // An item's file that cannot be read fails the whole: no short report
    // is handed on, the combined file is left empty.
    std::filesystem::remove(report.lists.text[0]);
    Error error;
    EXPECT_FALSE(CollectSelectedItems(report, {1, 1}, &error));
    EXPECT_NE(error.code(), 0);
    EXPECT_EQ(error.path(), report.lists.text[0]);
    EXPECT_EQ(ReadBytes(combined), "");
}

TEST_F(ReportRunTest, DeletesEveryPrintFile) {
    ReportRunOutcome outcome;
    ASSERT_TRUE(RunReport(report, cases, dir.file("none.ini"), FakePages(), outcome));
    TextOutFile out;
    NewDrawingPrintFile(report.lists, out);
    NewDrawingPrintFile(report.lists, out);
    EXPECT_EQ(FilesInTmp(), 4u);
    out.close(); // Windows keeps the name of an open file until it is closed
    std::filesystem::remove(report.lists.drawing[0]); // a failed delete is ignored
    DeletePrintFiles(report);
    EXPECT_EQ(FilesInTmp(), 0u);
    EXPECT_EQ(report.lists.textCount, 0);
    EXPECT_EQ(report.lists.drawingCount, 0);
}

TEST(PreviewCommandLine, NamesTheUserFolderAndTheCombinedFile) {
    EXPECT_EQ(PreviewCommandLine("/opt/ormavex", "/home/u/.local/share/Velmorra/ormavex",
                                 "/tmp/~MTabc123.tmp"),
              "/opt/ormavex/ormavex-preview /INI=\"/home/u/.local/share/Velmorra/ormavex\" "
              "/tmp/~MTabc123.tmp");
    // Blanks and quotes survive the split into arguments.
    const std::string line =
        PreviewCommandLine("/opt/my apps", "/home/a b/\"x\\", "/tmp/with blank/~MTx.tmp");
    EXPECT_EQ(CSystem::SplitCommandLine(line),
              (std::vector<std::string>{"/opt/my apps/ormavex-preview", "/INI=/home/a b/\"x\\",
                                        "/tmp/with blank/~MTx.tmp"}));
    // The project, when there is one, comes before the print file.
    EXPECT_EQ(
        CSystem::SplitCommandLine(
            PreviewCommandLine("/opt", "/u", "/tmp/~MTx.tmp", "/home/k/my work/caisson-A.kvt")),
        (std::vector<std::string>{"/opt/ormavex-preview", "/INI=/u",
                                  "/PROJECT=/home/k/my work/caisson-A.kvt", "/tmp/~MTx.tmp"}));
}

} // namespace
