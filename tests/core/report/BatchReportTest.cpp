// ormavex-batch --report as a user runs it: the combined print file, the
// figure files and drawing command files it names, the failure message and
// exit code of a case whose diagram cannot be drawn, and the clean-up.

#include "core/calc/basCalcMd.h"
#include "core/project/basIO.h"
#include "core/report/ReportRun.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <sstream>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::RunCommand;
using ormavex::test::TempDir;
using ormavex::test::TestBlock;
using ormavex::test::WriteCoefFile;
using ormavex::test::WriteSjisLines;

namespace {

const std::string kBatch = std::string(ORMAVEX_BIN_DIR) + "/ormavex-batch";
const std::string kSample = std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt";

std::vector<std::string> Split(const std::string& text, const std::string& sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(sep, from)) != std::string::npos; from = at + sep.size()) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

class BatchReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<TestBlock> blocks;
        for (const char* l : {"0.70", "0.85", "0.90", "1.00", "1.20"}) {
            blocks.push_back({std::string("L=") + l, 0.01});
        }
        for (int type = 1; type <= 5; ++type) {
            WriteCoefFile(CoefFilePath(data.path(), type), TableType(type)->points, blocks);
        }
        for (const char* f : {"Kivet.fmt", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
            std::filesystem::copy_file(std::string(ORMAVEX_BIN_DIR) + "/" + f, data.file(f));
        }
        WriteSjisLines(data.file("none.ini"), {}); // no numbering settings
    }

    int Run(const std::string& args, const std::string& project) {
#ifdef _WIN32
        const char* old = std::getenv("TMP");
        const std::string saved = old != nullptr ? old : "";
        ormavex::test::SetEnvironment("TMP", tmp.path().c_str()); // for GetTempPath
        const int code =
            RunCommand("\"" + kBatch + "\" --data-dir " + data.path() + " --settings " +
                           data.file("none.ini") + " " + args + " " + project,
                       &out, &err);
        ormavex::test::SetEnvironment("TMP", old != nullptr ? saved.c_str() : nullptr);
        return code;
#else
        return RunCommand("TMPDIR=" + tmp.path() + " " + kBatch + " --data-dir " + data.path() +
                              " --settings " + data.file("none.ini") + " " + args + " " + project,
                          &out, &err);
#endif
    }

    std::size_t FilesInTmp() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(tmp.path()),
                          std::filesystem::directory_iterator()));
    }

    std::string LastLine() const {
        std::vector<std::string> lines = Split(out, "\n");
        return lines.size() >= 2 ? lines[lines.size() - 2] : "";
    }

    // Checks a page's figure line, its figure file and its drawing command
    // file; returns the diagram's name.
    std::string CheckFigure(const std::string& page) {
        const std::string marker = "  ?FG;000;000;";
        const std::size_t at = page.find(marker);
        EXPECT_NE(at, std::string::npos);
        EXPECT_EQ(page.find(marker, at + 1), std::string::npos) << "one figure per page";
        const std::size_t end = page.find("\r\n", at);
        const std::string figure = page.substr(at + marker.size(), end - at - marker.size());
        EXPECT_EQ(figure.rfind(tmp.path() + "/~MT", 0), 0u) << figure;
        const std::vector<std::string> lines = Split(FromShiftJis(ReadBytes(figure)), "\r\n");
        EXPECT_EQ(lines.size(), 6u) << "title, area, path, offsets, END and the last line end";
        if (lines.size() != 6u) {
            return {};
        }
        EXPECT_EQ(lines[1], " 140           160 ");
        EXPECT_EQ(lines[4], "END");
        const std::vector<std::string> drawing = Split(FromShiftJis(ReadBytes(lines[2])), "\r\n");
        EXPECT_GT(drawing.size(), 5u);
        EXPECT_EQ(drawing[0], "ｹｰｿﾝ式防波堤");
        EXPECT_EQ(drawing[1], lines[0]);
        EXPECT_EQ(drawing[3], "座標情報");
        return lines[0];
    }

    void ExpectNoNonFiniteNumbers() const {
        for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
            const std::string text = ReadBytes(e.path().string());
            for (const char* bad : {"nan", "NaN", "inf", "Inf"}) {
                EXPECT_EQ(text.find(bad), std::string::npos) << e.path() << " holds " << bad;
            }
        }
    }

    TempDir data;
    TempDir tmp;
    std::string out;
    std::string err;
};

