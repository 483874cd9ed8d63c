// What the results window and ormavex-batch --real-ratio rest on: the moments
// at the real side ratio against stored direct plate solutions, the governing
// moments of a case and the results CSV.

#include "core/calc/MomentSummary.h"
#include "core/calc/RealRatio.h"
#include "core/text/LeadingNumber.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace ormavex;
using ormavex::test::TempDir;
using ormavex::test::TestBlock;
using ormavex::test::TestCoef;
using ormavex::test::WriteCoefFile;

namespace {

const std::string DataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";

// One plate of direct-plate-solutions.txt: the four 3 × 9 tables that
// ormavex-coefgen printed for it.
struct DirectSolution {
    std::string family;
    int points = 9;
    double ratio = 0.0;
    CoefWorkTables tables;
};

std::vector<DirectSolution> ReadDirectSolutions() {
    std::ifstream in(std::string(ORMAVEX_SOURCE_DIR) +
                     "/tests/core/calc/direct-plate-solutions.txt");
    std::vector<DirectSolution> out;
    std::string line;
    int table = 0;
    int row = 0;
    while (std::getline(in, line)) {
        if (line.rfind("FIX plate", 0) == 0 || line.rfind("FREE plate", 0) == 0) {
            const std::size_t comma = line.find(", ");
            out.push_back({line.substr(0, line.find(' ')),
                           static_cast<int>(LeadingNumber(line.substr(comma + 2))),
                           0.0,
                           {}});
            table = -1;
        } else if (line.rfind("lambda = Lx/Ly = ", 0) == 0) {
            out.back().ratio = LeadingNumber(line.substr(17));
        } else if (line.rfind("Mx, ", 0) == 0 || line.rfind("My, ", 0) == 0) {
            ++table;
            row = 0;
        } else if (!out.empty() && table >= 0 && line.size() > 12 && (line[0] == 'I') &&
                   line.find("y = ") != std::string::npos) {
            CoefWorkTables& t = out.back().tables;
            CoefTable* tables[] = {&t.CoefMxUniform, &t.CoefMyUniform, &t.CoefMxTriangle,
                                   &t.CoefMyTriangle};
            std::istringstream numbers(line.substr(12));
            ++row;
            for (int k = 1; k <= out.back().points; ++k) {
                numbers >> (*tables[table])(row, k);
            }
        }
    }
    return out;
}

double MaxDifference(const CoefWorkTables& a, const CoefWorkTables& b, int points) {
    const CoefTable* ta[] = {&a.CoefMxUniform, &a.CoefMyUniform, &a.CoefMxTriangle,
                             &a.CoefMyTriangle};
    const CoefTable* tb[] = {&b.CoefMxUniform, &b.CoefMyUniform, &b.CoefMxTriangle,
                             &b.CoefMyTriangle};
    double worst = 0.0;
    for (int t = 0; t < 4; ++t) {
        for (int j = 1; j <= 3; ++j) {
            for (int k = 1; k <= points; ++k) {
                worst = std::max(worst, std::fabs((*ta[t])(j, k) - (*tb[t])(j, k)));
            }
        }
    }
    return worst;
}

void AddCase(CaseTable& cases, const std::string& title, int type, double lx, double ly,
             double lambda, double qa, double qb) {
    const int c = ++cases.CaseCount;
    cases.setDefaults(c);
    cases.cell(c, 1) = title;
    cases.cell(c, 2) = static_cast<double>(type - 1);
    cases.cell(c, 5) = lx;
    cases.cell(c, 6) = ly;
    cases.cell(c, 8) = lambda;
    cases.cell(c, 9) = qa;
    cases.cell(c, 10) = qb;
}

} // namespace

