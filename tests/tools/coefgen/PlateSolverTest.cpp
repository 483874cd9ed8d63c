// The plate solver against published values, the exact properties of the solution, and its mesh
// convergence. Coarse meshes keep each test well under a second in an optimised build.
#include "PlateSolver.h"
#include "CoefTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace ormavex::coefgen {
namespace {

constexpr int kCoarse = 24;
constexpr int kCentre = 12; // station x = Lx/2
constexpr int kRow1 = 0;    // y = 0
constexpr int kRow3 = 2;    // y = Ly/2

double coefficient(const StationCoefficients& c, Table t, int row, int station) {
    return c.value[static_cast<int>(t)][row][station];
}

// Plate clamped on all four edges under uniform load, nu = 0.3, moments in units of q a^2 with a
// the shorter span (Timoshenko & Woinowsky-Krieger, table of clamped plates; 0.0229 for the square
// from the accurate series solution).
struct Published {
    double ratio;       // b / a
    double longEdge;    // middle of the long edge, moment across it
    double shortEdge;   // middle of the short edge
    double centreShort; // centre, moment along the short span
    double centreLong;  // centre, moment along the long span
};

void PrintTo(const Published& p, std::ostream* os) { *os << "b/a = " << p.ratio; }

class ClampedPlate : public ::testing::TestWithParam<Published> {};

// Both orientations of the plate: the long side along x (lambda = b/a, short span Ly) and along y
// (lambda = a/b, short span Lx). A mix-up of the spans, of Mx and My or of the reference length
// shows in one of them.
TEST_P(ClampedPlate, MatchesPublishedCoefficientsWithin0Point3Percent) {
    const Published p = GetParam();
    auto near = [](double actual, double expected) {
        EXPECT_NEAR(actual, expected, 0.003 * std::fabs(expected));
    };
    const auto alongX = plateCoefficients(Family::Fix, p.ratio, 0.3, kCoarse);
    near(coefficient(alongX, Table::MyUniform, kRow3, kCentre), p.longEdge);
    near(coefficient(alongX, Table::MxUniform, kRow1, 0), p.shortEdge);
    near(coefficient(alongX, Table::MyUniform, kRow1, kCentre), p.centreShort);
    near(coefficient(alongX, Table::MxUniform, kRow1, kCentre), p.centreLong);

    const auto alongY = plateCoefficients(Family::Fix, 1.0 / p.ratio, 0.3, kCoarse);
    near(coefficient(alongY, Table::MxUniform, kRow1, 0), p.longEdge);
    near(coefficient(alongY, Table::MyUniform, kRow3, kCentre), p.shortEdge);
    near(coefficient(alongY, Table::MxUniform, kRow1, kCentre), p.centreShort);
    near(coefficient(alongY, Table::MyUniform, kRow1, kCentre), p.centreLong);
}

INSTANTIATE_TEST_SUITE_P(TimoshenkoTable, ClampedPlate,
                         ::testing::Values(Published{1.0, -0.0513, -0.0513, 0.0229, 0.0229},
                                           Published{1.5, -0.0757, -0.0570, 0.0368, 0.0203},
                                           Published{2.0, -0.0829, -0.0571, 0.0412, 0.0158}),
                         [](const ::testing::TestParamInfo<Published>& info) {
                             return "SidesRatio" + std::to_string(info.index + 2) + "to2";
                         });

TEST(PlateSolver, FourFixedUniformTablesAreSymmetricAboutMidSpan) {
    for (double lambda : {0.45, 1.0, 2.65}) {
        const auto c = plateCoefficients(Family::Fix, lambda, kConcretePoisson, kCoarse);
        for (Table t : {Table::MxUniform, Table::MyUniform}) {
            for (int r = 0; r < kRowCount; ++r) {
                for (int st = 0; st < StationCurvatures::kStations; ++st) {
                    EXPECT_NEAR(coefficient(c, t, r, st), coefficient(c, t, r, 24 - st), 1e-10)
                        << "lambda " << lambda << " row " << r << " station " << st;
                }
            }
        }
    }
}

// The free edge carries no bending moment. The element solution meets this natural boundary
// condition only approximately; it must come close on its own (a wrong Poisson term or a missing
// free edge would leave a moment of the order of 0.01), and the tables carry the exact zero.
TEST(PlateSolver, MxVanishesAlongTheFreeEdge) {
    const double nu = kConcretePoisson;
    const PlateSolution raw = solvePlate(Family::Free, 1.0, 1.0, nu, meshFor(1.0, kCoarse));
    for (const StationCurvatures* c : {&raw.uniform, &raw.triangle}) {
        for (int r = 0; r < 2; ++r) {
            EXPECT_NEAR(c->wxx[r][24] + nu * c->wyy[r][24], 0.0, 5e-6) << "row " << r;
        }
    }
    const auto delivered = plateCoefficients(Family::Free, 1.0, nu, kCoarse);
    for (Table t : {Table::MxUniform, Table::MxTriangle}) {
        for (int r = 0; r < kRowCount; ++r) {
            EXPECT_EQ(coefficient(delivered, t, r, 24), 0.0);
        }
    }
    // ... while My there is finite: the largest sagging moment of a wall with a free top.
    EXPECT_GT(coefficient(delivered, Table::MyUniform, kRow1, 24), 0.04);
}

TEST(PlateSolver, CornersOfTheResultGridAreExactZeros) {
    for (Family family : {Family::Free, Family::Fix}) {
        const auto c = plateCoefficients(family, 0.8, kConcretePoisson, kCoarse);
        for (const auto& table : c.value) {
            EXPECT_EQ(table[kRow3][0], 0.0);
            EXPECT_EQ(table[kRow3][24], 0.0);
            EXPECT_FALSE(std::signbit(table[kRow3][24]));
        }
    }
}

// Support reactions from the stiffness rows of the fixed degrees of freedom balance the applied
// load, in force and in moment about the edge x = 0.
TEST(PlateSolver, SupportReactionsBalanceTheLoad) {
    const double lx = 1.0;
    const double ly = 1.6;
    for (Family family : {Family::Free, Family::Fix}) {
        const PlateSolution s = solvePlate(family, lx, ly, 0.2, PlateMesh{24, 10});
        const double area = lx * ly;
        // Triangle load q = x/Lx (Fix) or 1 - x/Lx (Free): resultant area/2 at 2Lx/3 or Lx/3.
        const double triangleArm = family == Family::Fix ? 2.0 * lx / 3.0 : lx / 3.0;
        EXPECT_NEAR(s.reactionForce[0], area, 1e-9 * area);
        EXPECT_NEAR(s.reactionMomentAboutX0[0], area * lx / 2.0, 1e-9 * area);
        EXPECT_NEAR(s.reactionForce[1], area / 2.0, 1e-9 * area);
        EXPECT_NEAR(s.reactionMomentAboutX0[1], area / 2.0 * triangleArm, 1e-9 * area);
    }
}

// Going from 12 to 24 to 48 elements across the short span (24, 48, 96 for the free plate), the
// largest change of any delivered coefficient shrinks at least like h^2 (h^3 to h^4 where the
// solution is smooth; the smaller factor allows for the clamped-free corner).
TEST(PlateSolver, CoefficientsConvergeUnderMeshRefinement) {
    auto largestChange = [](const StationCoefficients& a, const StationCoefficients& b) {
        double largest = 0.0;
        for (int t = 0; t < kTableCount; ++t) {
            for (int r = 0; r < kRowCount; ++r) {
                for (int st = 0; st < StationCurvatures::kStations; st += 3) {
                    largest = std::max(largest, std::fabs(a.value[t][r][st] - b.value[t][r][st]));
                }
            }
        }
        return largest;
    };
    for (Family family : {Family::Fix, Family::Free}) {
        // The free plate's mesh is graded towards the clamped-free corner only from one element
        // of L/24 on, so it is followed one level further: 24, 48 and 96 elements.
        const int coarse = family == Family::Fix ? 12 : 24;
        const auto c1 = plateCoefficients(family, 1.0, kConcretePoisson, coarse);
        const auto c2 = plateCoefficients(family, 1.0, kConcretePoisson, 2 * coarse);
        const auto c4 = plateCoefficients(family, 1.0, kConcretePoisson, 4 * coarse);
        const double first = largestChange(c1, c2);
        const double second = largestChange(c2, c4);
        EXPECT_LT(second, 1e-5);
        EXPECT_LT(second, first / (family == Family::Fix ? 4.0 : 2.5))
            << "changes " << first << " then " << second;
    }
}

} // namespace
} // namespace ormavex::coefgen
