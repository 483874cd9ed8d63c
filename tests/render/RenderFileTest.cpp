// Parsing of the text print files and the style tables of the renderer, good
// and malformed input.

#include "core/report/PrintFile.h"
#include "core/text/ShiftJis.h"
#include "render/StyleTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ormavex::render {
namespace {

using namespace printfile;

using test::SjisLines;

// --- text print files -------------------------------------------------------

TEST(PrintFileTest, CountsOneColumnPerShiftJisByte) {
    // "Ｌｘ" is two double-byte characters (4 columns), "ｹｰｽ" three half-width.
    PrintFileContent c = ParsePrintFile(ToShiftJis("  Ｌｘ＝ 4.50 ｹｰｽ") + "\r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    const auto& runs = c.lines[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].column, 2);
    EXPECT_EQ(runs[0].text, "Ｌｘ＝");
    EXPECT_EQ(runs[1].column, 9);
    EXPECT_EQ(runs[1].text, "4.50");
    EXPECT_EQ(runs[2].column, 14);
    EXPECT_EQ(runs[2].text, "ｹｰｽ");
}

TEST(PrintFileTest, HeadingCodesAreRemovedAndMarkTheLine) {
    PrintFileContent c = ParsePrintFile(SjisLines({"  ?R11. 概要", "?R2 1-1 条件", "?R3 x"}));
    ASSERT_EQ(c.lines.size(), 3u);
    EXPECT_EQ(c.lines[0].heading, 1);
    ASSERT_FALSE(c.lines[0].runs.empty());
    EXPECT_EQ(c.lines[0].runs[0].column, 2); // the number takes the code's place
    EXPECT_EQ(c.lines[0].runs[0].text, "1.");
    EXPECT_EQ(c.lines[1].heading, 2);
    EXPECT_EQ(c.lines[2].heading, 0); // not a code: printed as it stands
    EXPECT_EQ(c.lines[2].runs[0].text, "?R3");
}

TEST(PrintFileTest, FigureLineGivesColumnAndPath) {
    PrintFileContent c = ParsePrintFile("    ?FG;000;000;/tmp/~MTabc.tmp  \r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].kind, PrintLine::Kind::Figure);
    EXPECT_EQ(c.lines[0].figureColumn, 4);
    EXPECT_EQ(c.lines[0].figurePath, "/tmp/~MTabc.tmp");
}

TEST(PrintFileTest, MalformedFigureLineHasNoPath) {
    PrintFileContent c = ParsePrintFile("  ?FG;000/tmp/x\r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].kind, PrintLine::Kind::Figure);
    EXPECT_TRUE(c.lines[0].figurePath.empty());
}

TEST(PrintFileTest, FormFeedBreaksThePageWhereverItStands) {
    // Between pages (no line end after it), and in the middle of a line.
    PrintFileContent c = ParsePrintFile("a\r\n\fb\r\nc\fd\r\n\f");
    std::vector<PrintLine::Kind> kinds;
    for (const PrintLine& l : c.lines) {
        kinds.push_back(l.kind);
    }
    using K = PrintLine::Kind;
    EXPECT_EQ(kinds, (std::vector<K>{K::Text, K::PageBreak, K::Text, K::Text, K::PageBreak, K::Text,
                                     K::PageBreak}));
    EXPECT_EQ(c.lines[3].runs[0].text, "c");
    EXPECT_EQ(c.lines[5].runs[0].text, "d");
}

TEST(PrintFileTest, BadBytesPrintAsQuestionMarksAndControlsAsBlanks) {
    // A lead byte without a trail byte, a byte that starts nothing, a tab.
    PrintFileContent c = ParsePrintFile(std::string("A\x81", 2) + "\r\n" +
                                        std::string("\xFF"
                                                    "B\tC",
                                                    4) +
                                        "\r\n");
    ASSERT_EQ(c.lines.size(), 2u);
    ASSERT_EQ(c.lines[0].runs.size(), 2u);
    EXPECT_EQ(c.lines[0].runs[1].text, "?");
    EXPECT_EQ(c.lines[0].runs[1].column, 1);
    ASSERT_EQ(c.lines[1].runs.size(), 3u);
    EXPECT_EQ(c.lines[1].runs[0].text, "?");
    EXPECT_EQ(c.lines[1].runs[1].text, "B");
    EXPECT_EQ(c.lines[1].runs[2].column, 3);
}

TEST(PrintFileTest, VeryLongLineKeepsOnlyThePrintableColumns) {
    PrintFileContent c = ParsePrintFile(std::string(1'000'000, 'x') + "\r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    ASSERT_EQ(c.lines[0].runs.size(), 1u);
    EXPECT_EQ(c.lines[0].runs[0].text.size(), static_cast<std::size_t>(kMaxColumns));
}

TEST(PrintFileTest, HugeLineCountIsCutAndFlagged) {
    PrintFileContent c = ParsePrintFile(std::string(kMaxLines + 10, '\n'));
    EXPECT_TRUE(c.truncated);
    EXPECT_EQ(c.lines.size(), kMaxLines);
}

// --- style files ------------------------------------------------------------

TEST(StyleTablesTest, ReadsTheDeliveredFiles) {
    StyleTables s;
    std::vector<std::string> notes;
    s.load(std::string(ORMAVEX_SOURCE_DIR) + "/data", &notes);
    EXPECT_TRUE(notes.empty()) << notes.front();
    EXPECT_EQ(s.lineCount(), 9);
    EXPECT_EQ(s.textCount(), 3);
    EXPECT_NEAR(s.textHeightMm(3), 120.0 / 1440.0 * 25.4, 1e-12);
    EXPECT_EQ(Dash(s.line(7)), DashPattern::Chain);
    EXPECT_GT(s.line(3).width, s.line(1).width);
}

TEST(StyleTablesTest, RecordsMaySpreadOverLinesAndQuotesHoldCommas) {
    StyleTables s;
    std::string problem;
    ASSERT_TRUE(s.readLineStyles(
        SjisLines({"' header", "A, 25,", "1, \"x, y\"", "B,30,3,z", "END"}), &problem));
    EXPECT_TRUE(problem.empty()) << problem;
    ASSERT_EQ(s.lineCount(), 2);
    EXPECT_EQ(s.line(1).width, 25);
    EXPECT_EQ(Dash(s.line(1)), DashPattern::Dashed);
    EXPECT_EQ(Dash(s.line(2)), DashPattern::Chain);
    EXPECT_EQ(s.line(42).width, 25); // unknown number: style 1

    ASSERT_TRUE(s.readTextStyles(
        SjisLines({"' header", "T1, 1, \"ｺﾞｼｯｸ\", 1440, 700, 1, 0, \"a\"", "END"}), &problem));
    EXPECT_NEAR(s.textHeightMm(1), 25.4, 1e-9);
    EXPECT_EQ(s.text(1).weight, 700);
    EXPECT_EQ(s.text(1).italic, 1);
}

TEST(StyleTablesTest, MissingOrBrokenFilesKeepTheBuiltInTables) {
    test::TempDir dir;
    test::WriteBytes(dir.file("LINE_PRN.DEF"), "only a header line\r\n");
    StyleTables s;
    std::vector<std::string> notes;
    s.load(dir.path(), &notes); // LINE_PRN.DEF empty, STR_PRN.DEF missing
    EXPECT_EQ(notes.size(), 2u);
    EXPECT_EQ(s.lineCount(), 9);
    EXPECT_NEAR(s.textHeightMm(2), 180 / 1440.0 * 25.4, 1e-12);
}

} // namespace
} // namespace ormavex::render