// The coefficients interpolated from the delivered tables agree with a
// direct solution of the plate at that ratio within 2e-4 (moment 2e-4 q L²):
// both families, both loads, below and above λ = 1 and next to both ends
// (9 points each, and one plate of each of the 7- and 5-point tables).
TEST(RealRatio, InterpolationAgreesWithDirectPlateSolutions) {
    const std::vector<DirectSolution> direct = ReadDirectSolutions();
    ASSERT_EQ(direct.size(), 17u);
    CoefInterpolator tables(DataFolder);
    double worst[2] = {0.0, 0.0};
    for (const DirectSolution& d : direct) {
        SCOPED_TRACE(d.family + " " + std::to_string(d.ratio) + " " + std::to_string(d.points));
        const bool fix = d.family == "FIX";
        // Table types by family and points: FREE 9, 7 = 1, 2; FIX 9, 7, 5 = 3, 4, 5.
        const int type = (fix ? 3 : 1) + (9 - d.points) / 2;
        ASSERT_EQ(TableType(type)->points, d.points);
        const double error = MaxDifference(tables.at(type, d.ratio), d.tables, d.points);
        EXPECT_LT(error, 2e-4);
        worst[fix ? 1 : 0] = std::max(worst[fix ? 1 : 0], error);
    }
    RecordProperty("largest_error_FREE", std::to_string(worst[0]));
    RecordProperty("largest_error_FIX", std::to_string(worst[1]));
    std::printf("largest |interpolated - direct|: FREE %.3g, FIX %.3g\n", worst[0], worst[1]);
}

// At a tabulated ratio the block itself comes back, bit for bit; outside the
// table's range the ratio is refused with the range named; a ratio is never
// interpolated with blocks from the other side of λ = 1.
TEST(RealRatio, TabulatedRatiosAreExactAndTheRangeIsEnforced) {
    CoefInterpolator tables(DataFolder);
    CalcArrays calc;
    CoefWorkTables coef;
    for (int type = 1; type <= 5; ++type) {
        EXPECT_DOUBLE_EQ(tables.lowest(type), 0.30);
        EXPECT_DOUBLE_EQ(tables.highest(type), 4.00);
        for (double ratio : {0.30, 0.90, 1.00, 1.05, 4.00, 4.5 / 5.0}) {
            ASSERT_TRUE(LoadCoefTable(DataFolder, calc, coef, type, ratio, 1));
            EXPECT_EQ(MaxDifference(tables.at(type, ratio), coef, TableType(type)->points), 0.0)
                << type << " " << ratio;
        }
        try {
            tables.at(type, 4.01);
            ADD_FAILURE() << "4.01 accepted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("outside the range 0.3 .. 4"), std::string::npos)
                << e.what();
        }
        EXPECT_THROW(tables.at(type, 0.29), Error);
    }

    // Coefficients constant up to λ = 1 and rising linearly beyond it (a kink
    // at λ = 1, as the change of reference span gives): each side alone is
    // reproduced exactly, any weight from the other side would show.
    TempDir dir;
    std::vector<TestBlock> blocks;
    for (int i = 0; i <= 8; ++i) {
        const double r = 0.8 + 0.05 * i;
        char header[16];
        std::snprintf(header, sizeof header, "L=%.2f", r);
        blocks.push_back({header, r <= 1.0 ? 0.0 : 100.0 * (r - 1.0)});
    }
    WriteCoefFile(CoefFilePath(dir.path(), 3), 9, blocks);
    CoefInterpolator steps(dir.path());
    EXPECT_NEAR(steps.at(3, 0.97).CoefMxUniform(2, 3), TestCoef(0.0, 1, 2, 3), 1e-12);
    EXPECT_NEAR(steps.at(3, 1.01).CoefMxUniform(2, 3), TestCoef(1.0, 1, 2, 3), 1e-9);
    EXPECT_NEAR(steps.at(3, 1.03).CoefMyTriangle(3, 9), TestCoef(3.0, 4, 3, 9), 1e-9);
    EXPECT_NEAR(steps.at(3, 1.19).CoefMyTriangle(3, 9), TestCoef(19.0, 4, 3, 9), 1e-9);
}

