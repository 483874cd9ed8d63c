// The sheet's value checks and clipboard text, and the side-ratio list.
#include "cases/CaseSheet.h"
#include "cases/SideRatioList.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ormavex;
using ormavex::test::TempDir;
using ormavex::test::WriteSjisLines;

TEST(CaseSheet, ChecksEachKindOfCellAndRefusesWhatItCannotHold) {
    std::string s;
    EXPECT_EQ(CheckSheetValue(1, "前壁 上段", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "前壁 上段");
    // A project file cannot hold a double quote in a title.
    EXPECT_EQ(CheckSheetValue(1, "A\"B\"", s), SheetValueStatus::Changed);
    EXPECT_EQ(s, "AB");
    EXPECT_EQ(CheckSheetValue(1, "上段\r\n端部\t", s),
              SheetValueStatus::Changed); // one line in the file
    EXPECT_EQ(s, "上段端部");
    // 21 full-width characters are 42 bytes: cut to 20 on the character boundary.
    EXPECT_EQ(CheckSheetValue(1, "あいうえおかきくけこさしすせそたちつてとな", s),
              SheetValueStatus::Changed);
    EXPECT_EQ(s, "あいうえおかきくけこさしすせそたちつてと");
    EXPECT_EQ(CheckSheetValue(1, std::string(39, 'x') + "あ", s), SheetValueStatus::Changed);
    EXPECT_EQ(s, std::string(39, 'x'));
    // Exactly 40 bytes is within the limit.
    EXPECT_EQ(CheckSheetValue(1, "あいうえおかきくけこさしすせそたちつてと", s),
              SheetValueStatus::Stored);
    EXPECT_EQ(CheckSheetValue(1, std::string(38, 'x') + "あ", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, std::string(38, 'x') + "あ");

    EXPECT_EQ(CheckSheetValue(2, "編集", s), SheetValueStatus::NoData);
    EXPECT_EQ(CheckSheetValue(3, "四辺固定版（６×４）", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "3");
    EXPECT_EQ(CheckSheetValue(4, " 底版ﾀｲﾌﾟ ", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "1");
    EXPECT_EQ(CheckSheetValue(5, "1", s), SheetValueStatus::UnknownItem);

    EXPECT_EQ(CheckSheetValue(6, "99.999", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "99.999");
    EXPECT_EQ(CheckSheetValue(6, "100", s), SheetValueStatus::OutOfRange);
    EXPECT_EQ(CheckSheetValue(6, "-0.001", s), SheetValueStatus::OutOfRange);
    EXPECT_EQ(CheckSheetValue(6, "4.5m", s), SheetValueStatus::NotANumber);
    EXPECT_EQ(CheckSheetValue(9, "1.234", s), SheetValueStatus::Stored); // two places
    EXPECT_EQ(s, "1.23");
    EXPECT_EQ(CheckSheetValue(10, "-1,234.50", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "-1234.5");
    EXPECT_EQ(CheckSheetValue(11, "10000", s), SheetValueStatus::OutOfRange);
    EXPECT_EQ(CheckSheetValue(11, "", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "");

    EXPECT_EQ(SheetInputHint(1), "入力範囲：40ﾊﾞｲﾄ以内の文字列");
    EXPECT_EQ(SheetInputHint(2), "");
    EXPECT_EQ(SheetInputHint(3), "入力範囲：(選択ﾘｽﾄ一覧より選択)");
    EXPECT_EQ(SheetInputHint(6), "入力範囲：0 ～ 99.999");
    EXPECT_EQ(SheetInputHint(8), "入力範囲：-999.99 ～ 999.99");
    EXPECT_EQ(SheetInputHint(10), "入力範囲：-9999.99 ～ 9999.99");
}

TEST(CaseSheet, RatioColumnStaysAFiniteNumberInRange) {
    EXPECT_EQ(SheetRatioText("2", "4"), "0.5");
    EXPECT_EQ(SheetRatioText("3.8", "4.6"), "0.826086956521739");
    EXPECT_EQ(SheetRatioText("2", "0"), "0");
    EXPECT_EQ(SheetRatioText("0", "0"), "0");
    EXPECT_EQ(SheetRatioText("99.999", "0.001"), "999.99");
    EXPECT_EQ(SheetDisplayText(8, "0.826086956521739"), "0.83");
}

TEST(CaseSheet, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.234, 2), 1.23);
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.225, 2), 1.22);
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.235, 2), 1.24);
    EXPECT_DOUBLE_EQ(RoundHalfEven(-2.345, 2), -2.34);
    EXPECT_DOUBLE_EQ(RoundHalfEven(1.2251, 2), 1.23);
}

TEST(CaseSheet, ClipboardBlocksAreTabSeparatedWithCrLfRows) {
    EXPECT_EQ(JoinClipboardBlock({{"a", "", "4.5"}, {"b", "x", "1"}}), "a\t\t4.5\r\nb\tx\t1\r\n");
    using Block = std::vector<std::vector<std::string>>;
    EXPECT_EQ(SplitClipboardBlock("a\t\t4.5\r\nb\tx\t1\r\n"),
              (Block{{"a", "", "4.5"}, {"b", "x", "1"}}));
    EXPECT_EQ(SplitClipboardBlock("a\tb\nc"), (Block{{"a", "b"}, {"c"}}));
    // A spreadsheet quotes a cell that holds a line end, a tab or a quote.
    EXPECT_EQ(SplitClipboardBlock("\"x\r\ny\"\t\"say \"\"hi\"\"\"\r\n"),
              (Block{{"x\r\ny", "say \"hi\""}}));
    EXPECT_EQ(SplitClipboardBlock(""), Block{});
    // Empty cells at the end of a row, with or without the last line end.
    EXPECT_EQ(SplitClipboardBlock("a\t\r\nb\t\t"), (Block{{"a", ""}, {"b", "", ""}}));
    EXPECT_EQ(SplitClipboardBlock("\t"), (Block{{"", ""}}));
    EXPECT_EQ(SheetClipboardText(3, "2"), "四辺固定版（８×４）");
    // An index past the last item is shown as it is stored.
    EXPECT_EQ(SheetDisplayText(4, "1"), "底版ﾀｲﾌﾟ");
    EXPECT_EQ(SheetDisplayText(4, "2"), "2");
    EXPECT_EQ(SheetClipboardText(6, "4.50"), "4.5");
}

TEST(SideRatioList, ReadsTheEntriesOfATableTypeInOrder) {
    TempDir dir;
    std::vector<std::string> lines = {"[FREE_8*4]", "Count=2",   "1=0.30",
                                      "2=0.35",     "[FIX_4*4]", "Count=11"};
    for (int i = 1; i <= 11; ++i) {
        if (i != 4) { // entry 4 missing: an empty item
            lines.push_back(std::to_string(i) + "=" + std::to_string(i) + ".00");
        }
    }
    lines.insert(lines.end(),
                 {"[FIX_8*4]", "Count=abc", "[FIX_6*4]", "Count=2.5", "[FREE_6*4]", "Count=-1"});
    WriteSjisLines(SideRatioListPath(dir.path()), lines);
    const std::string path = SideRatioListPath(dir.path());

    const auto fix44 = LoadSideRatioList(path, 4);
    ASSERT_EQ(fix44.size(), 11u);
    EXPECT_EQ(fix44[0], "1.00");
    EXPECT_EQ(fix44[3], "");
    EXPECT_EQ(fix44[9], "10.00"); // key "10", not "010"
    EXPECT_EQ(LoadSideRatioList(path, 0), (std::vector<std::string>{"0.30", "0.35"}));
    EXPECT_EQ(LoadSideRatioList(path, 7), LoadSideRatioList(path, 0)); // unknown index
    // A bad count, a missing section or file: an empty list.
    EXPECT_TRUE(LoadSideRatioList(path, 2).empty());
    EXPECT_TRUE(LoadSideRatioList(path, 3).empty());
    EXPECT_TRUE(LoadSideRatioList(path, 1).empty());
    EXPECT_TRUE(LoadSideRatioList(dir.file("none.ini"), 0).empty());
    // 999 entries at most.
    WriteSjisLines(path, {"[FIX_4*4]", "Count=999", "[FIX_6*4]", "Count=1000"});
    EXPECT_EQ(LoadSideRatioList(path, 4).size(), 999u);
    EXPECT_TRUE(LoadSideRatioList(path, 3).empty());
}

TEST(SideRatioList, DeliveredListIsAscendingForEveryType) {
    const std::string path = SideRatioListPath(ORMAVEX_SOURCE_DIR "/data");
    for (int index = 0; index <= 4; ++index) {
        const auto items = LoadSideRatioList(path, index);
        ASSERT_FALSE(items.empty()) << index;
        for (std::size_t i = 1; i < items.size(); ++i) {
            EXPECT_LT(std::stod(items[i - 1]), std::stod(items[i])) << index << " " << i;
        }
    }
}

TEST(SideRatioList, ProposesTheNextTabulatedRatio) {
    const std::vector<std::string> list = {"0.5", "1.0", "1.5", "2.0"};
    EXPECT_EQ(ProposeSideRatio(list, 1.5), 2);
    EXPECT_EQ(ProposeSideRatio(list, 1.4995), 2); // within 0.001 counts as equal
    EXPECT_EQ(ProposeSideRatio(list, 1.55), 3);
    EXPECT_EQ(ProposeSideRatio(list, 2.5), 3); // above all: the last
    EXPECT_EQ(ProposeSideRatio(list, RealSideRatio(3, 0.001)), 0);
    EXPECT_EQ(ProposeSideRatio({}, 1.0), -1);
    EXPECT_DOUBLE_EQ(RealSideRatio(3, 2), 1.5);
}
