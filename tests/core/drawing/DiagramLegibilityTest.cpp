// Legibility of the section force diagrams: the overlap check itself, and the
// diagrams of a grid of extreme but valid cases checked with it.

#include "core/calc/basCalcMd.h"
#include "core/drawing/DrawingOverlaps.h"
#include "core/drawing/SectionForceDiagram.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ormavex;

namespace {

const std::string DataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";

class OverlapCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        d.SizeTables();
        d.ReadTextStyles(DataFolder + "/STR_PRN.DEF");
    }
    int line(double xa, double ya, double xb, double yb) {
        const int p = d.AddPoint(xa, ya);
        d.AddPoint(xb, yb);
        return d.AddLine(p, p + 1, 1);
    }
    DrawingContext d;
};

TEST_F(OverlapCheckTest, FindsPlantedOverlapsAndNothingElse) {
    // "-238.90" is 7 half-width characters: 11.1 mm long, 3.175 mm high.
    d.AddText("-238.90", 2, Direction::Right, 0.0, 0.0); // 1
    d.AddText("4.50m", 2, Direction::Right, 10.0, 2.0);  // 2: runs into 1
    d.AddText("12.00", 2, Direction::Right, 11.2, 0.0);  // 3: after 1, clear of it
    d.AddText("Ⅰ", 2, Direction::Up, 40.0, 0.0);         // 4: crossed by the line below
    d.AddText("CL", 2, Direction::Up, 60.0, 0.0);        // 5: the line passes beside it
    d.AddText("-1996.50", 2, Direction::Up, 80.0, 0.0);  // 6
    d.AddText("-5395.59", 2, Direction::Up, 81.0, 12.0); // 7: reaches into 6 from above
    line(30.0, 1.0, 50.0, 1.0);                          // 1: through text 4
    line(60.5, -5.0, 60.5, 20.0);                        // 2: right of text 5
    line(0.0, -1.0, 20.0, -1.0);                         // 3: under text 1
    line(70.0, 30.0, 70.0, 30.0);                        // 4: a point, in nothing

    const std::vector<DrawingOverlap> found = FindOverlaps(d);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].kind, DrawingOverlap::Kind::TextOnText);
    EXPECT_EQ(found[0].text, 1);
    EXPECT_EQ(found[0].other, 2);
    EXPECT_EQ(found[1].kind, DrawingOverlap::Kind::TextOnText);
    EXPECT_EQ(found[1].text, 2);
    EXPECT_EQ(found[1].other, 3); // "4.50m" also reaches over "12.00"
    EXPECT_EQ(found[2].kind, DrawingOverlap::Kind::LineThroughText);
    EXPECT_EQ(found[2].text, 4);
    EXPECT_EQ(found[2].other, 1);
    EXPECT_EQ(found[3].text, 6);
    EXPECT_EQ(found[3].other, 7);
    EXPECT_NE(DescribeOverlap(d, found[0]).find("\"-238.90\""), std::string::npos);

    // A zero-length line inside a box counts as crossing it.
    line(2.0, 1.0, 2.0, 1.0);
    EXPECT_EQ(FindOverlaps(d).size(), 5u);

    // What lies near an area answers as the whole buffer does, for boxes
    // within the area (the whole drawing, or a band along one text's path).
    for (const TextBox area : {TextBox{-1e6, -1e6, 1e6, 1e6}, TextBox{-20.0, -2.0, 100.0, 4.0}}) {
        const NearbyItems near(d, area);
        for (double x = std::max(area.left, -20.0); x <= std::min(area.right, 100.0); x += 1.7) {
            for (double y = std::max(area.bottom, -15.0); y <= std::min(area.top, 40.0); y += 0.7) {
                for (double size : {0.4, 2.0, 30.0}) {
                    const TextBox box{x, y, std::min(x + size, area.right),
                                      std::min(y + size / 2.0, area.top)};
                    for (int skip : {0, 1, 6}) {
                        ASSERT_EQ(near.occupied(box, skip), BoxIsOccupied(d, box, skip))
                            << "box at " << x << ", " << y << " size " << size << " skip " << skip;
                    }
                }
            }
        }
    }

    // Boxes overlap only by more than the tolerance, across and along.
    const TextBox a{0.0, 0.0, 1.0, 1.0};
    EXPECT_FALSE(BoxesOverlap(a, {0.75, 0.0, 2.0, 1.0}, 0.25));
    EXPECT_TRUE(BoxesOverlap(a, {0.5, 0.0, 2.0, 1.0}, 0.25));
    EXPECT_FALSE(BoxesOverlap(a, {0.0, 0.75, 1.0, 2.0}, 0.25));
    EXPECT_TRUE(BoxesOverlap(a, {0.0, 0.5, 1.0, 2.0}, 0.25));
}

