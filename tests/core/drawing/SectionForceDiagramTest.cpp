// The section force diagrams: scales, grid, moment texts, load diagram,
// failure on spans that cannot be scaled, and the two files they write.

#include "core/drawing/SectionForceDiagram.h"
#include "core/drawing/DrawingOverlaps.h"
#include "core/drawing/basResOutZuMdS.h"
#include "core/drawing/basResOutZuMdT.h"
#include "core/report/basResOutPrn.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;

namespace {

// Text style 2 of the delivered STR_PRN.DEF: 180 twips.
constexpr double H = 180.0 / 1440.0 * 25.4;

std::vector<std::string> FileLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    LineReader r(bytes);
    std::string_view l;
    while (r.next(l)) {
        lines.push_back(FromShiftJis(l));
    }
    return lines;
}

class DiagramTest : public ::testing::TestWithParam<Member> {
protected:
    void SetUp() override {
        lists.folder = tmp.path();
        const std::string data = std::string(ORMAVEX_SOURCE_DIR) + "/data/";
        for (const char* name : {"LINE_PRN.DEF", "STR_PRN.DEF"}) {
            std::filesystem::copy_file(data + name, program.file(name));
        }
        setCase(4.0, 5.0, 9, 0.0, 0.0);
    }
    void setCase(double lx, double ly, int n, double qa, double qb, int keta = 2) {
        calc.CalcLx[1] = lx;
        calc.CalcLy[1] = ly;
        calc.CalcPointCount[1] = n;
        calc.CalcRowCount[1] = 3;
        calc.CalcQA[1] = qa;
        calc.CalcQB[1] = qb;
        calc.CalcKeta[1] = keta;
        for (int j = 1; j <= 3; ++j) {
            for (int k = 1; k <= 9; ++k) {
                calc.CalcMx[1](j, k) = 10.0 * j + k + 0.125;
                calc.CalcMy[1](j, k) = -(10.0 * j + k) - 0.5;
            }
        }
    }

    std::string draw(Member member, int loadFlag = 1) {
        return member == Member::FrontWall
                   ? DrawFrontWallDiagram(d, DrawingPrintFilesOf(lists), calc, program.path(),
                                          loadFlag, 1, 140.0, 160.0)
                   : DrawBottomSlabDiagram(d, DrawingPrintFilesOf(lists), calc, program.path(),
                                           loadFlag, 1, 140.0, 160.0);
    }

    double x1() const { return d.Points[1].x; }
    double y1() const { return d.Points[1].y; }
    double x2() const { return d.Points[2].x; }
    double y4() const { return d.Points[4].y; }
    double drawnWidth() const { return d.Points[2].x - d.Points[1].x; }
    double drawnHeight() const { return d.Points[1].y - d.Points[4].y; }

    const DrawText* findText(const std::string& s) const {
        for (int i = 1; i <= d.Texts.count(); ++i) {
            if (d.Texts[i].text == s) {
                return &d.Texts[i];
            }
        }
        return nullptr;
    }

    // Hatch lines: style 1, starting on the load base line and running across it.
    std::vector<int> hatchLines(Member member, double base) const {
        std::vector<int> out;
        for (int i = 1; i <= d.Lines.count(); ++i) {
            const DrawLine& l = d.Lines[i];
            const DrawPoint& a = d.Points[l.point1];
            const DrawPoint& b = d.Points[l.point2];
            const bool onBase =
                member == Member::FrontWall ? a.x == base && a.y == b.y : a.y == base && a.x == b.x;
            if (l.style == 1 && onBase) {
                out.push_back(i);
            }
        }
        return out;
    }
    double baseLine(Member member) const {
        // The load base line is the first line of the load diagram: style 3,
        // appended after the four outline lines.
        for (int i = 5; i <= d.Lines.count(); ++i) {
            if (d.Lines[i].style == 3) {
                const DrawPoint& a = d.Points[d.Lines[i].point1];
                return member == Member::FrontWall ? a.x : a.y;
            }
        }
        ADD_FAILURE() << "no load base line";
        return 0.0;
    }
    bool arrowAt(int point) const {
        for (int i = 1; i <= d.Arrows.count(); ++i) {
            if (d.Arrows[i].point == point) {
                return true;
            }
        }
        return false;
    }

