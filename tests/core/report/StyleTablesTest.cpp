// Reading of the style tables applied to the report pages, good and malformed input.

#include "core/report/StyleTables.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ormavex::printfile {
namespace {

using test::SjisLines;

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
} // namespace ormavex::printfile
