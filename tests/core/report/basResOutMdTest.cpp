// The member result page: which template lines it writes and fills, the
// figure line, and how a failure ends the page. The diagram is a stand-in
// that records its calls, so that the page's own text can be checked byte
// for byte.

#include "core/report/basResOutMd.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteSjisLines;

namespace {

std::vector<std::string> Section(const std::string& name, const std::string& suffix,
                                 const std::string& picture) {
    return {name,
            "' the page's lines",
            "  1 1TITLE" + suffix,
            "  2 0free ##" + suffix,
            "  3 0fixed" + suffix,
            "  4 0Lx=" + picture,
            "  5 0r=" + picture + " l=#0.00",
            "  6 0Ly=" + picture,
            "  7 0gt1",
            "  8 0gt2",
            "  9 0le1",
            " 10 0le2",
            "End"};
}

class MemberPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> lines = Section("ﾀｲﾄﾙ(2桁)", "", "##0.00");
        const std::vector<std::string> three = Section("ﾀｲﾄﾙ(3桁)", "3", "##0.000");
        lines.insert(lines.end(), three.begin(), three.end());
        WriteSjisLines(format, lines);
        report.currentPrintFile = dir.file("results.tmp");
        ormavex::test::WriteBytes(report.currentPrintFile, "");
        cases.CaseCount = 1;
        cases.setDefaults(1);
        cases.cell(1, 1) = "前壁 上段";
        calc.CalcType[1] = 1;
        calc.CalcKeta[1] = 2;
        calc.CalcLx[1] = 4.5;
        calc.CalcLy[1] = 5.0;
        calc.CalcRamuda[1] = 0.9;
    }

    bool Write(Member member = Member::FrontWall, Error* error = nullptr) {
        return WriteMemberPage(report, cases, calc, format, 1, member, diagram, error);
    }
    std::string Text() const { return FromShiftJis(ReadBytes(report.currentPrintFile)); }

    TempDir dir;
    std::string format = dir.file("Kivet.fmt");
    ReportState report;
    CaseTable cases;
    CalcArrays calc;
    std::vector<std::pair<Member, int>> calls;
    bool diagramFails = false;
    DiagramWriter diagram = [this](Member m, int c) {
        calls.emplace_back(m, c);
        if (diagramFails) {
            throw Error("diagram failed");
        }
        return std::string("/fig/") + std::to_string(calls.size()) + ".tmp";
    };
};

TEST_F(MemberPageTest, WritesThePageLineByLine) {
    ASSERT_TRUE(Write());
    EXPECT_EQ(ReadBytes(report.currentPrintFile),
              "?R1" + ToShiftJis("前壁 上段") +
                  "\r\n"
                  "\r\n\r\n"
                  "  free ##\r\n" // unfilled: the markers stay
                  "\r\n\r\n"
                  "  Lx=  4.50\r\n"
                  "  r=  0.90 l= 0.90\r\n"
                  "  Ly=  5.00\r\n"
                  "\r\n\r\n"
                  "  le1\r\n" // Lx/Ly = 0.9: lines 9 and 10
                  "\r\n"
                  "  le2\r\n"
                  "\r\n\r\n"
                  "    ?FG;000;000;/fig/1.tmp\r\n"
                  "   \r\n");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_pair(Member::FrontWall, 1));
    EXPECT_FALSE(report.out.isOpen());
}

TEST_F(MemberPageTest, RatioExactlyOneTakesLinesNineAndTen) {
    calc.CalcLx[1] = 5.0;
    ASSERT_TRUE(Write());
    EXPECT_NE(Text().find("  le1\r\n\r\n  le2\r\n"), std::string::npos);
    EXPECT_EQ(Text().find("gt"), std::string::npos);

    calc.CalcLx[1] = 5.01;
    ASSERT_TRUE(Write(Member::BottomSlab));
    EXPECT_NE(Text().find("  gt1\r\n\r\n  gt2\r\n"), std::string::npos);
    EXPECT_EQ(calls.back(), std::make_pair(Member::BottomSlab, 1));
}

TEST_F(MemberPageTest, TableTypeChoosesTheSupportSentence) {
    for (int type : {1, 2, 3, 4, 5}) {
        ormavex::test::WriteBytes(report.currentPrintFile, "");
        calc.CalcType[1] = type;
        ASSERT_TRUE(Write());
        const bool free = type <= 2;
        EXPECT_EQ(Text().find("free") != std::string::npos, free) << type;
        EXPECT_EQ(Text().find("fixed") != std::string::npos, !free) << type;
    }
}

TEST_F(MemberPageTest, DecimalPlacesOtherThanTwoUseTheThreeDigitSection) {
    for (int keta : {3, 4, 0}) {
        ormavex::test::WriteBytes(report.currentPrintFile, "");
        calc.CalcKeta[1] = keta;
        ASSERT_TRUE(Write());
        EXPECT_NE(Text().find("  Lx=  4.500\r\n  r=  0.900 l= 0.90\r\n  Ly=  5.000\r\n"),
                  std::string::npos)
            << keta;
        EXPECT_NE(Text().find("free ##3"), std::string::npos);
    }
}

