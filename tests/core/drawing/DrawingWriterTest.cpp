// The drawing command writer: style files, text measurement, dimension lines,
// the drawing command file byte for byte and the figure placement.

#include "core/drawing/FixedNumber.h"
#include "core/drawing/basResOutPrnZ.h"
#include "core/text/NumberPicture.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>

using namespace ormavex;
using namespace ormavex::test;

namespace {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        d.SizeTables();
        // Text style 1 of 240 twips (4.2333 mm), style 2 of 180 twips (3.175 mm).
        WriteSjisLines(dir.file("STR_PRN.DEF"),
                       {"' test styles", "T1, 1, \"A\", 240, 0, 0, 0, \"one\"",
                        "T2, 1, \"B\", 180, 0, 0, 0, \"two\"", "END"});
        d.ReadTextStyles(dir.file("STR_PRN.DEF"));
    }

    TempDir dir;
    DrawingContext d;
};

constexpr double H240 = 240.0 / 1440.0 * 25.4;
constexpr double H180 = 180.0 / 1440.0 * 25.4;

// --- fixed numbers ------------------------------------------------------

// The rounding rule written out plainly, as an oracle for the integer
// arithmetic both formatters share: the 15 significant digits printf gives,
// then half away from zero at the decimals.
std::string PlainRounding(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
    int intDigits = std::atoi(buf + 17) + 1; // digits before the point
    if (v == 0.0) {
        digits = "0";
        intDigits = 1;
    }
    if (intDigits <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - intDigits), '0');
        intDigits = 1;
    }
    const std::size_t keep = static_cast<std::size_t>(intDigits + decimals);
    digits.resize(std::max(digits.size(), keep + 1), '0');
    std::string kept = digits.substr(0, keep);
    if (digits[keep] >= '5') {
        std::size_t k = kept.size();
        while (k > 0 && kept[k - 1] == '9') {
            kept[--k] = '0';
        }
        if (k == 0) {
            kept.insert(0, "1");
            ++intDigits;
        } else {
            ++kept[k - 1];
        }
    }
    std::string whole = kept.substr(0, static_cast<std::size_t>(intDigits));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    const std::string sign = v < 0.0 && kept.find_first_not_of('0') != std::string::npos ? "-" : "";
    return sign + whole +
           (decimals > 0 ? "." + kept.substr(static_cast<std::size_t>(intDigits)) : "");
}

// The fast formatter of the command file must agree with the picture
// formatter and with the plain rule everywhere: halves, carries into a new
// digit, values that round to zero, large and tiny magnitudes.
TEST(FixedNumber, AgreesWithThePictureFormatter) {
    std::vector<double> values = {0.0,    -0.0,   0.5,    -0.5,       1.005,      -1.005,
                                  2.675,  9.995,  -9.995, 99.9999995, 0.004999,   -0.004999,
                                  0.005,  -0.005, 1e-7,   -4.9e-7,    5e-7,       123456789.125,
                                  -62.65, 95.3,   141.25, 1e15,       -3.0000005, 0.1 + 0.2};
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-9, 9);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
        // Exact halves at the 2nd and 6th decimal.
        values.push_back(std::round(mantissa(rng) * 1e4) / 1e4 + 0.005);
        values.push_back(std::round(mantissa(rng) * 1e6) / 1e6 + 5e-7);
        // Just beside the halves, where the 15-digit step decides.
        values.push_back(std::nextafter(std::round(mantissa(rng) * 1e4) / 1e4 + 0.005, 0.0));
        values.push_back(
            std::ldexp(static_cast<double>(rng() % (1ULL << 40)), -static_cast<int>(rng() % 20)));
    }
    for (double v : values) {
        for (auto [decimals, picture] :
             {std::pair{2, "###0.00"}, {6, "###0.000000"}, {0, "###0"}}) {
            std::string s;
            AppendFixedNumber(s, v, decimals);
            ASSERT_EQ(s, FormatNumber(v, picture)) << v << " " << picture;
            ASSERT_EQ(s, PlainRounding(v, decimals)) << v << " " << picture;
        }
    }
}