// Moments at each case's Lx/Ly: the table's own at a tabulated ratio, the
// case's load split and reference span, one cause per failing case.
TEST(RealRatio, CasesGetMomentsAtLxOverLyOrACause) {
    CaseTable cases;
    AddCase(cases, "tabulated", 1, 4.5, 5.0, 0.9, 185.4, 132.6); // Lx/Ly = 0.9
    AddCase(cases, "between", 4, 6.0, 4.8, 1.25, 120.0, 0.0);    // 1.25, λ unused
    AddCase(cases, "too long", 3, 9.0, 2.0, 4.0, 10.0, 10.0);    // 4.5
    AddCase(cases, "no span", 3, 0.0, 2.0, 1.0, 10.0, 10.0);
    CalcArrays atLambda;
    CoefWorkTables coef;
    CaseTable first = cases;
    first.CaseCount = 2;
    ASSERT_TRUE(CalcMoments(first, atLambda, coef, DataFolder));
    CalcArrays real;
    std::vector<CaseFailure> failures;
    EXPECT_FALSE(CalcMomentsAtRealRatio(cases, real, DataFolder, &failures));
    for (int j = 1; j <= 3; ++j) {
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(real.CalcMx[1](j, k), atLambda.CalcMx[1](j, k));
            EXPECT_EQ(real.CalcMy[1](j, k), atLambda.CalcMy[1](j, k));
        }
    }
    EXPECT_EQ(real.CalcMx[2](1, 1), atLambda.CalcMx[2](1, 1)); // 1.25 is tabulated
    EXPECT_DOUBLE_EQ(real.CalcRamuda[2], 1.25);
    EXPECT_EQ(real.CalcPointCount[2], 7);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].caseNo, 3);
    EXPECT_EQ(failures[0].cause,
              "Lx/Ly = 4.5：計算数表 FIX_84.DAT の辺長比の範囲（0.3 ～ 4）の外です");
    EXPECT_EQ(real.CalcPointCount[3], 0);
    EXPECT_EQ(failures[1].caseNo, 4);
    EXPECT_EQ(failures[1].causeEnglish, "Lx = 0: a span must be greater than 0 and at most 99.999");
}

// Governing values and places of a grid checked by hand: ties go to the
// first in row-then-point order, a sign that never occurs gives no place.
TEST(MomentSummary, GoverningValuesAndPlaces) {
    CalcArrays calc;
    calc.CalcRowCount[2] = 3;
    calc.CalcPointCount[2] = 5;
    const double mx[3][5] = {{-10, -4, 3, 7, 7}, {-12, 2, 5, 7, 1}, {0, -12, 0.5, 0, -3}};
    const double my[3][5] = {{-1, -2, -3, -4, -5}, {-1, -2, -3, -6, -5}, {0, 0, -6, 0, 0}};
    for (int j = 1; j <= 3; ++j) {
        for (int k = 1; k <= 5; ++k) {
            calc.CalcMx[2](j, k) = mx[j - 1][k - 1];
            calc.CalcMy[2](j, k) = my[j - 1][k - 1];
        }
    }
    calc.CalcMx[2](1, 6) = 99.0; // beyond the case's points
    const CaseSummary s = SummariseCase(calc, 2);
    EXPECT_EQ(s.caseNo, 2);
    EXPECT_EQ((std::tuple(s.mxMax.value, s.mxMax.row, s.mxMax.point)), std::tuple(7.0, 1, 4));
    EXPECT_EQ((std::tuple(s.mxMin.value, s.mxMin.row, s.mxMin.point)), std::tuple(-12.0, 2, 1));
    EXPECT_EQ((std::tuple(s.myMax.value, s.myMax.row, s.myMax.point)), std::tuple(0.0, 0, 0));
    EXPECT_EQ((std::tuple(s.myMin.value, s.myMin.row, s.myMin.point)), std::tuple(-6.0, 2, 4));
    EXPECT_EQ(SummariseCase(calc, 3).mxMin.row, 0); // no points: nothing governs

    // The sample's first case (FREE_8*4, Lx 4.5, Ly 5, λ 0.9, QA 185.4, QB 132.6):
    // the clamped edge x = 0 at the centre line governs Mx; My peaks at the free edge.
    CaseTable cases;
    AddCase(cases, "front wall", 1, 4.5, 5.0, 0.9, 185.4, 132.6);
    CoefWorkTables coef;
    ASSERT_TRUE(CalcMoments(cases, calc, coef, DataFolder));
    const CaseSummary front = SummariseCase(calc, 1);
    EXPECT_EQ((std::pair(front.mxMin.row, front.mxMin.point)), std::pair(1, 1));
    EXPECT_NEAR(front.mxMin.value, -230.07732075, 1e-8); // 4.5² × (132.6 × Mx₁ + 52.8 × Mx₃)
    EXPECT_EQ((std::pair(front.myMax.row, front.myMax.point)), std::pair(1, 9));

    // More than 3 % apart in one governing value marks the case; a value near
    // zero is measured against 1 % of the case's largest.
    CaseSummary real = front;
    real.mxMin.value *= 1.029;
    EXPECT_FALSE(RealRatioDiffers(front, real));
    real.mxMin.value = front.mxMin.value * 1.031;
    EXPECT_TRUE(RealRatioDiffers(front, real));
    CaseSummary small = front;
    small.mxMax.value = 1e-6;
    real = small;
    real.mxMax.value = 2e-6;
    EXPECT_FALSE(RealRatioDiffers(small, real));
    EXPECT_FALSE(RealRatioDiffers(CaseSummary{}, CaseSummary{}));
}

