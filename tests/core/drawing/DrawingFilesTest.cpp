// The drawing command file and the figure file as the renderer reads them,
// good and malformed, and the writer's rare kinds read back.

#include "core/drawing/DrawingCommandFile.h"
#include "core/drawing/FigureFile.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace ormavex {
namespace {

using test::SjisLines;

// --- figure files -----------------------------------------------------------

TEST(FigureFileTest, ReadsAreaAndEntries) {
    FigureFile f;
    Error error;
    ASSERT_TRUE(ParseFigureFile(SjisLines({"前壁断面力図", " 140           160 ", "/tmp/a.tmp",
                                           " 85           -.25 ", "END"}),
                                f, &error))
        << error.message();
    EXPECT_EQ(f.title, "前壁断面力図");
    EXPECT_DOUBLE_EQ(f.width, 140.0);
    EXPECT_DOUBLE_EQ(f.height, 160.0);
    ASSERT_EQ(f.entries.size(), 1u);
    EXPECT_EQ(f.entries[0].path, "/tmp/a.tmp");
    EXPECT_DOUBLE_EQ(f.entries[0].offsetX, 85.0);
    EXPECT_DOUBLE_EQ(f.entries[0].offsetY, -0.25);
    EXPECT_TRUE(f.warnings.empty());

    // At most 100 drawings: the 101st is skipped with a warning.
    for (std::size_t n : {kMaxFigureEntries, kMaxFigureEntries + 1}) {
        std::vector<std::string> lines = {"t", " 140  160 "};
        for (std::size_t i = 0; i < n; ++i) {
            lines.insert(lines.end(), {"/d" + std::to_string(i), " 0  0 "});
        }
        lines.push_back("END");
        ASSERT_TRUE(ParseFigureFile(SjisLines(lines), f, &error));
        EXPECT_EQ(f.entries.size(), kMaxFigureEntries) << n;
        EXPECT_EQ(f.warnings.empty(), n == kMaxFigureEntries) << n;
    }
}

struct BadFigure {
    const char* name;
    std::vector<std::string> lines;
    bool parses;
};

class FigureFileBadTest : public ::testing::TestWithParam<BadFigure> {};

TEST_P(FigureFileBadTest, FailsOrWarnsWithoutThrowing) {
    FigureFile f;
    Error error;
    const BadFigure& p = GetParam();
    EXPECT_EQ(ParseFigureFile(p.lines.empty() ? std::string() : SjisLines(p.lines), f, &error),
              p.parses);
    if (p.parses) {
        EXPECT_FALSE(f.warnings.empty());
    } else {
        EXPECT_NE(error.message(), std::string());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FigureFileBadTest,
    ::testing::Values(BadFigure{"Empty", {}, false}, BadFigure{"NoArea", {"title"}, false},
                      BadFigure{"AreaNotNumbers", {"t", " abc  def ", "END"}, false},
                      BadFigure{"AreaZero", {"t", " 0   160 ", "END"}, false},
                      BadFigure{"AreaHuge", {"t", " 1E+300   160 ", "END"}, false},
                      BadFigure{"OneNumberArea", {"t", " 140 ", "END"}, false},
                      BadFigure{"NoEnd", {"t", " 140  160 ", "/a", " 1  2 "}, true},
                      BadFigure{"BadOffsets", {"t", " 140  160 ", "/a", " x  y ", "END"}, true},
                      BadFigure{"NoDrawing", {"t", " 140  160 "}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- drawing command files --------------------------------------------------

std::vector<std::string> SmallDrawing() {
    return {"ｹｰｿﾝ式防波堤",
            "前壁断面力図",
            "95.30, 141.25, -62.65, -128.00, 32.65, 13.25",
            "座標情報",
            "12, 30.500000, -7.250000",
            "13, 40.000000, -7.250000",
            "14, 0.000000, 0.000000",
            "END",
            "線分情報",
            "5, 12, 13, 1",
            "END",
            "矢印(1)",
            "3, 14, 7, 1",
            "END",
            "文字情報",
            "①",
            "-70.125000, -121.980000, 2, 3",
            "END"};
}

TEST(DrawingFileTest, ReadsTheWritersRecords) {
    DrawingCommandFile d;
    Error error;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(SmallDrawing()), d, &error)) << error.message();
    EXPECT_EQ(d.title2, "前壁断面力図");
    ASSERT_TRUE(d.hasExtents);
    EXPECT_DOUBLE_EQ(d.extents.bounds.minX, -62.65);
    ASSERT_NE(d.point(12), nullptr);
    EXPECT_DOUBLE_EQ(d.point(12)->x, 30.5);
    EXPECT_DOUBLE_EQ(d.point(12)->y, -7.25);
    ASSERT_EQ(d.lines.size(), 1u);
    EXPECT_EQ(d.lines[0].point1, 12);
    EXPECT_EQ(d.lines[0].point2, 13);
    ASSERT_EQ(d.arrows.size(), 1u);
    EXPECT_EQ(d.arrows[0].direction, 7);
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_EQ(d.texts[0].text, "①");
    EXPECT_DOUBLE_EQ(d.texts[0].x, -70.125);
    EXPECT_EQ(d.texts[0].style, 2);
    EXPECT_EQ(d.texts[0].direction, 3);
    EXPECT_TRUE(d.warnings.empty()) << d.warnings.front();
}

TEST(DrawingFileTest, ReadsTheSectionsNoProducerWrites) {
    std::vector<std::string> lines = SmallDrawing();
    lines.insert(lines.begin() + 8, {"矩形情報", "1, 12, 13, 1, 0", "END"});
    lines.insert(lines.end(), {"円情報", "1, 14, 5.000000, 1", "END", "円弧情報",
                               "1, 0.000000, 0.000000, 3.000000, 0.000000, 90.000000, 1", "END",
                               "塗潰情報", "1, 1, 2, abc", "END"});
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(lines), d, nullptr));
    EXPECT_EQ(d.rectangles.size(), 1u);
    ASSERT_EQ(d.circles.size(), 1u);
    EXPECT_DOUBLE_EQ(d.circles[0].radius, 5.0);
    ASSERT_EQ(d.arcs.size(), 1u);
    EXPECT_DOUBLE_EQ(d.arcs[0].endAngle, 90.0);
    ASSERT_EQ(d.fills.size(), 1u);
    EXPECT_EQ(d.fills[0].text, "abc");
    EXPECT_TRUE(d.warnings.empty());
}

TEST(DrawingFileTest, UnknownSectionIsSkippedAndTheRestRead) {
    std::vector<std::string> lines = SmallDrawing();
    lines.insert(lines.begin() + 8, {"謎情報", "1, 2, 3", "END"});
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(lines), d, nullptr));
    EXPECT_EQ(d.lines.size(), 1u);
    EXPECT_EQ(d.texts.size(), 1u);
    ASSERT_EQ(d.warnings.size(), 1u);
    EXPECT_NE(d.warnings[0].find("謎情報"), std::string::npos);
}