// Every six-digit fraction, with one to three digits before the point and
// either sign: the digits are written in parallel lanes.
TEST(FixedNumber, WritesEveryFractionDigitOfSixDecimals) {
    for (int f = 0; f < 1000000; ++f) {
        const bool negative = f % 2 == 1;
        std::string s;
        AppendFixedNumber(s, (negative ? -1.0 : 1.0) * (f % 1000 + f * 1e-6), 6);
        const std::string fraction = std::to_string(f);
        ASSERT_EQ(s, (negative ? "-" : "") + std::to_string(f % 1000) + "." +
                         std::string(6 - fraction.size(), '0') + fraction)
            << f;
    }
}

// --- style files --------------------------------------------------------

TEST_F(DrawingTest, ReadsStyleFilesAsAFieldSequenceWhateverTheLineLayout) {
    // The first line is skipped whole even when it looks like a record; a
    // record may run over several lines; a non-number integer reads as 0.
    WriteSjisLines(dir.file("LINE_PRN.DEF"), {"L0, 99, 99, \"skipped\"", "L1, 18, 0, \"細実線\"",
                                              "L2, 35,", "  1 , \"x\"", "L3, abc, 2, y", "END"});
    d.ReadLineStyles(dir.file("LINE_PRN.DEF"));
    ASSERT_EQ(d.LineStyles.count(), 3);
    EXPECT_EQ(d.LineStyles[1].width, 18);
    EXPECT_EQ(d.LineStyles[2].width, 35);
    EXPECT_EQ(d.LineStyles[2].dash, 1);
    EXPECT_EQ(d.LineStyles[3].width, 0);
    EXPECT_EQ(d.LineStyles[3].dash, 2);

    ASSERT_EQ(d.TextStyles.count(), 2);
    EXPECT_EQ(d.TextStyles[1].height, 240);
    EXPECT_EQ(d.TextStyles[2].fontName, "B");
    EXPECT_EQ(d.TextStyles[2].height, 180);
}

TEST_F(DrawingTest, RejectsBrokenStyleFiles) {
    // Missing file.
    EXPECT_THROW(d.ReadLineStyles(dir.file("NONE.DEF")), Error);
    // No "END" (and "end" is not it).
    WriteSjisLines(dir.file("A.DEF"), {"'", "L1, 1, 1, a", "end"});
    EXPECT_THROW(d.ReadLineStyles(dir.file("A.DEF")), Error);
    // A record cut short by the end of the file.
    WriteSjisLines(dir.file("B.DEF"), {"'", "L1, 1"});
    EXPECT_THROW(d.ReadLineStyles(dir.file("B.DEF")), Error);
    // A 10th line style.
    std::vector<std::string> lines = {"'"};
    for (int i = 1; i <= 10; ++i) {
        lines.push_back("L, 1, 1, x");
    }
    lines.push_back("END");
    WriteSjisLines(dir.file("C.DEF"), lines);
    EXPECT_THROW(d.ReadLineStyles(dir.file("C.DEF")), Error);
    lines.erase(lines.begin() + 1); // nine are fine
    WriteSjisLines(dir.file("C.DEF"), lines);
    EXPECT_NO_THROW(d.ReadLineStyles(dir.file("C.DEF")));
    EXPECT_EQ(d.LineStyles.count(), 9);
    // A 4th text style.
    WriteSjisLines(dir.file("D.DEF"),
                   {"'", "T, 1, a, 240, 0, 0, 0, x", "T, 1, a, 240, 0, 0, 0, x",
                    "T, 1, a, 240, 0, 0, 0, x", "T, 1, a, 240, 0, 0, 0, x", "END"});
    EXPECT_THROW(d.ReadTextStyles(dir.file("D.DEF")), Error);
}