TEST_F(MemberPageTest, ZeroLyFailsThePageBeforeAnythingIsWritten) {
    calc.CalcLy[1] = 0.0;
    Error error;
    EXPECT_FALSE(Write(Member::FrontWall, &error));
    EXPECT_NE(std::string(error.message()).find("Lx/Ly"), std::string::npos) << error.message();
    EXPECT_EQ(ReadBytes(report.currentPrintFile), "");
    EXPECT_TRUE(calls.empty());
}

TEST_F(MemberPageTest, ADiagramFailureClosesTheFileAndKeepsTheLinesWritten) {
    diagramFails = true;
    Error error;
    EXPECT_FALSE(Write(Member::FrontWall, &error));
    EXPECT_STREQ(error.message(), "diagram failed");
    EXPECT_FALSE(report.out.isOpen());
    const std::string text = Text();
    EXPECT_EQ(text.substr(text.size() - 13), "  le2\r\n\r\n\r\n  ") << "up to the figure's prefix";
    EXPECT_EQ(text.find("?FG"), std::string::npos);
    // The next page can still be written into the same file.
    diagramFails = false;
    EXPECT_TRUE(Write());
}

TEST_F(MemberPageTest, AMissingSectionFailsThePage) {
    WriteSjisLines(format, Section("ﾀｲﾄﾙ(2桁)", "", "##0.00"));
    calc.CalcKeta[1] = 3;
    EXPECT_FALSE(Write());
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(
        WriteMemberPage(report, cases, calc, dir.file("none.fmt"), 1, Member::FrontWall, diagram));
}

TEST_F(MemberPageTest, HeadingNumbersAndMarginsShapeThePage) {
    std::vector<std::string> lines = Section("ﾀｲﾄﾙ(2桁)", "", "##0.00");
    lines[11] = " 10 2le2"; // line 10 as a level-2 heading
    WriteSjisLines(format, lines);
    report.method = 2;
    report.styles[1] = 1;
    report.styles[2] = 2;
    report.margins[1] = 1;
    report.margins[2] = 3;
    ASSERT_TRUE(Write());
    const std::string text = Text();
    EXPECT_EQ(text.rfind(" ?R11. 前壁 上段\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n   Lx=  4.50\r\n"), std::string::npos) << "margin 1 + 2";
    EXPECT_NE(text.find("   ?R21-(1) le2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("   ?R21-(2)   ?FG;000;000;/fig/1.tmp\r\n   ?R21-(3)  \r\n"),
              std::string::npos)
        << text;
}

TEST_F(MemberPageTest, TheDeliveredFormatFileMakesACompletePage) {
    format = std::string(ORMAVEX_SOURCE_DIR) + "/data/Kivet.fmt";
    ASSERT_TRUE(Write());
    const std::string text = Text();
    EXPECT_NE(text.find("Ｌx ＝   4.50 ｍ"), std::string::npos) << text;
    EXPECT_NE(text.find("Ｌy ＝   5.00 ｍ"), std::string::npos) << text;
    EXPECT_NE(text.find("＝   0.90 （実辺長比）"), std::string::npos) << text;
    EXPECT_NE(text.find("λ ＝  0.90"), std::string::npos) << text;
    EXPECT_NE(text.find("三辺固定一辺自由"), std::string::npos);
    // The formula names both parts of the load and the reference span.
    EXPECT_NE(text.find("ｑ1＝QB と三角形分布 ｑ2＝QA－QB"), std::string::npos) << text;
    EXPECT_NE(text.find("× Ｌ^2，Ｌ ＝ Ｌx"), std::string::npos) << "Lx is the shorter span";
    EXPECT_EQ(text.find('#'), std::string::npos);
}

TEST_F(MemberPageTest, WithTheWidestMarginsEveryBodyLineFitsTheEightyColumns) {
    format = std::string(ORMAVEX_SOURCE_DIR) + "/data/Kivet.fmt";
    report.margins[1] = 10; // the largest margin the numbering dialog allows
    for (int keta : {2, 3}) {
        for (int type : {1, 3}) {
            for (double lx : {4.5, 5.5}) { // both formula lines
                calc.CalcKeta[1] = keta;
                calc.CalcType[1] = type;
                calc.CalcLx[1] = lx;
                ormavex::test::WriteBytes(report.currentPrintFile, "");
                ASSERT_TRUE(Write());
                const std::string bytes = ReadBytes(report.currentPrintFile);
                LineReader r(bytes);
                std::string_view line;
                r.next(line); // the heading: the case title
                while (r.next(line)) {
                    if (line.find("?FG;") == std::string_view::npos) {
                        EXPECT_LE(line.size(), 80u) << FromShiftJis(line);
                    }
                }
            }
        }
    }
}

} // namespace
