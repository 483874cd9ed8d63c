// The text report writer: template sections, field filling counted in
// Shift_JIS bytes, heading numbers and prefixes, page breaks, print file lists.

#include "core/report/basResOutPrn.h"
#include "core/app/ProgramFolder.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteSjisLines;

namespace {

// ---------------------------------------------------------------- filling

struct FillCase {
    const char* name;
    std::string templ;
    std::vector<double> numbers;
    std::vector<std::string> texts;
    std::string expected; // UTF-8
};

void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }

class FillTemplateTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillTemplateTest, FillsFieldsWithoutChangingTheLineLength) {
    const FillCase& c = GetParam();
    NumberValues numbers;
    TextValues texts;
    for (std::size_t i = 0; i < c.numbers.size(); ++i) {
        numbers[static_cast<int>(i) + 1] = c.numbers[i];
    }
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
        texts[static_cast<int>(i) + 1] = c.texts[i];
    }
    const std::string bytes = FillTemplate(c.templ, numbers, texts);
    EXPECT_EQ(FromShiftJis(bytes), c.expected);
    EXPECT_EQ(bytes.size(), ShiftJisLength(c.templ));
    EXPECT_EQ(ToShiftJis(FromShiftJis(bytes)), bytes) << "not whole Shift_JIS characters";
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FillTemplateTest,
    ::testing::Values(
        FillCase{"NoFields", "版の大きさ Lx = 1.0 m", {}, {}, "版の大きさ Lx = 1.0 m"},
        FillCase{"PaddedLeft", "Lx=##0.00m", {3.5}, {}, "Lx=  3.50m"},
        FillCase{"FieldsTakeValuesInOrder", "#0.0 / #0.00", {1.25, 2.5}, {}, " 1.3 /  2.50"},
        FillCase{"PlusNegative", "+##0.00", {-1.25}, {}, "  -1.25"},
        FillCase{"PlusPositive", "+##0.00", {1.25}, {}, "  +1.25"},
        FillCase{"PlusZero", "+##0.00", {0.0}, {}, "  +0.00"},
        FillCase{"Grouping", "#,##0", {1234}, {}, "1,234"},
        FillCase{"WiderValueKeepsLeadingCharacters", "[#0.0]", {12345.6}, {}, "[1234]"},
        FillCase{"Backslash", "\\##0", {5}, {}, "  \\5"},
        FillCase{"NumberRunStopsAtOtherCharacters", "#0.0x0", {7}, {}, " 7.0x0"},
        FillCase{"FieldOnTrailByteOfDoubleByteCharacter", "表#", {7}, {}, "表7"},
        FillCase{"TextLeft", "[&  &]", {}, {"ab"}, "[ab  ]"},
        FillCase{"TextRight", "[&>  &]", {}, {"ab"}, "[   ab]"},
        FillCase{"EmptyTextBlanksTheMarkers", "[&xx&][!]", {}, {}, "[    ][ ]"},
        FillCase{"UnclosedAmpersandRunsToLineEnd", "A&bcd", {}, {"XY"}, "AXY  "},
        FillCase{"BangBeforeAmpersandIsLiteral", "!x&y&", {}, {"Q"}, "!xQ  "},
        FillCase{"BangAfterLastAmpersandIsAField", "&a&!", {}, {"P", "Q"}, "P  Q"},
        FillCase{"BangTakesTheFirstByte", "<!>", {}, {"xyz"}, "<x>"},
        FillCase{"TextCutAtFieldEnd", "&  &|", {}, {"漢字漢"}, "漢字|"},
        FillCase{"DoubleByteCutInTwoBecomesBlank", "&   &|", {}, {"漢字漢"}, "漢字 |"},
        FillCase{"NumberAndTextFieldsCountSeparately", "#:&&", {5}, {"Z"}, "5:Z "}),
    [](const ::testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

TEST(FillTemplate, RefusesNonFiniteValuesAndTooManyFields) {
    NumberValues numbers;
    const TextValues texts;
    numbers[1] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(FillTemplate("#0.00", numbers, texts), Error);
    numbers[1] = std::nan("");
    EXPECT_THROW(FillTemplate("#0.00", numbers, texts), Error);
    numbers[1] = 0.0;
    std::string many;
    for (int i = 0; i < 21; ++i) {
        many += "# ";
    }
    EXPECT_THROW(FillTemplate(many, numbers, texts), Error);
    many.resize(40);
    EXPECT_NO_THROW(FillTemplate(many, numbers, texts)) << "20 fields are allowed";
}

// ---------------------------------------------------------------- numbering

struct StyleCase {
    int style;
    int counterIn;
    const char* text;
    int counterOut;
};

class NumberInStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(NumberInStyleTest, WritesTheCountAndWrapsTheCounter) {
    const StyleCase& c = GetParam();
    int counter = c.counterIn;
    EXPECT_EQ(NumberInStyle(c.style, counter), c.text);
    EXPECT_EQ(counter, c.counterOut);
}

INSTANTIATE_TEST_SUITE_P(Styles, NumberInStyleTest,
                         ::testing::Values(StyleCase{1, 5, "5", 5}, StyleCase{1, 99, "99", 99},
                                           StyleCase{1, 100, "1", 1}, StyleCase{2, 99, "(99)", 99},
                                           StyleCase{2, 150, "(1)", 1}, StyleCase{3, 3, "3)", 3},
                                           StyleCase{4, 26, "(z)", 26}, StyleCase{4, 27, "(a)", 1},
                                           StyleCase{5, 2, "b)", 2}, StyleCase{6, 4, "(iv)", 4},
                                           StyleCase{6, 11, "(i)", 1}, StyleCase{7, 10, "x)", 10},
                                           StyleCase{8, 20, "⑳", 20}, StyleCase{8, 21, "①", 1},
                                           StyleCase{9, 500, "･", 500}, StyleCase{0, 3, "", 3},
                                           StyleCase{10, 3, "", 3}, StyleCase{1, 0, "", 0},
                                           StyleCase{4, -1, "", -1}));

struct HeadingCase {
    const char* name;
    int method;
    std::array<int, 4> styles;
    std::array<int, 4> margins;
    std::vector<int> levels;
    std::vector<std::string> prefixes;
};

void PrintTo(const HeadingCase& c, std::ostream* os) { *os << c.name; }

class HeadingPrefixTest : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(HeadingPrefixTest, NumbersHeadingsAndIndentsBodyLines) {
    const HeadingCase& c = GetParam();
    ReportState state;
    ResetReportRun(state);
    state.method = c.method;
    for (int k = 1; k <= 4; ++k) {
        state.styles[k] = c.styles[static_cast<std::size_t>(k - 1)];
        state.margins[k] = c.margins[static_cast<std::size_t>(k - 1)];
    }
    std::vector<std::string> got;
    for (int level : c.levels) {
        got.push_back(HeadingPrefix(state, level));
    }
    EXPECT_EQ(got, c.prefixes);
}

INSTANTIATE_TEST_SUITE_P(
    Methods, HeadingPrefixTest,
    ::testing::Values(
        HeadingCase{"HyphenJoinsSectionToChapter",
                    2,
                    {1, 1, 0, 0},
                    {0, 0, 0, 0},
                    {1, 1, 2},
                    {"?R11. ", "?R12. ", "?R22-1 "}},
        HeadingCase{"SectionBeforeAnyChapterStartsWithHyphen",
                    2,
                    {1, 1, 0, 0},
                    {0, 0, 0, 0},
                    {2},
                    {"?R2-1 "}},
        HeadingCase{"PeriodAndCounterReset",
                    3,
                    {1, 1, 0, 0},
                    {0, 0, 0, 0},
                    {1, 2, 2, 1, 2},
                    {"?R11. ", "?R21.1 ", "?R21.2 ", "?R12. ", "?R22.1 "}},
        HeadingCase{"UnknownMethodActsAsPeriod",
                    7,
                    {1, 1, 0, 0},
                    {0, 0, 0, 0},
                    {1, 2},
                    {"?R11. ", "?R21.1 "}},
        HeadingCase{"OwnNumbers",
                    1,
                    {1, 2, 3, 4},
                    {0, 0, 0, 0},
                    {1, 2, 3, 4},
                    {"?R11 ", "?R2(1) ", "1) ", "(a) "}},
        HeadingCase{"DeeperLevelsShowOnlyTheirOwnNumber",
                    2,
                    {1, 1, 2, 8},
                    {0, 0, 0, 0},
                    {1, 2, 3, 4, 4},
                    {"?R11. ", "?R21-1 ", "(1) ", "① ", "② "}},
        HeadingCase{"LevelFiveHasNoStyle", 2, {1, 1, 1, 1}, {0, 0, 0, 0}, {5}, {" "}},
        HeadingCase{"NoNumbering",
                    0,
                    {1, 1, 1, 1},
                    {2, 4, 6, 8},
                    {1, 2, 3, 0},
                    {"  ?R1", "    ?R2", "      ", "    "}},
        HeadingCase{"BodyFollowsTheCurrentLevel",
                    2,
                    {1, 1, 1, 1},
                    {1, 3, 5, 7},
                    {0, 1, 0, 2, 0, 3, 0},
                    {"   ", " ?R11. ", "   ", "   ?R21-1 ", "     ", "     1 ", "       "}},
        HeadingCase{
            "NegativeMarginCountsAsZero", 1, {1, 0, 0, 0}, {-3, 0, 0, 0}, {1, 0}, {"?R11 ", "  "}}),
    [](const ::testing::TestParamInfo<HeadingCase>& info) { return std::string(info.param.name); });

TEST(HeadingNumbers, The27thLetterHeadingStartsAgainAtA) {
    ReportState state;
    state.method = 2;
    state.styles[3] = 1;
    state.styles[4] = 4;
    HeadingNumberText(state, 3);
    std::string text;
    for (int i = 0; i < 27; ++i) {
        text = HeadingNumberText(state, 4);
    }
    EXPECT_EQ(text, "(a) ");
    EXPECT_EQ(HeadingNumberText(state, 4), "(b) ");
    EXPECT_EQ(state.currentLevel, 4);
}

TEST(HeadingNumbers, LevelsOutsideZeroToFiveFail) {
    ReportState state;
    EXPECT_THROW(HeadingPrefix(state, 6), Error);
    EXPECT_THROW(HeadingPrefix(state, -1), Error);
}

TEST(HeadingNumbers, SettingsComeFromTheChapterSection) {
    TempDir dir;
    WriteSjisLines(dir.file("Kivet.ini"), {"[Chapter]", "Method=2", "Style1=1", "Style2=4",
                                           "Margin1=3", "Margin4=9", "[Other]", "Style3=5"});
    ReportState state;
    state.styles[3] = 7;
    LoadNumberingSettings(state, dir.file("Kivet.ini"));
    EXPECT_EQ(state.method, 2);
    EXPECT_EQ(state.styles[1], 1);
    EXPECT_EQ(state.styles[2], 4);
    EXPECT_EQ(state.styles[3], 0) << "a missing key reads as 0";
    EXPECT_EQ(state.margins[1], 3);
    EXPECT_EQ(state.margins[4], 9);
    LoadNumberingSettings(state, dir.file("missing.ini"));
    EXPECT_EQ(state.method, 0);
}

// ---------------------------------------------------------------- sections

class TemplateSectionTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("Kivet.fmt");
    LevelTable levels;
    TemplateTable templates;
};