TEST(DeliveredStyleFiles, HoldNineLineStylesAndThreeTextStyles) {
    DrawingContext d;
    d.SizeTables();
    const std::string data = std::string(ORMAVEX_SOURCE_DIR) + "/data/";
    d.ReadLineStyles(data + "LINE_PRN.DEF");
    d.ReadTextStyles(data + "STR_PRN.DEF");
    EXPECT_EQ(d.LineStyles.count(), 9);
    ASSERT_EQ(d.TextStyles.count(), 3);
    EXPECT_EQ(d.TextStyles[2].height, 180);
    EXPECT_EQ(d.TextStyles[3].height, 120); // moments too long for their grid
    // Shift_JIS with CR LF: every LF has its CR and the text is not UTF-8.
    for (const char* name : {"LINE_PRN.DEF", "STR_PRN.DEF"}) {
        const std::string bytes = ReadBytes(data + name);
        std::size_t lf = 0;
        std::size_t crlf = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                ++lf;
                crlf += i > 0 && bytes[i - 1] == '\r';
            }
        }
        EXPECT_GT(lf, 2u) << name;
        EXPECT_EQ(lf, crlf) << name;
        EXPECT_EQ(ToShiftJis(FromShiftJis(bytes)), bytes) << name;
        EXPECT_EQ(bytes.find("\xE7\xB7\x9A"), std::string::npos) << name; // UTF-8 "線"
    }
}

// --- text measurement ---------------------------------------------------

TEST_F(DrawingTest, TextWidthCountsFullWidthAsHighAndHalfWidthAsHalf) {
    EXPECT_DOUBLE_EQ(TwipsToMm(240), H240);
    EXPECT_NEAR(TwipsToMm(240), 4.2333, 1e-4);
    EXPECT_DOUBLE_EQ(d.TextWidth(1, "CL"), H240);
    EXPECT_DOUBLE_EQ(d.TextWidth(1, "①"), H240);
    EXPECT_DOUBLE_EQ(d.TextWidth(1, "QA=12.50kN/㎡"), 6.5 * H240);
    EXPECT_DOUBLE_EQ(d.TextWidth(1, "ｹｰｿﾝ"), 2.0 * H240);   // half-width katakana
    EXPECT_DOUBLE_EQ(d.TextWidth(2, "Ｍy  Ⅱ"), 3.5 * H180); // 2 full, 3 half
    EXPECT_DOUBLE_EQ(d.TextWidth(2, ""), 0.0);
    EXPECT_THROW(d.TextWidth(3, "x"), Error);
    EXPECT_THROW(d.TextWidth(0, "x"), Error);
}

// --- dimension lines ----------------------------------------------------