// The CSV a spreadsheet opens: BOM, CR LF, titles with commas, quotes and
// Japanese intact, the real-ratio columns empty where a case has none.
TEST(MomentSummary, ResultsCsvBytes) {
    CaseTable cases;
    AddCase(cases, "前壁, 上段 \"A\"", 5, 4.0, 4.0, 1.0, 10.0, 20.0);
    AddCase(cases, "底版", 5, 4.0, 4.0, 1.0, 10.0, 20.0);
    CalcArrays calc;
    for (int c = 1; c <= 2; ++c) {
        calc.CalcRowCount[c] = 3;
        calc.CalcPointCount[c] = 5;
        calc.CalcMx[c](1, 1) = -12.5;
        calc.CalcMy[c](3, 5) = 0.1;
    }
    CalcArrays real = calc;
    real.CalcMx[1](1, 1) = -12.75;
    real.CalcMy[1](1, 1) = -0.0; // a zero load's moment
    real.CalcRowCount[2] = 0;
    real.CalcPointCount[2] = 0;
    const std::string csv = ResultsCsv(cases, calc, &real);
    const std::string head = "\xEF\xBB\xBF"
                             "case,title,row,point,Mx,My,Mx_real,My_real\r\n"
                             "1,\"前壁, 上段 \"\"A\"\"\",1,1,-12.5,0,-12.75,0\r\n"
                             "1,\"前壁, 上段 \"\"A\"\"\",1,2,0,0,0,0\r\n";
    EXPECT_EQ(csv.substr(0, head.size()), head);
    EXPECT_NE(
        csv.find("\r\n1,\"前壁, 上段 \"\"A\"\"\",3,5,0,0.1,0,0.1\r\n2,底版,1,1,-12.5,0,,\r\n"),
        std::string::npos);
    const std::string tail = "\r\n2,底版,3,5,0,0.1,,\r\n";
    EXPECT_EQ(csv.substr(csv.size() - tail.size()), tail);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 31);
    EXPECT_EQ(ResultsCsv(cases, calc, nullptr).find(",-12.75"), std::string::npos);
    EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
    // A title a spreadsheet would take for a formula stays text.
    for (const char* title : {"=1+1", "+A", "-側壁", "@SUM(A1)"}) {
        EXPECT_EQ(CsvTextField(title), std::string("\"'") + title + "\"");
    }
    EXPECT_EQ(CsvTextField("=\"a\",b"), "\"'=\"\"a\"\",b\"");
    EXPECT_EQ(CsvTextField("側壁-1"), "側壁-1");
    cases.cell(2, 1) = std::string("=HYPERLINK(\"x\")");
    EXPECT_NE(ResultsCsv(cases, calc, nullptr).find("\r\n2,\"'=HYPERLINK(\"\"x\"\")\",1,1,"),
              std::string::npos);
}