TEST_F(TemplateSectionTest, ReadsLinesAtTheirNumbersAndKeepsTheRest) {
    WriteSjisLines(path, {"ﾀｲﾄﾙ(2桁)x", "  9 0wrong section", "End", "ﾀｲﾄﾙ(2桁)", "' comment",
                          "  2 0二行目", " 10,3十行目 Lx=##0.00", "1   1", " 20 2末行", "End",
                          "  5 0after End"});
    levels[5] = 4;
    templates[5] = "kept";
    EXPECT_EQ(ReadTemplateSection(path, "ﾀｲﾄﾙ(2桁)", levels, templates), 4);
    EXPECT_EQ(templates[2], "二行目");
    EXPECT_EQ(levels[2], 0);
    EXPECT_EQ(templates[10], "十行目 Lx=##0.00");
    EXPECT_EQ(levels[10], 3);
    EXPECT_EQ(templates[1], "");
    EXPECT_EQ(levels[1], 1);
    EXPECT_EQ(templates[20], "末行") << "20 is the last line number";
    EXPECT_EQ(levels[20], 2);
    EXPECT_EQ(templates[5], "kept");
    EXPECT_EQ(levels[5], 4);
    EXPECT_EQ(templates[9], "") << "lines of another section are not read";
}

TEST_F(TemplateSectionTest, UnreadableSectionsFail) {
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "no file";
    WriteSjisLines(path, {"A", "  1 0x", "End"});
    EXPECT_THROW(ReadTemplateSection(path, "B", levels, templates), Error) << "no section";
    WriteSjisLines(path, {"A", "  1 0x"});
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "no End";
    WriteSjisLines(path, {"A", "  1 0x", "", "End"});
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "empty line";
    WriteSjisLines(path, {"A", " 21 0x", "End"});
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "line 21";
    WriteSjisLines(path, {"A", "  0 0x", "End"});
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "line 0";
    WriteSjisLines(path, {"A", "abc0x", "End"});
    EXPECT_THROW(ReadTemplateSection(path, "A", levels, templates), Error) << "no number";
}