TEST_F(DrawingTest, HorizontalDimensionBelowThePoints) {
    d.AddPoint(0.0, 0.0);
    d.AddPoint(40.0, -2.0);
    d.AddHorizontalDimension(1, 2, -10.0, 2, "ab", "11111U"); // level 2: 5 mm lower
    ASSERT_EQ(d.Points.count(), 8);
    const double expected[6][2] = {{0, -1}, {0, -15}, {0, -16}, {40, -3}, {40, -15}, {40, -16}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(d.Points[3 + i].x, expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(d.Points[3 + i].y, expected[i][1]) << i;
    }
    // Extension lines at A and B, then the dimension line; arrows at its ends.
    const std::vector<std::pair<int, int>> lines = {{3, 5}, {6, 8}, {4, 7}};
    ASSERT_EQ(d.Lines.count(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(std::pair(d.Lines[i].point1, d.Lines[i].point2), lines[i - 1]) << i;
    }
    ASSERT_EQ(d.Arrows.count(), 2);
    EXPECT_EQ(std::pair(d.Arrows[1].point, d.Arrows[1].direction), std::pair(4, Direction::Left));
    EXPECT_EQ(std::pair(d.Arrows[2].point, d.Arrows[2].direction), std::pair(7, Direction::Right));
    ASSERT_EQ(d.Texts.count(), 1);
    EXPECT_EQ(d.Texts[1].style, 2);
    EXPECT_EQ(d.Texts[1].direction, Direction::Right);
    EXPECT_DOUBLE_EQ(d.Texts[1].x, (40.0 - H180) / 2.0); // centred
    EXPECT_DOUBLE_EQ(d.Texts[1].y, -14.0);               // above the line
}

TEST_F(DrawingTest, DimensionFlagsWithoutOnesStillAddSixPointsAndTheText) {
    d.AddPoint(0.0, 0.0);
    d.AddPoint(40.0, 0.0);
    d.AddHorizontalDimension(1, 2, -10.0, 1, "ab", "0000"); // short: missing = no
    EXPECT_EQ(d.Points.count(), 8);
    EXPECT_EQ(d.Lines.count(), 0);
    EXPECT_EQ(d.Arrows.count(), 0);
    ASSERT_EQ(d.Texts.count(), 1);
    EXPECT_DOUBLE_EQ(d.Texts[1].y, -10.0 - 1.0 - H180); // below the line
    // The extension points count in the extents.
    EXPECT_DOUBLE_EQ(d.DrawingExtents().minY, -11.0 - H180);
}

TEST_F(DrawingTest, VerticalDimensionRightOfThePoints) {
    d.AddPoint(10.0, -30.0);
    d.AddPoint(12.0, 0.0);
    d.AddVerticalDimension(1, 2, 25.0, 2, "abcd", "11111U"); // level 2: 5 mm further right
    EXPECT_DOUBLE_EQ(d.Points[3].x, 11.0);                   // extension line from A + ExtGap
    EXPECT_DOUBLE_EQ(d.Points[4].x, 30.0);
    EXPECT_DOUBLE_EQ(d.Points[8].x, 31.0); // overshoot beyond the line at B
    EXPECT_EQ(d.Arrows[1].direction, Direction::Down);
    EXPECT_EQ(d.Arrows[2].direction, Direction::Up);
    EXPECT_EQ(d.Texts[1].direction, Direction::Up);
    EXPECT_DOUBLE_EQ(d.Texts[1].x, 29.0); // left of the line, reading upward
    EXPECT_DOUBLE_EQ(d.Texts[1].y, -30.0 + (30.0 - 2.0 * H180) / 2.0);
    d.AddVerticalDimension(1, 2, 25.0, 1, "abcd", "11111D");
    EXPECT_DOUBLE_EQ(d.Texts[2].x, 25.0 + 1.0 + H180);
}

// --- capacities ---------------------------------------------------------

TEST_F(DrawingTest, TableOverflowIsAnError) {
    for (int i = 0; i < MaxDrawPoints; ++i) {
        d.AddPoint(i, 0.0);
    }
    EXPECT_THROW(d.AddPoint(0.0, 0.0), Error); // the 601st point
}

// --- drawing command file -----------------------------------------------

TEST_F(DrawingTest, WritesASmallDrawingByteForByte) {
    d.AddPoint(-62.654, -128.0);
    d.AddPoint(30.5, -7.25);
    d.AddPoint(1.0, 2.0);
    d.AddLine(1, 2, 1);
    d.AddLine(2, 3, 3);
    d.AddArrow(2, Direction::Left, 1);
    d.AddText("①", 2, Direction::Right, -60.125, -121.98);
    d.AddText("-12.50", 2, Direction::Up, 32.65, 13.25 - 6.0 * H180 / 2.0); // ends at 13.25
    const std::string path = dir.file("draw.tmp");
    d.WriteDrawingFile(path, "ｹｰｿﾝ式防波堤", "前壁断面力図");
    const std::string expected = SjisLines({
        "ｹｰｿﾝ式防波堤",
        "前壁断面力図",
        "95.30, 141.25, -62.65, -128.00, 32.65, 13.25",
        "座標情報",
        "1, -62.654000, -128.000000",
        "2, 30.500000, -7.250000",
        "3, 1.000000, 2.000000",
        "END",
        "線分情報",
        "1, 1, 2, 1",
        "2, 2, 3, 3",
        "END",
        "矢印(1)",
        "1, 2, 7, 1",
        "END",
        "文字情報",
        "①",
        "-60.125000, -121.980000, 2, 3",
        "-12.50",
        "32.650000, 3.725000, 2, 1",
        "END",
    });
    EXPECT_EQ(ReadBytes(path), expected);
    // The buffer is left as it was.
    EXPECT_EQ(d.Points.count(), 3);
    EXPECT_EQ(d.Texts.count(), 2);
}

TEST_F(DrawingTest, AnUpwardTextWidensTheExtentsLeftByItsHeightAndUpByItsWidth) {
    d.AddPoint(0.0, 0.0);
    d.AddText("CL", 1, Direction::Up, 0.0, 0.0);
    const auto e = d.DrawingExtents();
    EXPECT_DOUBLE_EQ(e.minX, -H240);
    EXPECT_DOUBLE_EQ(e.maxY, H240); // "CL" is as wide as one full-width character
    EXPECT_DOUBLE_EQ(e.maxX, 0.0);
    EXPECT_DOUBLE_EQ(e.minY, 0.0);
    d.AddText("CL", 1, Direction::Right, 10.0, -5.0);
    EXPECT_DOUBLE_EQ(d.DrawingExtents().maxX, 10.0 + H240);
    EXPECT_DOUBLE_EQ(d.DrawingExtents().minY, -5.0);
}

TEST_F(DrawingTest, NeverWritesANonFiniteNumber) {
    d.AddPoint(0.0, 0.0);
    d.AddPoint(std::numeric_limits<double>::quiet_NaN(), 1.0);
    EXPECT_THROW(d.WriteDrawingFile(dir.file("nan.tmp"), "A", "B"), Error);
    EXPECT_FALSE(std::filesystem::exists(dir.file("nan.tmp")));

    DrawingContext e;
    e.SizeTables();
    e.AddPoint(std::numeric_limits<double>::infinity(), 0.0);
    EXPECT_THROW(e.WriteDrawingFile(dir.file("inf.tmp"), "A", "B"), Error);
    EXPECT_THROW(e.WriteFigureFile(dir.file("fig.tmp"), "A", 140.0,
                                   std::numeric_limits<double>::quiet_NaN()),
                 Error);
}

// --- figure placement ---------------------------------------------------

TEST_F(DrawingTest, PlaceFiguresCentresOnTheRoundedExtents) {
    // Extents 95.3 x 141.25 from least (-62.65, -128) once rounded to 2
    // decimals: offset x = (140 - 95.3) / 2 + 62.65 = 85 and offset y =
    // (160 - 141.25) / 2 + 128 = 137.375.
    d.AddPoint(-62.654, -128.0);
    d.AddPoint(32.65, 13.25);
    const std::string drawing = dir.file("draw.tmp");
    d.WriteDrawingFile(drawing, "T1", "T2");
    d.Figures.add({{drawing}, {}}, "figures");
    const std::string figure = dir.file("fig.tmp");
    d.PlaceFigures(figure, "前壁断面力図", 140.0, 160.0);

    const FigureEntry& f = d.Figures[1];
    EXPECT_DOUBLE_EQ(f.extents.width, 95.3);
    EXPECT_DOUBLE_EQ(f.extents.bounds.minX, -62.65);
    EXPECT_NEAR(f.offsetX, 85.0, 1e-12);
    EXPECT_NEAR(f.offsetY, 137.375, 1e-12);
    EXPECT_EQ(ReadBytes(figure),
              SjisLines({"前壁断面力図", " 140" + std::string(11, ' ') + "160 ", drawing,
                         " 85" + std::string(12, ' ') + "137.375 ", "END"}));
}

TEST_F(DrawingTest, PlaceFiguresFailsOnAMissingOrTruncatedDrawingFile) {
    d.Figures.add({{dir.file("missing.tmp")}, {}}, "figures");
    EXPECT_THROW(d.PlaceFigures(dir.file("fig.tmp"), "F", 140.0, 160.0), Error);
    WriteBytes(dir.file("short.tmp"), "A\r\nB\r\n1.00, 2.00\r\n");
    d.Figures[1].path = dir.file("short.tmp");
    EXPECT_THROW(d.PlaceFigures(dir.file("fig.tmp"), "F", 140.0, 160.0), Error);
    for (int i = 2; i <= MaxFigures; ++i) {
        d.Figures.add({}, "figures");
    }
    EXPECT_THROW(d.Figures.add({}, "figures"), Error); // an 11th entry
}

} // namespace