TEST(DrawingFileTest, BadRecordsAreSkippedWithAWarning) {
    std::vector<std::string> lines = SmallDrawing();
    lines[4] = "12, 30.5x, -7.25"; // bad number
    lines[9] = "5, 12, 99, 1";     // point 99 does not exist
    lines[16] = "1e999, 0, 2, 3";  // not finite
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(lines), d, nullptr));
    EXPECT_EQ(d.point(12), nullptr);
    EXPECT_TRUE(d.texts.empty());
    EXPECT_EQ(d.lines.size(), 1u); // kept, but not drawable
    EXPECT_GE(d.warnings.size(), 3u);
}

TEST(DrawingFileTest, UnclosedSectionAndTruncatedTextDoNotLoseWhatCameBefore) {
    std::vector<std::string> lines = SmallDrawing();
    lines.resize(16); // ends after the text's content line
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(lines), d, nullptr));
    EXPECT_EQ(d.lines.size(), 1u);
    EXPECT_EQ(d.arrows.size(), 1u);
    EXPECT_TRUE(d.texts.empty());
    EXPECT_FALSE(d.warnings.empty());
}

TEST(DrawingFileTest, WarningsAreCapped) {
    std::vector<std::string> lines = {"a", "b", "1, 2, 3, 4, 5, 6", "線分情報"};
    for (int i = 0; i < 1000; ++i) {
        lines.push_back("garbage");
    }
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(SjisLines(lines), d, nullptr));
    EXPECT_EQ(d.warnings.size(), kMaxWarnings + 1);
}