    TempDir tmp;
    TempDir program;
    DrawingContext d;
    PrintFileLists lists;
    CalcArrays calc;
};

INSTANTIATE_TEST_SUITE_P(BothMembers, DiagramTest,
                         ::testing::Values(Member::FrontWall, Member::BottomSlab),
                         [](const auto& info) {
                             return info.param == Member::FrontWall ? "FrontWall" : "BottomSlab";
                         });

// --- scales -------------------------------------------------------------

TEST_F(DiagramTest, FrontWallFourByFiveIsDrawnAt95By120WithTwentyFiveHatchLines) {
    // S = min(95 / 5, 125 / 4) = 19; sx = 19; sy = 8 x 15 / 4 = 30.
    setCase(4.0, 5.0, 9, 10.0, 20.0);
    draw(Member::FrontWall);
    EXPECT_DOUBLE_EQ(drawnWidth(), 95.0);
    EXPECT_DOUBLE_EQ(drawnHeight(), 120.0);
    EXPECT_DOUBLE_EQ(y1(), 0.0);
    EXPECT_DOUBLE_EQ(x1(), -47.5);
    EXPECT_EQ(hatchLines(Member::FrontWall, x1() - 15.0).size(), 25u);
}

TEST_F(DiagramTest, FrontWallTwentyByTenIsDrawnToOneScale) {
    // S = min(9.5, 6.25) = 6.25 beats both minimums (6 and 3): 62.5 x 125 mm.
    setCase(20.0, 10.0, 5, 10.0, 20.0);
    for (int j = 1; j <= 3; ++j) {
        for (int k = 6; k <= 9; ++k) { // not read for five points
            calc.CalcMx[1](j, k) = std::numeric_limits<double>::quiet_NaN();
        }
    }
    draw(Member::FrontWall);
    EXPECT_DOUBLE_EQ(drawnWidth(), 62.5);
    EXPECT_DOUBLE_EQ(drawnHeight(), 125.0);
    EXPECT_EQ(hatchLines(Member::FrontWall, x1() - 15.0).size(), 26u);
    EXPECT_NE(findText("⑤"), nullptr);
    EXPECT_EQ(findText("⑥"), nullptr);
    // Lines: 4 outline, 1 centre, 3 point grid, 3 row grid, 6 dimension, 2 load,
    // 26 hatch, then the 0.8 mm strokes every 2 mm outside the four fixed
    // edges: at most 31 along each 62.5 mm edge, 62 along each 125 mm edge,
    // fewer where the values beside the edges leave room for none.
    const int strokes = d.Lines.count() - (4 + 1 + 3 + 3 + 6 + 2 + 26);
    EXPECT_LE(strokes, 2 * 31 + 2 * 62);
    EXPECT_GT(strokes, (2 * 31 + 2 * 62) * 2 / 3);
}

TEST_F(DiagramTest, BottomSlabFourByFiveIsDrawnAt120By115) {
    // S = min(105 / 4, 115 / 5) = 23; sx = 30 (15 mm per interval); sy = 23.
    setCase(4.0, 5.0, 9, 10.0, 20.0);
    draw(Member::BottomSlab);
    EXPECT_DOUBLE_EQ(drawnWidth(), 120.0);
    EXPECT_DOUBLE_EQ(drawnHeight(), 115.0);
    EXPECT_DOUBLE_EQ(x1(), 0.0);
    EXPECT_DOUBLE_EQ(y1(), 57.5);
    EXPECT_EQ(hatchLines(Member::BottomSlab, y4() - 20.0).size(), 25u); // m = 120 / 5
}

// --- grid and texts -----------------------------------------------------

TEST_F(DiagramTest, FrontWallRowOneMomentsSitOnTheCentreLine) {
    draw(Member::FrontWall);
    // Mx(1, 1) = 11.125 just left of the centre line, running upward; My(1, 1)
    // = -11.5 just right of it; both 1 mm above point 1 (the bottom edge).
    const DrawText* mx = findText("11.13");
    const DrawText* my = findText("-11.50");
    ASSERT_NE(mx, nullptr);
    ASSERT_NE(my, nullptr);
    EXPECT_EQ(mx->direction, Direction::Up);
    EXPECT_DOUBLE_EQ(mx->x, -1.0);
    EXPECT_DOUBLE_EQ(mx->y, y4() + 1.0);
    EXPECT_EQ(my->direction, Direction::Right);
    EXPECT_DOUBLE_EQ(my->x, 1.0);
    EXPECT_DOUBLE_EQ(my->y, y4() + 1.0);
    for (const char* s : {"CL", "Mx", "My", "①", "⑨", "Ⅰ", "Ⅱ", "Ⅲ"}) {
        EXPECT_NE(findText(s), nullptr) << s;
    }
}