// The grid of extreme valid inputs. Each combination is calculated with the
// delivered coefficient tables and drawn as both members; every drawing must
// be free of overlaps.
TEST(DiagramLegibility, ExtremeValidCasesHaveNoOverlaps) {
    const std::vector<double> spans = {0.10, 1.50, 5.00, 99.99};
    const std::vector<std::pair<double, double>> loads = {
        {9999.99, 9999.99},  {-9999.99, -9999.99}, {0.0, 9999.99}, {0.0, -9999.99},
        {9999.99, 0.0},      {-9999.99, 0.0},      {100.0, -50.0}, {-9999.99, 9999.99},
        {9999.99, -9999.99}, {0.0, 0.0},           {0.01, -0.01},  {12.34, 56.78}};
    const std::vector<double> lambdas = {0.30, 1.00, 4.00};
    const std::vector<int> ketas = {0, 2, 3};

    CaseTable cases;
    CalcArrays calc;
    CoefWorkTables coef;
    DrawingContext d;
    std::size_t drawn = 0;
    std::vector<std::string> findings;
    auto flush = [&]() {
        Error error;
        ASSERT_TRUE(CalcMoments(cases, calc, coef, DataFolder, &error)) << error.message();
        for (int c = 1; c <= cases.CaseCount; ++c) {
            for (int keta : ketas) {
                calc.CalcKeta[c] = keta;
                for (Member m : {Member::FrontWall, Member::BottomSlab}) {
                    FillSectionForceDiagram(m, d, calc, DataFolder, 1, c, 140.0, 160.0);
                    ++drawn;
                    for (const DrawingOverlap& o : FindOverlaps(d)) {
                        if (findings.size() < 40) {
                            findings.push_back(
                                std::string(m == Member::FrontWall ? "front wall" : "bottom slab") +
                                " type " + std::to_string(calc.CalcType[c]) + " Lx " +
                                std::to_string(calc.CalcLx[c]) + " Ly " +
                                std::to_string(calc.CalcLy[c]) + " QA " +
                                std::to_string(calc.CalcQA[c]) + " QB " +
                                std::to_string(calc.CalcQB[c]) + ": " + DescribeOverlap(d, o));
                        }
                    }
                }
            }
        }
        cases.clear();
    };
    for (int type = 1; type <= 5; ++type) {
        for (double lx : spans) {
            for (double ly : spans) {
                for (double lambda : lambdas) {
                    for (const auto& [qa, qb] : loads) {
                        const int c = ++cases.CaseCount;
                        cases.setDefaults(c);
                        cases.cell(c, 2) = static_cast<double>(type - 1);
                        cases.cell(c, 5) = lx;
                        cases.cell(c, 6) = ly;
                        cases.cell(c, 8) = lambda;
                        cases.cell(c, 9) = qa;
                        cases.cell(c, 10) = qb;
                        if (cases.CaseCount == MaxCases) {
                            flush();
                        }
                    }
                }
            }
        }
    }
    if (cases.CaseCount > 0) {
        flush();
    }
    EXPECT_EQ(drawn, 5u * 4 * 4 * 3 * 12 * 3 * 2);
    std::string all;
    for (const std::string& f : findings) {
        all += f + "\n";
    }
    EXPECT_TRUE(findings.empty()) << all;
}

} // namespace