TEST_F(TemplateSectionTest, TheDeliveredFormatFileHasBothSections) {
    const std::string fmt = std::string(ORMAVEX_SOURCE_DIR) + "/data/Kivet.fmt";
    const std::string bytes = ReadBytes(fmt);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(ToShiftJis(FromShiftJis(bytes)), bytes) << "not plain Shift_JIS";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line end at byte " << i;
        }
    }
    for (const char* section : {"ﾀｲﾄﾙ(2桁)", "ﾀｲﾄﾙ(3桁)"}) {
        SCOPED_TRACE(section);
        LevelTable lv;
        TemplateTable tp;
        ASSERT_EQ(ReadTemplateSection(fmt, section, lv, tp), 10);
        EXPECT_EQ(lv[1], 1);
        NumberValues numbers;
        const TextValues texts;
        // Lines 4 and 6 have one number field, line 5 two; no text fields.
        for (int k = 2; k <= 10; ++k) {
            EXPECT_EQ(tp[k].find_first_of("&!"), std::string::npos) << "line " << k;
            EXPECT_FALSE(tp[k].empty()) << "line " << k;
        }
        numbers[1] = 1.0;
        numbers[2] = 2.0;
        numbers[3] = 3.0;
        const std::string line5 = FromShiftJis(FillTemplate(tp[5], numbers, texts));
        EXPECT_NE(line5.find("1.00"), std::string::npos) << line5;
        EXPECT_NE(line5.find("2.00"), std::string::npos) << line5;
        EXPECT_EQ(line5.find("3.00"), std::string::npos) << line5;
        const std::string line4 = FromShiftJis(FillTemplate(tp[4], numbers, texts));
        EXPECT_NE(
            line4.find(std::string(section).find('3') != std::string::npos ? "1.000" : "1.00"),
            std::string::npos)
            << line4;
        EXPECT_EQ(line4.find("2.0"), std::string::npos) << line4;
    }
}