TEST_F(BatchReportTest, KeepLeavesTheCombinedFileWithOnePagePerCase) {
    ASSERT_EQ(Run("--report --keep", kSample), 0) << err;
    EXPECT_EQ(err, "");
    const std::string combined = LastLine();
    EXPECT_EQ(combined.rfind(tmp.path() + "/~MT", 0), 0u) << out;
    // Two text print files and two drawing print files per case, readable
    // by their owner only.
    EXPECT_EQ(FilesInTmp(), 2u + 2u * 6u);
#ifndef _WIN32 // on Windows the user's own temporary folder keeps them private
    for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
        EXPECT_EQ(e.status().permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
            << e.path();
    }
#endif

    const std::string bytes = ReadBytes(combined);
    EXPECT_EQ(ToShiftJis(FromShiftJis(bytes)), bytes);
    const std::vector<std::string> pages = Split(FromShiftJis(bytes), "\f");
    ASSERT_EQ(pages.size(), 6u);
    const char* titles[] = {"前壁 上段 (三辺固定一辺自由)",
                            "前壁 上段 端部",
                            "前壁 下段 (四辺固定)",
                            "底版 港内側",
                            "底版 中央",
                            "底版 港外側"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(pages[i].rfind(std::string("?R1") + titles[i] + "\r\n", 0), 0u) << pages[i];
        EXPECT_EQ(CheckFigure(pages[i]), i < 3 ? "前壁断面力図" : "底版断面力図");
        EXPECT_EQ(pages[i].substr(pages[i].size() - 5), "   \r\n");
    }
    // Case 3 has 3 decimal places, case 5 a ratio above 1.
    EXPECT_NE(pages[2].find("Ｌx ＝   4.250 ｍ"), std::string::npos) << pages[2];
    EXPECT_NE(pages[4].find("Ｌ^2，Ｌ ＝ Ｌy"), std::string::npos) << pages[4];
    ExpectNoNonFiniteNumbers();
}

TEST_F(BatchReportTest, WithoutKeepEveryPrintFileIsDeleted) {
    ASSERT_EQ(Run("--report", kSample), 0) << err;
    EXPECT_EQ(out, "");
    EXPECT_EQ(FilesInTmp(), 0u);
}

TEST_F(BatchReportTest, HeadingNumbersFollowTheSettingsFile) {
    WriteSjisLines(data.file("none.ini"), {"[Chapter]", "Method=2", "Style1=1", "Margin1=2"});
    ASSERT_EQ(Run("--report --keep", kSample), 0) << err;
    const std::vector<std::string> pages = Split(FromShiftJis(ReadBytes(LastLine())), "\f");
    ASSERT_EQ(pages.size(), 6u);
    EXPECT_EQ(pages[0].rfind("  ?R11. 前壁", 0), 0u) << pages[0];
    EXPECT_EQ(pages[5].rfind("  ?R16. 底版", 0), 0u) << pages[5];
    EXPECT_NE(pages[0].find("\r\n    版の大きさ"), std::string::npos) << "margin 1 + 2";
}

// A zero span is refused by the calculation, naming the case; should the
// report run all the same (as the windows never let it), that case gets no
// page and its cause is told, not a page without a diagram.
TEST_F(BatchReportTest, AZeroSpanIsRefusedAndNeverGetsAPage) {
    CaseTable cases;
    cases.CaseCount = 3;
    for (int c = 1; c <= 3; ++c) {
        cases.setDefaults(c);
        cases.cell(c, 1) = "case " + std::to_string(c);
        cases.cell(c, 3) = static_cast<double>(c == 3 ? 1 : 0);
        cases.cell(c, 5) = 4.5;
        cases.cell(c, 6) = 5.0;
        cases.cell(c, 8) = 0.9;
        cases.cell(c, 9) = 100.0;
        cases.cell(c, 10) = 50.0;
    }
    cases.cell(2, 5) = 0.0;
    const std::string project = data.file("zero.kvt");
    Error error;
    ASSERT_TRUE(WriteInputFile(cases, project, error));
    ASSERT_EQ(Run("--report --keep", project), 3) << err;
    EXPECT_NE(err.find("\ncase 2: Lx = 0: "), std::string::npos) << err;
    EXPECT_EQ(FilesInTmp(), 0u);

    CalcArrays calc;
    CoefWorkTables coef;
    EXPECT_FALSE(CalcMoments(cases, calc, coef, data.path()));
    ReportState report;
    report.lists.folder = tmp.path();
    DrawingContext drawing;
    ReportRunOutcome outcome;
    ASSERT_TRUE(
        RunReport(report, drawing, cases, calc, data.path(), data.file("none.ini"), outcome));
    EXPECT_EQ(outcome.failedCases, std::vector<int>{2});
    EXPECT_EQ(PrintFileErrorMessage(outcome).text,
              "№2 \n\n以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ\n\n"
              "№2 Lx = 0：辺長は 0 より大きく 99.999 以下でなければなりません");
    const std::vector<std::string> pages =
        Split(FromShiftJis(ReadBytes(report.lists.text[0])), "\f");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(CheckFigure(pages[0]), "前壁断面力図");
    EXPECT_EQ(CheckFigure(pages[1]), "底版断面力図");
    EXPECT_NE(pages[1].find("case 3"), std::string::npos);
    ExpectNoNonFiniteNumbers();
    DeletePrintFiles(report);

    // Without Kivet.fmt every page fails: no report was written (5), even
    // with --keep nothing is left.
    cases.cell(2, 5) = 4.5;
    ASSERT_TRUE(WriteInputFile(cases, project, error));
    std::filesystem::remove(data.file("Kivet.fmt"));
    EXPECT_EQ(Run("--report --keep", project), 5);
    EXPECT_NE(err.find("Kivet.fmt"), std::string::npos) << err;
    EXPECT_EQ(FilesInTmp(), 0u);
}