TEST_F(DiagramTest, BottomSlabMyTextsEndOneMillimetreBelowTheirNode) {
    draw(Member::BottomSlab);
    const DrawText* my = findText("-21.50"); // My(2, 1): left edge, lower quarter line
    ASSERT_NE(my, nullptr);
    EXPECT_EQ(my->direction, Direction::Up);
    EXPECT_DOUBLE_EQ(my->x, -1.0);
    EXPECT_NEAR(my->y + d.TextWidth(2, "-21.50"), -5.0 / 4.0 * 23.0 - 1.0, 1e-12);
    const DrawText* mx = findText("21.13"); // Mx(2, 1): upper quarter line
    ASSERT_NE(mx, nullptr);
    EXPECT_EQ(mx->direction, Direction::Right);
    EXPECT_DOUBLE_EQ(mx->y, 5.0 / 4.0 * 23.0 + 1.0);
    EXPECT_NE(findText("Ｍy  Ⅱ"), nullptr);
    EXPECT_NE(findText("Ｍx  Ⅱ"), nullptr);
    EXPECT_EQ(findText("Mx"), nullptr); // no headings on the slab
}

TEST_P(DiagramTest, SpanTextsFollowTheDecimalPlaces) {
    setCase(4.0, 5.25, 9, 0.0, 0.0, 2);
    draw(GetParam());
    EXPECT_NE(findText("Ｌx ＝ 4.00ｍ"), nullptr);
    EXPECT_NE(findText("Ｌy ＝ 5.25ｍ"), nullptr);
    for (int keta : {3, 0}) { // every value other than 2 gives three places
        setCase(4.0, 5.25, 9, 0.0, 0.0, keta);
        draw(GetParam());
        EXPECT_NE(findText("Ｌx ＝ 4.000ｍ"), nullptr) << keta;
        EXPECT_NE(findText("Ｌy ＝ 5.250ｍ"), nullptr) << keta;
    }
}

TEST_P(DiagramTest, CaptionUnitScaleNoteAndSupportStrokes) {
    const bool fw = GetParam() == Member::FrontWall;
    // One free edge (table type 1): the edge of the last point has no strokes.
    setCase(4.0, 5.0, 9, 10.0, 20.0);
    calc.CalcType[1] = 1;
    draw(GetParam());
    const DrawText* caption = findText(fw ? "前壁断面力図" : "底版断面力図");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->style, 1);
    EXPECT_NE(findText("単位：kN・m/m"), nullptr);
    EXPECT_NE(findText("縮尺不同"), nullptr); // 19 against 30, or 30 against 23 mm/m
    int onFreeEdge = 0;
    int strokes = 0;
    for (int i = 1; i <= d.Lines.count(); ++i) {
        const DrawPoint& a = d.Points[d.Lines[i].point1];
        const DrawPoint& b = d.Points[d.Lines[i].point2];
        if (std::fabs(std::fabs(b.x - a.x) - 0.5) < 1e-9 &&
            std::fabs(std::fabs(b.y - a.y) - 0.5) < 1e-9) {
            ++strokes;
            onFreeEdge += fw ? a.y == y1() : a.x == x2();
        }
    }
    EXPECT_GT(strokes, 100);
    EXPECT_EQ(onFreeEdge, 0);
    // At least 0.5 mm of paper between any text and a stroke's ink (its pen
    // is 0.18 mm): a minus sign beside an edge is not read as a stroke.
    for (int i = 1; i <= d.Lines.count(); ++i) {
        const DrawPoint& a = d.Points[d.Lines[i].point1];
        const DrawPoint& b = d.Points[d.Lines[i].point2];
        if (std::fabs(std::fabs(b.x - a.x) - 0.5) > 1e-9 ||
            std::fabs(std::fabs(b.y - a.y) - 0.5) > 1e-9) {
            continue;
        }
        const double reach = 0.5 + 0.09 - 1e-9;
        const TextBox ink{std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach,
                          std::max(a.x, b.x) + reach, std::max(a.y, b.y) + reach};
        for (int t = 1; t <= d.Texts.count(); ++t) {
            EXPECT_FALSE(BoxesOverlap(ink, BoxOfText(d, t), 0.0))
                << "stroke " << i << " beside \"" << d.Texts[t].text << "\"";
        }
    }
    // Four fixed edges, and a plate drawn to one scale: no note.
    setCase(20.0, 10.0, 5, 10.0, 20.0);
    calc.CalcType[1] = 5;
    draw(Member::FrontWall);
    EXPECT_EQ(findText("縮尺不同"), nullptr);
    EXPECT_NE(findText("単位：kN・m/m"), nullptr);
}