// ---------------------------------------------------------------- files

class PrintFileTest : public ::testing::Test {
protected:
    void SetUp() override { lists.folder = dir.path(); }
    std::size_t FilesInTmp() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
            ++n;
        }
        return n;
    }

    TempDir dir;
    PrintFileLists lists;
};

TEST_F(PrintFileTest, TemporaryNamesAreUniqueEmptyFilesInTheListsFolder) {
    const std::string a = NewTextPrintFile(lists);
    TextOutFile out;
    const std::string b = NewDrawingPrintFile(lists, out);
    EXPECT_NE(a, b);
    for (const std::string& p : {a, b}) {
        EXPECT_EQ(p.rfind(dir.path() + "/~MT", 0), 0u) << p;
        EXPECT_EQ(p.substr(p.size() - 4), ".tmp");
        EXPECT_TRUE(std::filesystem::is_regular_file(p));
        EXPECT_EQ(std::filesystem::file_size(p), 0u);
    }

#ifndef _WIN32 // Windows takes it from GetTempPath
    // The programs take the folder from TMPDIR, without trailing slashes.
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TMPDIR", (dir.path() + "//").c_str(), 1);
    EXPECT_EQ(TemporaryFolder(), dir.path());
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(TemporaryFolder(), "/tmp");
    if (old != nullptr) {
        ::setenv("TMPDIR", saved.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
#endif
}

TEST_F(PrintFileTest, ListsRefuseThe21stTextAndThe298thDrawingFile) {
    TextOutFile out;
    for (int i = 0; i < MaxTextPrintFiles; ++i) {
        NewTextPrintFile(lists);
    }
    EXPECT_THROW(NewTextPrintFile(lists), Error);
    EXPECT_EQ(lists.textCount, 20);
    for (int i = 0; i < MaxDrawingPrintFiles; ++i) {
        NewDrawingPrintFile(lists, out);
    }
    EXPECT_THROW(NewDrawingPrintFile(lists, out), Error);
    EXPECT_EQ(lists.drawingCount, 297);
    EXPECT_EQ(FilesInTmp(), 20u + 297u) << "a refused request leaves no file behind";
}

TEST_F(PrintFileTest, LinesGoThroughTheOpenHandle) {
    ReportState state;
    state.lists.folder = dir.path();
    state.method = 2;
    state.styles[1] = 1;
    state.margins[1] = 1;
    state.currentPrintFile = NewTextPrintFile(state.lists);
    OpenPrintFile(state);
    PrintHeadingPrefix(state, 1);
    PrintLine(state, "表題");
    PrintBlankLines(state, 2);
    NumberValues numbers;
    numbers[1] = 4.5;
    PrintTemplateLine(state, "Lx = ##0.00 m", 0, numbers, TextValues());
    ClosePrintFile(state);
    AppendPageBreak(state);
    AppendPageBreak(state);
    EXPECT_EQ(ReadBytes(state.currentPrintFile),
              " ?R11. " + ToShiftJis("表題") + "\r\n\r\n\r\n   Lx =   4.50 m\r\n\f\f");
}

TEST_F(PrintFileTest, WriteFailuresAreRaisedButPageBreaksIgnoreThem) {
    ReportState state;
    state.currentPrintFile = dir.file("no-folder/x.tmp");
    EXPECT_THROW(OpenPrintFile(state), Error);
    EXPECT_NO_THROW(AppendPageBreak(state));
    EXPECT_FALSE(state.out.isOpen());
    EXPECT_THROW(PrintLine(state, "x"), Error) << "no file open";

    if (std::filesystem::exists("/dev/full")) {
        state.currentPrintFile = "/dev/full";
        OpenPrintFile(state);
        PrintLine(state, "x"); // buffered
        EXPECT_THROW(ClosePrintFile(state), Error);
    }
}

} // namespace