// The diagrams are drawn ahead of their pages, on more than one thread where
// the machine has more than one core: every drawing command file holds the
// bytes one diagram drawn on its own gives, and a diagram that fails fails
// its own page, named in case order, while the later pages get theirs.
TEST_F(BatchReportTest, DiagramsDrawnAheadMatchOneByOneAndFailInCaseOrder) {
    CaseTable cases;
    cases.CaseCount = 12;
    for (int c = 1; c <= cases.CaseCount; ++c) {
        cases.setDefaults(c);
        cases.cell(c, 1) = "case " + std::to_string(c);
        cases.cell(c, 2) = static_cast<double>(c % 5);
        cases.cell(c, 3) = static_cast<double>(c % 2);
        cases.cell(c, 5) = 4.0 + 0.1 * c;
        cases.cell(c, 6) = 5.0;
        cases.cell(c, 8) = 0.9;
        cases.cell(c, 9) = 100.0;
        cases.cell(c, 10) = c % 3 == 0 ? -20.0 : 50.0;
    }
    CalcArrays calc;
    CoefWorkTables coef;
    ASSERT_TRUE(CalcMoments(cases, calc, coef, data.path()));
    for (int c : {3, 8}) {
        calc.CalcMx[c](2, 2) = std::numeric_limits<double>::quiet_NaN();
    }
    ReportState report;
    report.lists.folder = tmp.path();
    DrawingContext drawing;
    ReportRunOutcome outcome;
    ASSERT_TRUE(
        RunReport(report, drawing, cases, calc, data.path(), data.file("none.ini"), outcome));
    EXPECT_EQ(outcome.failedCases, (std::vector<int>{3, 8}));
    ASSERT_EQ(outcome.reasons.size(), 2u);
    EXPECT_NE(outcome.reasons[0].find("case 3 "), std::string::npos) << outcome.reasons[0];
    EXPECT_NE(outcome.reasons[1].find("case 8 "), std::string::npos) << outcome.reasons[1];
    EXPECT_EQ(report.lists.drawingCount, 2 * 10);

    const std::vector<std::string> pages =
        Split(FromShiftJis(ReadBytes(report.lists.text[0])), "\f");
    ASSERT_EQ(pages.size(), 12u);
    int drawn = 0;
    for (int c = 1; c <= cases.CaseCount; ++c) {
        const std::string& page = pages[static_cast<std::size_t>(c - 1)];
        EXPECT_NE(page.find("case " + std::to_string(c) + "\r\n"), std::string::npos);
        if (c == 3 || c == 8) {
            EXPECT_EQ(page.find("?FG;"), std::string::npos) << "case " << c;
            continue;
        }
        const Member member = c % 2 == 0 ? Member::FrontWall : Member::BottomSlab;
        EXPECT_EQ(CheckFigure(page), member == Member::FrontWall ? "前壁断面力図" : "底版断面力図");
        // The files of each page in creation order: drawing, then figure.
        const std::string& drawingFile = report.lists.drawing[static_cast<std::size_t>(2 * drawn)];
        ++drawn;
        DrawingContext alone;
        DrawnDiagram expected;
        RenderSectionForceDiagram(member, alone, calc, data.path(), 1, c, PageFigureWidth,
                                  PageFigureHeight, expected);
        EXPECT_EQ(ReadBytes(drawingFile), expected.bytes) << "case " << c;
    }
    DeletePrintFiles(report);
    EXPECT_EQ(FilesInTmp(), 0u);
}

TEST_F(BatchReportTest, ReportOptionsNeedReport) {
    EXPECT_EQ(RunCommand(kBatch + " --keep " + kSample, &out, &err), 1);
    EXPECT_NE(err.find("--report"), std::string::npos);
    EXPECT_EQ(RunCommand(kBatch + " --report --settings", &out, &err), 1);
}

} // namespace