// --- load diagram -------------------------------------------------------

TEST_P(DiagramTest, NegativeLargerLoadPutsTheBaseLineThirtyMillimetresOff) {
    // qmax = -20, qs = 0.75: the QA end 7.5 mm on the outer side, the QB end
    // 15 mm toward the member; both load texts start at the base line.
    setCase(4.0, 5.0, 9, 10.0, -20.0);
    draw(GetParam());
    const bool fw = GetParam() == Member::FrontWall;
    const double base = baseLine(GetParam());
    EXPECT_DOUBLE_EQ(base, fw ? x1() - 30.0 : y4() - 35.0);
    const DrawText* qa = findText("QA=10.00kN/㎡");
    const DrawText* qb = findText("QB=-20.00kN/㎡");
    ASSERT_NE(qa, nullptr);
    ASSERT_NE(qb, nullptr);
    // The load line joins the QA end and the QB end.
    const DrawLine* load = nullptr;
    for (int i = 5; i <= d.Lines.count(); ++i) {
        if (d.Lines[i].style == 3 && d.Lines[i].point1 > 4) {
            load = &d.Lines[i + 1];
            break;
        }
    }
    ASSERT_NE(load, nullptr);
    const DrawPoint& a = d.Points[load->point1];
    const DrawPoint& b = d.Points[load->point2];
    if (fw) {
        EXPECT_DOUBLE_EQ(a.x, base - 7.5);
        EXPECT_DOUBLE_EQ(a.y, y4());
        EXPECT_DOUBLE_EQ(b.x, base + 15.0);
        EXPECT_DOUBLE_EQ(b.y, y1());
        // Starting at the base line, the QB text would reach 0.4 mm into the
        // point label "⑨": it moves left in 0.5 mm steps until it keeps 0.5 mm
        // from it. The QA text ends 1.2 mm short of "①" and stays.
        EXPECT_DOUBLE_EQ(qa->x, base);
        EXPECT_DOUBLE_EQ(qb->x, base - 1.0);
        EXPECT_DOUBLE_EQ(qa->y, y4() - 1.0 - H);
    } else {
        EXPECT_DOUBLE_EQ(a.y, base - 7.5);
        EXPECT_DOUBLE_EQ(b.y, base + 15.0);
        EXPECT_EQ(qa->direction, Direction::Up);
        EXPECT_DOUBLE_EQ(qa->y, base);
        EXPECT_DOUBLE_EQ(qb->y, base);
        EXPECT_DOUBLE_EQ(qb->x, x2() + 1.0 + H);
    }
    // Loads of equal magnitude: the tie takes QB, here the negative one.
    setCase(4.0, 5.0, 9, 20.0, -20.0);
    draw(GetParam());
    EXPECT_DOUBLE_EQ(baseLine(GetParam()), fw ? x1() - 30.0 : y4() - 35.0);
}

