// Reading of the text print files into printable lines: columns, control
// codes, page breaks, good and malformed input.

#include "core/report/PrintFile.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace ormavex::printfile {
namespace {

using test::SjisLines;

TEST(PrintFileReadTest, CountsOneColumnPerShiftJisByte) {
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

TEST(PrintFileReadTest, HeadingCodesAreRemovedAndMarkTheLine) {
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

TEST(PrintFileReadTest, FigureLineGivesColumnAndPath) {
    PrintFileContent c = ParsePrintFile("    ?FG;000;000;/tmp/~MTabc.tmp  \r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].kind, PrintLine::Kind::Figure);
    EXPECT_EQ(c.lines[0].figureColumn, 4);
    EXPECT_EQ(c.lines[0].figurePath, "/tmp/~MTabc.tmp");
}

TEST(PrintFileReadTest, MalformedFigureLineHasNoPath) {
    PrintFileContent c = ParsePrintFile("  ?FG;000/tmp/x\r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].kind, PrintLine::Kind::Figure);
    EXPECT_TRUE(c.lines[0].figurePath.empty());
}

TEST(PrintFileReadTest, FormFeedBreaksThePageWhereverItStands) {
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

TEST(PrintFileReadTest, BadBytesPrintAsQuestionMarksAndControlsAsBlanks) {
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

TEST(PrintFileReadTest, VeryLongLineKeepsOnlyThePrintableColumns) {
    PrintFileContent c = ParsePrintFile(std::string(1'000'000, 'x') + "\r\n");
    ASSERT_EQ(c.lines.size(), 1u);
    ASSERT_EQ(c.lines[0].runs.size(), 1u);
    EXPECT_EQ(c.lines[0].runs[0].text.size(), static_cast<std::size_t>(kMaxColumns));
}

TEST(PrintFileReadTest, HugeLineCountIsCutAndFlagged) {
    PrintFileContent c = ParsePrintFile(std::string(kMaxLines + 10, '\n'));
    EXPECT_TRUE(c.truncated);
    EXPECT_EQ(c.lines.size(), kMaxLines);
}

} // namespace
} // namespace ormavex::printfile
