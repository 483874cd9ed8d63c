// The sheet's value checks and clipboard text, the side-ratio list and its check.
#include "core/cases/CaseSheet.h"
#include "core/cases/SideRatioCheck.h"
#include "core/cases/SideRatioList.h"
#include "core/text/WidthFold.h"
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
    // A span is above 0: nothing, 0 and negative spans are refused.
    for (const char* bad : {"-0.001", "0", "0.0005", "", " "}) { // 0.0005 rounds to 0
        EXPECT_EQ(CheckSheetValue(6, bad, s), SheetValueStatus::NotPositive) << bad;
        EXPECT_EQ(CheckSheetValue(7, bad, s), SheetValueStatus::NotPositive) << bad;
    }
    EXPECT_EQ(CheckSheetValue(7, "0.0006", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "0.001");
    EXPECT_EQ(CheckSheetValue(6, "4.5m", s), SheetValueStatus::NotANumber);
    EXPECT_EQ(CheckSheetValue(9, "1.234", s), SheetValueStatus::Stored); // two places
    EXPECT_EQ(s, "1.23");
    EXPECT_EQ(CheckSheetValue(10, "-1,234.50", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "-1234.5");
    EXPECT_EQ(CheckSheetValue(11, "10000", s), SheetValueStatus::OutOfRange);
    // An emptied cell takes its new-row value; Lx/Ly is left to the row.
    for (const auto& [column, value] : {std::pair{11, "0"}, {9, "1"}, {3, "0"}, {8, ""}}) {
        EXPECT_EQ(CheckSheetValue(column, " ", s), SheetValueStatus::Stored) << column;
        EXPECT_EQ(s, value) << column;
    }

    EXPECT_EQ(SheetInputHint(1), "入力範囲：40ﾊﾞｲﾄ以内の文字列");
    EXPECT_EQ(SheetInputHint(2), "");
    EXPECT_EQ(SheetInputHint(3), "入力範囲：(選択ﾘｽﾄ一覧より選択)");
    EXPECT_EQ(SheetInputHint(6), "入力範囲：0.001 ～ 99.999");
    EXPECT_EQ(SheetInputHint(8), "入力範囲：-999.99 ～ 999.99");
    EXPECT_EQ(SheetInputHint(10), "入力範囲：-9999.99 ～ 9999.99");
}

TEST(CaseSheet, FoldsFullAndHalfWidthFormsBeforeTheCheck) {
    EXPECT_EQ(FoldWidth("１５０．５　－Ａｂ"), "150.5 -Ab");
    EXPECT_EQ(FoldWidth("ﾃﾞｰﾀﾀｲﾌﾟｶﾞｳﾞﾎﾟﾜﾞ"), "データタイプガヴポヷ");
    EXPECT_EQ(FoldWidth("はﾟかﾞｶﾞ"), "ぱがガ");      // a half-width mark joins any kana
    EXPECT_EQ(FoldWidth("ﾞｱ ﾟ"), "\u3099ア \u309A"); // nothing to join: the combining mark
    EXPECT_EQ(FoldWidth("底版（８×４）"), "底版(8×4)");
    EXPECT_EQ(FoldWidth("a\xff\xe3"), "a\xff\xe3"); // broken bytes kept

    // Each choice column by its documented forms, in either width.
    struct Case {
        int column;
        const char* offered;
        const char* index; // nullptr: refused
    };
    const Case cases[] = {
        {3, "四辺固定版（６×４）", "3"},
        {3, "四辺固定版(6×4)", "3"},
        {3, "四辺固定 ４x４", "4"},
        {3, "三辺固定一辺自由（６×４）", "1"}, // the condition dialog's caption
        {3, "fix_8*4", "2"},
        {3, "２", "2"},
        {3, "5", nullptr},
        {3, "四辺固定", nullptr},
        {4, " 底版ﾀｲﾌﾟ ", "1"},
        {4, "底版タイプ", "1"},
        {4, "側壁", "0"},
        {4, "ｿｸﾍｷ", nullptr},
        {4, "1", "1"},
        {4, "2", nullptr},
        {5, "３桁", "1"},
        {5, "3桁", "1"},
        {5, "2", "0"},
        {5, "３", "1"},
        {5, "1", nullptr}, // not an index: "2" means ２桁
        {5, "0", nullptr},
    };
    for (const Case& c : cases) {
        std::string s;
        const SheetValueStatus status = CheckSheetValue(c.column, c.offered, s);
        if (c.index) {
            EXPECT_EQ(status, SheetValueStatus::Stored) << c.offered;
            EXPECT_EQ(s, c.index) << c.offered;
        } else {
            EXPECT_EQ(status, SheetValueStatus::UnknownItem) << c.offered;
        }
    }
    // Numbers typed with the input method on, and the minus sign U+2212.
    std::string s;
    EXPECT_EQ(CheckSheetValue(6, "１５．５", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "15.5");
    EXPECT_EQ(CheckSheetValue(10, "－１，２３４．５", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "-1234.5");
    EXPECT_EQ(CheckSheetValue(11, "\u22123.5", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "-3.5");
    EXPECT_EQ(CheckSheetValue(7, "－１", s), SheetValueStatus::NotPositive);
    // Titles are the user's own text: kept as typed.
    EXPECT_EQ(CheckSheetValue(1, "ｹｰｽ１（Ａ）", s), SheetValueStatus::Stored);
    EXPECT_EQ(s, "ｹｰｽ１（Ａ）");
}

TEST(CaseSheet, PutAndClearKeepTheRatioAndTheSpans) {
    SheetRow row = {"前壁", "", "2", "1", "1", "3", "2", "1.5", "1.5", "20", "10"};
    EXPECT_EQ(PutSheetValue(row, SheetCol::Ly, "４"), SheetValueStatus::Stored);
    EXPECT_EQ(row[SheetCol::Ratio], "0.75");
    EXPECT_EQ(PutSheetValue(row, SheetCol::Ratio, "9"), SheetValueStatus::Stored); // typed: kept
    EXPECT_EQ(row[SheetCol::Ratio], "9");
    EXPECT_EQ(PutSheetValue(row, SheetCol::Ratio, ""),
              SheetValueStatus::Stored); // emptied: computed
    EXPECT_EQ(row[SheetCol::Ratio], "0.75");
    EXPECT_EQ(PutSheetValue(row, SheetCol::Lx, "0"), SheetValueStatus::NotPositive);
    EXPECT_EQ(row[SheetCol::Lx], "3");

    SheetRow cleared = row;
    EXPECT_FALSE(ClearSheetCells(cleared, SheetCol::Lambda, SheetCol::QB));
    EXPECT_EQ(cleared[SheetCol::Lambda] + "|" + cleared[SheetCol::QA] + "|" + cleared[SheetCol::QB],
              "1|0|0");
    EXPECT_TRUE(ClearSheetCells(cleared, SheetCol::Title, SheetCol::Ratio));
    EXPECT_EQ(cleared, (SheetRow{"", "", "0", "0", "0", "3", "4", "0.75", "1", "0", "0"}));
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

TEST(SideRatioCheck, MarksAtMoreThanOneStepOnlyAndNamesTheNearestRatio) {
    const std::vector<double> list = {0.80, 0.85, 0.90, 0.95, 1.00};
    struct Row {
        double lambda, lx, ly;
        SideRatioMark mark;
    };
    const Row rows[] = {
        {0.90, 4.5, 5.0, SideRatioMark::None},
        {0.95, 4.5, 5.0, SideRatioMark::None}, // exactly one step above
        {0.85, 4.5, 5.0, SideRatioMark::None}, // one step below: 0.9 - 0.85 > 0.05 in binary
        {0.95, 4.499, 5.0, SideRatioMark::FarFromSpans},
        {0.85, 4.501, 5.0, SideRatioMark::FarFromSpans},
        {0.90, 4.8, 5.0, SideRatioMark::FarFromSpans}, // the stale λ after Lx changed
        {0.93, 4.65, 5.0, SideRatioMark::NotListed},
        {0.90, 0.0, 5.0, SideRatioMark::NoSpans},
        {0.90, 4.5, -1.0, SideRatioMark::NoSpans},
    };
    for (const Row& r : rows) {
        const SideRatioFinding f = CheckSideRatio(r.lambda, r.lx, r.ly, list);
        EXPECT_EQ(f.mark, r.mark) << r.lambda << " " << r.lx << "/" << r.ly;
        EXPECT_EQ(f.reason.empty(), r.mark == SideRatioMark::None) << f.reason;
    }
    const SideRatioFinding stale = CheckSideRatio(0.90, 4.8, 5.0, list);
    EXPECT_EQ(stale.reason, "λ = 0.90 が実辺長比 Lx/Ly = 0.96 と 0.05 を超えて違います"
                            "（最も近い計算数表の λ：0.95）");
    // Two decimals would show 0.90 one step from 0.95: the reason shows more.
    EXPECT_EQ(CheckSideRatio(0.95, 4.499, 5.0, list).reason,
              "λ = 0.95 が実辺長比 Lx/Ly = 0.8998 と 0.05 を超えて違います"
              "（最も近い計算数表の λ：0.90）");
    EXPECT_EQ(CheckSideRatio(0.85, 4.501, 5.0, list).ratioText, "0.9002");
    EXPECT_EQ(CheckSideRatio(0.95, 4.5, 5.0, list).ratioText, "0.90");
    EXPECT_EQ(CheckSideRatio(0.90, 0.0, 5.0, list).ratioText, "－");
    EXPECT_EQ(CheckSideRatio(0.93, 4.65, 5.0, list).reason,
              "λ = 0.93 は計算数表にない辺長比です（最も近い計算数表の λ：0.95）");
    // Nearest: half-way goes up, beyond the ends the end, an empty list none.
    EXPECT_EQ(NearestSideRatio(list, 0.925), 3);
    EXPECT_EQ(NearestSideRatio(list, 0.924), 2);
    EXPECT_EQ(NearestSideRatio(list, 3.0), 4);
    EXPECT_EQ(NearestSideRatio({}, 1.0), -1);
    EXPECT_EQ(CheckSideRatio(0.93, 4.65, 5.0, {}).mark, SideRatioMark::None); // list unknown

    // The delivered lists and a case table: the sample's first case is within a step.
    CaseTable cases;
    cases.CaseCount = 2;
    for (int c = 1; c <= 2; ++c) {
        cases.setDefaults(c);
    }
    cases.cell(1, 5) = 4.5;
    cases.cell(1, 6) = 5.0;
    cases.cell(1, 8) = 0.9;
    cases.cell(2, 5) = 4.8;
    cases.cell(2, 6) = 5.0;
    cases.cell(2, 8) = 0.9;
    const auto marked = MarkedCases(cases, SideRatioLists::Load(ORMAVEX_SOURCE_DIR "/data"));
    ASSERT_EQ(marked.size(), 1U);
    EXPECT_EQ(marked[0].caseNo, 2);
    EXPECT_DOUBLE_EQ(marked[0].finding.nearest, 0.95);
}