TEST_P(DiagramTest, PositiveLargerLoadPutsTheBaseLineFifteenMillimetresOffAndTextsEndOnIt) {
    setCase(4.0, 5.0, 9, 10.0, 20.0);
    draw(GetParam());
    const bool fw = GetParam() == Member::FrontWall;
    const double base = baseLine(GetParam());
    EXPECT_DOUBLE_EQ(base, fw ? x1() - 15.0 : y4() - 20.0);
    const std::string qaText = "QA=10.00kN/㎡";
    const DrawText* qa = findText(qaText);
    ASSERT_NE(qa, nullptr);
    EXPECT_DOUBLE_EQ((fw ? qa->x : qa->y) + d.TextWidth(2, qaText), base);
    // Every hatch line points its arrow at the member.
    const std::vector<int> hatch = hatchLines(GetParam(), base);
    ASSERT_EQ(hatch.size(), 25u);
    EXPECT_EQ(d.Arrows.count(), 4 + 25);
    EXPECT_EQ(d.Arrows[5].direction, fw ? Direction::Right : Direction::Up);
    EXPECT_EQ(d.Arrows[5].point, d.Lines[hatch[0]].point1);
}

TEST_P(DiagramTest, ZeroLoadsDrawZeroLengthHatchingWithoutArrows) {
    setCase(4.0, 5.0, 9, 0.0, 0.0);
    draw(GetParam());
    const bool fw = GetParam() == Member::FrontWall;
    const double base = baseLine(GetParam());
    EXPECT_DOUBLE_EQ(base, fw ? x1() - 30.0 : y4() - 35.0);
    const std::vector<int> hatch = hatchLines(GetParam(), base);
    ASSERT_EQ(hatch.size(), 25u);
    for (int i : hatch) {
        const DrawPoint& a = d.Points[d.Lines[i].point1];
        const DrawPoint& b = d.Points[d.Lines[i].point2];
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
    }
    EXPECT_EQ(d.Arrows.count(), 4); // the dimension arrows only
    EXPECT_NE(findText("QA=0.00kN/㎡"), nullptr);
}

TEST_P(DiagramTest, AHatchLineOfExactlyHalfAMillimetreGetsNoArrow) {
    // qs = 15 / 30 = 0.5, so the first hatch line (at QA = 1) is 0.5 mm long.
    for (double qa : {1.0, -1.0}) {
        setCase(4.0, 5.0, 9, qa, 30.0);
        draw(GetParam());
        const std::vector<int> hatch = hatchLines(GetParam(), baseLine(GetParam()));
        ASSERT_EQ(hatch.size(), 25u);
        EXPECT_FALSE(arrowAt(d.Lines[hatch[0]].point1)) << qa;
        EXPECT_EQ(arrowAt(d.Lines[hatch[1]].point1), qa > 0.0) << qa; // -0.15 mm for QA = -1
        EXPECT_TRUE(arrowAt(d.Lines[hatch[24]].point1)) << qa;
    }
}

TEST_P(DiagramTest, LoadFlagOffLeavesOutTheLoadDiagramOnly) {
    setCase(4.0, 5.0, 9, 10.0, 20.0);
    draw(GetParam(), 1);
    const DrawingContext with = d;
    draw(GetParam(), 0);
    EXPECT_EQ(d.Points.count(), with.Points.count() - 4 - 2 * 25);
    EXPECT_EQ(d.Lines.count(), with.Lines.count() - 2 - 25);
    EXPECT_EQ(d.Arrows.count(), 4);
    EXPECT_EQ(d.Texts.count(), with.Texts.count() - 2);
    // The 38 points before the load diagram (4 outline, 2 centre line, 14
    // point grid, 6 row grid, 12 dimension) and the edge strokes after it
    // are the same; so are the texts but for the two load texts.
    const int shift = with.Points.count() - d.Points.count();
    for (int i = 1; i <= d.Points.count(); ++i) {
        const int o = i <= 38 ? i : i + shift;
        EXPECT_EQ(d.Points[i].x, with.Points[o].x) << i;
        EXPECT_EQ(d.Points[i].y, with.Points[o].y) << i;
    }
    const int moments = d.Texts.count() - 3; // caption, unit, scale note follow
    for (int i = 1; i <= d.Texts.count(); ++i) {
        EXPECT_EQ(d.Texts[i].text, with.Texts[i <= moments ? i : i + 2].text) << i;
    }
    draw(GetParam(), 2); // only 1 switches it on
    EXPECT_EQ(d.Arrows.count(), 4);
}

// --- failures -----------------------------------------------------------