TEST(DrawingFileTest, EmptyOrOversizedFileFails) {
    DrawingCommandFile d;
    Error error;
    EXPECT_FALSE(ParseDrawingCommandFile("", d, &error));
    EXPECT_NE(error.message(), std::string());
    EXPECT_FALSE(ParseDrawingCommandFile(std::string(FileLimit::Drawing + 1, 'x'), d, &error));
    EXPECT_FALSE(LoadDrawingCommandFile("/nonexistent/drawing.tmp", d, &error));
    EXPECT_EQ(error.path(), "/nonexistent/drawing.tmp");
}

TEST(DrawingFileTest, RecordCountIsCapped) {
    std::string bytes = "a\r\nb\r\n0, 0, 0, 0, 0, 0\r\n" + ToShiftJis("座標情報") + "\r\n";
    for (std::size_t i = 1; i <= kMaxRecords + 5; ++i) {
        bytes += std::to_string(i) + ", 1, 2\r\n";
    }
    DrawingCommandFile d;
    ASSERT_TRUE(ParseDrawingCommandFile(bytes, d, nullptr));
    EXPECT_EQ(d.points.size(), kMaxRecords);
    EXPECT_FALSE(d.warnings.empty());
}

TEST(DrawingFileTest, DirectionCodesAreCompassNumbers) {
    // 1 up, then clockwise in steps of 45 degrees; angles counter-clockwise
    // from the x axis.
    const double degrees[] = {90.0, 45.0, 0.0, 315.0, 270.0, 225.0, 180.0, 135.0};
    double deg = -1;
    for (int code = 1; code <= 8; ++code) {
        ASSERT_TRUE(DirectionAngle(code, deg)) << code;
        EXPECT_DOUBLE_EQ(deg, degrees[code - 1]) << code;
    }
    EXPECT_FALSE(DirectionAngle(0, deg));
    EXPECT_FALSE(DirectionAngle(9, deg));
}

TEST(DrawingCommandFile, WritesTheEmptyCoordinateSectionAndTheRareKindsInOrderAndReadsThemBack) {
    DrawingCommandFile f;
    f.title1 = "A";
    f.title2 = "B";
    f.rectangles = {{1, 2, 3, 4}};
    f.circles = {{5, 2.5, 6}};
    f.arcs = {{{0.5, -1.0}, 2.0, 3.0, 4.0, 9}};
    f.fills = {{1, 2, "塗り, 2"}};
    const std::string bytes = ToShiftJis(DrawingCommandFileText(f));
    EXPECT_EQ(bytes,
              SjisLines({"A", "B", "0.00, 0.00, 0.00, 0.00, 0.00, 0.00", "座標情報", "END",
                         "矩形情報", "1, 1, 2, 3, 4", "END", "円情報", "1, 5, 2.500000, 6", "END",
                         "円弧情報", "1, 0.500000, -1.000000, 2.000000, 3.000000, 4.000000, 9",
                         "END", "塗潰情報", "1, 1, 2, 塗り, 2", "END"}));
    DrawingCommandFile back;
    ASSERT_TRUE(ParseDrawingCommandFile(bytes, back, nullptr));
    EXPECT_EQ(back.rectangles.at(0).extra, 4);
    EXPECT_EQ(back.circles.at(0).centre, 5);
    EXPECT_DOUBLE_EQ(back.arcs.at(0).centre.y, -1.0);
    EXPECT_EQ(back.arcs.at(0).style, 9);
    EXPECT_EQ(back.fills.at(0).text, "塗り, 2");
    // The rare kinds name points that do not exist: reading says so.
    EXPECT_EQ(back.warnings.size(), 1u);
}

} // namespace
} // namespace ormavex