TEST_P(DiagramTest, ASpanThatCannotBeScaledFailsBeforeAnyFileIsMade) {
    for (auto [lx, ly] : {std::pair{0.0, 5.0},
                          {4.0, 0.0},
                          {-4.0, 5.0},
                          {std::numeric_limits<double>::quiet_NaN(), 5.0}}) {
        setCase(lx, ly, 9, 10.0, 20.0);
        EXPECT_THROW(draw(GetParam()), Error) << lx << " " << ly;
        EXPECT_EQ(lists.drawingCount, 0);
    }
}

TEST_P(DiagramTest, ANonFiniteMomentOrLoadFailsTheDiagram) {
    calc.CalcMy[1](3, 9) = std::numeric_limits<double>::infinity();
    EXPECT_THROW(draw(GetParam()), Error);
    setCase(4.0, 5.0, 9, std::numeric_limits<double>::quiet_NaN(), 1.0);
    EXPECT_THROW(draw(GetParam()), Error);
    EXPECT_EQ(lists.drawingCount, 0);
}

TEST_P(DiagramTest, MissingStyleFileOrFullPrintFileListFails) {
    lists.drawingCount = MaxDrawingPrintFiles;
    EXPECT_THROW(draw(GetParam()), Error);
    lists.drawingCount = 0;
    std::filesystem::remove(program.file("STR_PRN.DEF"));
    EXPECT_THROW(draw(GetParam()), Error);
}

// --- the two files --------------------------------------------------------

TEST_P(DiagramTest, WritesACommandFileAndAFigureFileThatCentresIt) {
    setCase(4.0, 5.0, 9, 10.0, -20.0);
    const std::string figure = draw(GetParam());
    const std::string title = GetParam() == Member::FrontWall ? "前壁断面力図" : "底版断面力図";
    ASSERT_EQ(lists.drawingCount, 2);
    EXPECT_EQ(figure, lists.drawing[1]);
    EXPECT_EQ(d.Figures.count(), 1);

    const std::vector<std::string> fig = FileLines(figure);
    ASSERT_EQ(fig.size(), 5u);
    EXPECT_EQ(fig[0], title);
    EXPECT_EQ(fig[1], " 140" + std::string(11, ' ') + "160 ");
    EXPECT_EQ(fig[2], lists.drawing[0]);
    EXPECT_EQ(fig[4], "END");

    const std::vector<std::string> cmd = FileLines(lists.drawing[0]);
    ASSERT_GT(cmd.size(), 4u);
    EXPECT_EQ(cmd[0], "ｹｰｿﾝ式防波堤");
    EXPECT_EQ(cmd[1], title);
    // The drawing's centre lands on the area's centre (to the 2-decimal
    // rounding of the extents).
    std::vector<double> e;
    for (std::size_t pos = 0; pos != std::string::npos;) {
        const std::size_t comma = cmd[2].find(',', pos);
        e.push_back(LeadingNumber(cmd[2].substr(pos, comma - pos)));
        pos = comma == std::string::npos ? comma : comma + 2;
    }
    ASSERT_EQ(e.size(), 6u);
    const double offX = LeadingNumber(fig[3].substr(0, 14));
    const double offY = LeadingNumber(fig[3].substr(14));
    EXPECT_NEAR(offX + e[2] + e[0] / 2.0, 70.0, 1e-9);
    EXPECT_NEAR(offY + e[3] + e[1] / 2.0, 80.0, 1e-9);

    // Sections in order, each closed by "END", records numbered 1..count.
    const std::vector<std::pair<std::string, int>> sections = {{"座標情報", d.Points.count()},
                                                               {"線分情報", d.Lines.count()},
                                                               {"矢印(1)", d.Arrows.count()},
                                                               {"文字情報", d.Texts.count()}};
    std::size_t line = 3;
    for (const auto& [header, count] : sections) {
        ASSERT_LT(line, cmd.size());
        ASSERT_EQ(cmd[line], header);
        ++line;
        for (int i = 1; i <= count; ++i) {
            if (header == "文字情報") {
                EXPECT_EQ(cmd[line], d.Texts[i].text);
                ++line;
                EXPECT_EQ(std::count(cmd[line].begin(), cmd[line].end(), ','), 3) << cmd[line];
            } else {
                EXPECT_EQ(cmd[line].substr(0, cmd[line].find(',')), std::to_string(i));
            }
            ++line;
        }
        ASSERT_EQ(cmd[line], "END") << header;
        ++line;
    }
    EXPECT_EQ(line, cmd.size());
}

} // namespace
