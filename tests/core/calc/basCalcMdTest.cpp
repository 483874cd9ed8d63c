#include "core/calc/basCalcMd.h"
#include "core/text/ListInput.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using namespace ormavex;
using ormavex::test::TempDir;
using ormavex::test::TestBlock;
using ormavex::test::TestCoef;
using ormavex::test::WriteCoefFile;
using ormavex::test::WriteSjisLines;

namespace {

// The file holds the coefficients to 6 decimals: compare to 1e-12 relative.
#define EXPECT_CLOSE(a, b) EXPECT_NEAR((a), (b), 1e-12 * (1.0 + std::fabs(b)))

// A data folder with all five files, each holding blocks 0.5 (base 0), 1.0
// (base 1) and 2.0 (base 2).
class CalcTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<TestBlock> blocks = {{"L=0.50", 0.0}, {"L=1.00", 1.0}, {"L=2.00", 2.0}};
        for (int type = 1; type <= 5; ++type) {
            WriteCoefFile(CoefFilePath(dir.path(), type), TableType(type)->points, blocks);
        }
    }

    void addCase(int type, double lx, double ly, double lambda, double qa, double qb) {
        const int c = ++cases.CaseCount;
        cases.setDefaults(c);
        cases.cell(c, 2) = static_cast<double>(type - 1);
        cases.cell(c, 5) = lx;
        cases.cell(c, 6) = ly;
        cases.cell(c, 8) = lambda;
        cases.cell(c, 9) = qa;
        cases.cell(c, 10) = qb;
    }

    bool run() { return CalcMoments(cases, calc, coef, dir.path()); }

    TempDir dir;
    CaseTable cases;
    CalcArrays calc;
    CoefWorkTables coef;
};

} // namespace

TEST_F(CalcTest, BlockMatchingUsesTolerance0009AndTheFirstMatch) {
    WriteCoefFile(CoefFilePath(dir.path(), 3), 9,
                  {{"L=0.995", 10.0},
                   {"L=1.005", 20.0},
                   {"XY1.009", 30.0},
                   {"  1.50", 40.0},
                   {"版 1.50", 50.0},
                   {"AB9999.0", 60.0}});
    EXPECT_TRUE(LoadCoefTable(dir.path(), calc, coef, 3, 1.0, 1));
    EXPECT_DOUBLE_EQ(coef.CoefMxUniform(1, 1), TestCoef(10.0, 1, 1, 1)); // first of two
    EXPECT_TRUE(LoadCoefTable(dir.path(), calc, coef, 3, 1.0089, 1));
    EXPECT_DOUBLE_EQ(coef.CoefMxUniform(1, 1), TestCoef(20.0, 1, 1, 1)); // 0.995 is 0.0139 off
    EXPECT_TRUE(LoadCoefTable(dir.path(), calc, coef, 3, 1.5, 1));
    EXPECT_DOUBLE_EQ(coef.CoefMyTriangle(3, 9), TestCoef(40.0, 4, 3, 9));
    // "9999.0" is a ratio, not the end marker.
    EXPECT_TRUE(LoadCoefTable(dir.path(), calc, coef, 3, 9999.0, 1));
    EXPECT_DOUBLE_EQ(coef.CoefMxUniform(2, 2), TestCoef(60.0, 1, 2, 2));
    // 1.009 is 0.009 away from 1.018: no match, and the tables stay.
    EXPECT_FALSE(LoadCoefTable(dir.path(), calc, coef, 3, 1.018 + 1e-12, 1));
    EXPECT_DOUBLE_EQ(coef.CoefMxUniform(2, 2), TestCoef(60.0, 1, 2, 2));
    EXPECT_FALSE(LoadCoefTable(dir.path(), calc, coef, 3, 7.0, 1));
}

TEST_F(CalcTest, ReadsExactly12nNumbersPerBlock) {
    for (int type : {1, 2, 5}) {
        const int n = TableType(type)->points;
        ASSERT_TRUE(LoadCoefTable(dir.path(), calc, coef, type, 2.0, 7));
        EXPECT_EQ(calc.CalcRowCount[7], 3);
        EXPECT_EQ(calc.CalcPointCount[7], n);
        EXPECT_DOUBLE_EQ(coef.CoefMyTriangle(3, n), TestCoef(2.0, 4, 3, n));
    }
    // A stream reader stops right behind the last number it needs.
    ListInputReader r("1 2 3 4 5, 6 7 8 9 10 11 12 13 14 15 end");
    calc.CalcRowCount[1] = 3;
    calc.CalcPointCount[1] = 5;
    CoefTable table;
    ReadCoefBlock(r, table, calc, 1);
    EXPECT_DOUBLE_EQ(table(3, 5), 15.0);
    std::string_view rest;
    ASSERT_TRUE(r.nextNumberField(rest));
    EXPECT_EQ(rest, "end");
}

TEST_F(CalcTest, LoaderFailuresAreRaised) {
    EXPECT_THROW(LoadCoefTable(dir.path() + "/none", calc, coef, 1, 1.0, 1), Error);
    EXPECT_THROW(LoadCoefTable(dir.path(), calc, coef, 6, 1.0, 1), Error);
    // No end marker.
    WriteSjisLines(CoefFilePath(dir.path(), 1), {"L=1.00"});
    EXPECT_THROW(LoadCoefTable(dir.path(), calc, coef, 1, 2.0, 1), Error);
    // The block ends before its last number.
    WriteSjisLines(CoefFilePath(dir.path(), 1), {"L=1.00", "1 2 3"});
    EXPECT_THROW(LoadCoefTable(dir.path(), calc, coef, 1, 1.0, 1), Error);
    // A field that is not a number is not read as 0.
    WriteSjisLines(CoefFilePath(dir.path(), 5), {"L=1.00", "1 2 x 4 5", "1 2 3 4 5", "", "", "", "",
                                                 "", "", "", "", "", "", "", "EN9999"});
    EXPECT_THROW(LoadCoefTable(dir.path(), calc, coef, 5, 1.0, 1), Error);
}

TEST_F(CalcTest, SplitsTheLoadAndReversesForFixedPlatesWithoutQB) {
    addCase(1, 4.0, 4.0, 1.0, 10.0, 0.0);   // free edge: u = QB, t = QA - QB
    addCase(3, 4.0, 4.0, 1.0, 10.0, 0.0);   // fixed, QB = 0: u = 0, t = QA, reversed
    addCase(3, 4.0, 4.0, 1.0, 10.0, 4.0);   // fixed: u = QA, t = QB - QA
    addCase(4, 4.0, 4.0, 1.0, 10.0, -0.01); // |QB| > 0.009: normal
    addCase(4, 4.0, 4.0, 1.0, 10.0, 0.009); // |QB| = 0.009: reversed
    ASSERT_TRUE(run());
    const double l2 = 16.0;
    const double b = 1.0;
    for (int j = 1; j <= 3; ++j) {
        for (int k = 1; k <= 9; ++k) {
            EXPECT_CLOSE(calc.CalcMx[1](j, k),
                         l2 * 0.0 * TestCoef(b, 1, j, k) + l2 * 10.0 * TestCoef(b, 3, j, k));
            EXPECT_CLOSE(calc.CalcMx[2](j, k), l2 * 10.0 * TestCoef(b, 3, j, 10 - k));
            EXPECT_CLOSE(calc.CalcMy[2](j, k), l2 * 10.0 * TestCoef(b, 4, j, 10 - k));
            EXPECT_CLOSE(calc.CalcMx[3](j, k),
                         l2 * 10.0 * TestCoef(b, 1, j, k) + l2 * -6.0 * TestCoef(b, 3, j, k));
        }
        for (int k = 1; k <= 7; ++k) {
            EXPECT_CLOSE(calc.CalcMy[4](j, k), l2 * 10.0 * TestCoef(b, 2, j, k) +
                                                   l2 * (-0.01 - 10.0) * TestCoef(b, 4, j, k));
            EXPECT_CLOSE(calc.CalcMx[5](j, k), l2 * 10.0 * TestCoef(b, 3, j, 8 - k));
        }
    }
    EXPECT_EQ(calc.CalcType[2], 3);
    EXPECT_EQ(calc.CalcKeta[2], 2);
    EXPECT_CLOSE(calc.CalcQA[4], 10.0);
    EXPECT_CLOSE(calc.CalcQB[4], -0.01);
}

TEST_F(CalcTest, ReferenceSpanIsTheShorterOneAndLxWhenEqual) {
    addCase(3, 3.0, 2.0, 1.0, 1.0, 1.0); // L = 2
    addCase(3, 2.0, 3.0, 1.0, 1.0, 1.0); // L = 2
    addCase(3, 2.5, 2.5, 1.0, 1.0, 1.0); // L = 2.5
    ASSERT_TRUE(run());
    EXPECT_CLOSE(calc.CalcMx[1](1, 1), 4.0 * TestCoef(1.0, 1, 1, 1));
    EXPECT_CLOSE(calc.CalcMx[2](1, 1), 4.0 * TestCoef(1.0, 1, 1, 1));
    EXPECT_CLOSE(calc.CalcMx[3](1, 1), 6.25 * TestCoef(1.0, 1, 1, 1));
}

TEST_F(CalcTest, FiveFixedPointsLeaveTheRestUntouched) {
    calc.CalcMx[1](2, 6) = 123.0;
    addCase(5, 4.0, 4.0, 0.5, 10.0, 20.0);
    ASSERT_TRUE(run());
    EXPECT_CLOSE(calc.CalcMx[1](2, 6), 123.0);
    EXPECT_CLOSE(calc.CalcMx[1](2, 5),
                 16.0 * (10.0 * TestCoef(0.0, 1, 2, 5) + 10.0 * TestCoef(0.0, 3, 2, 5)));
}

TEST_F(CalcTest, NinetyNineCasesAreCalculatedAndMoreAreRefused) {
    for (int c = 1; c <= MaxCases; ++c) {
        addCase(3, 4.0, 4.0, 1.0, 10.0, 4.0);
    }
    ASSERT_TRUE(run());
    EXPECT_CLOSE(calc.CalcMx[MaxCases](1, 1),
                 16.0 * (10.0 * TestCoef(1.0, 1, 1, 1) - 6.0 * TestCoef(1.0, 3, 1, 1)));
    cases.CaseCount = MaxCases + 1;
    EXPECT_FALSE(run());
}

// A case that cannot be calculated is named with its cause, in Japanese for
// the window and in English for the command line, and the other cases are
// still calculated.
TEST_F(CalcTest, FailingCasesAreNamedWithTheirCauseAndTheRunGoesOn) {
    EXPECT_TRUE(run()); // no cases: nothing to do

    const std::string span = "辺長は 0 より大きく 99.999 以下でなければなりません";
    const std::string spanEn = "a span must be greater than 0 and at most 99.999";
    const std::string load = "荷重の入力範囲（-9999.99 ～ 9999.99）の外です";
    const std::string loadEn = "outside the accepted range -9999.99 .. 9999.99";
    struct Row {
        int column;
        Cell value;
        std::string cause;   // empty: the case is calculated
        std::string english; // the start of the English cause
    };
    const Row rows[] = {
        {5, 0.0, "Lx = 0：" + span, "Lx = 0: " + spanEn},
        {6, -2.0, "Ly = -2：" + span, "Ly = -2: " + spanEn},
        {5, Cell(), "Lx が入力されていません", "Lx is empty"},
        {6, "abc", "Ly = 0：" + span, "Ly = 0: "}, // a text without a number reads as 0
        {5, 100.0, "Lx = 100：" + span, "Lx = 100: "},
        {5, 99.999, "", ""},
        {8, 0.0, "λ = 0：辺長比 λ は 0 より大きくなければなりません",
         "λ = 0: the side ratio must be a number greater than 0"},
        {8, 1.5, "計算数表 FIX_84.DAT に λ = 1.5 のﾌﾞﾛｯｸがありません",
         "no coefficient block for λ = 1.500000 in " + dir.path() + "/FIX_84.DAT"},
        {9, 1e300, "QA = 1e+300：" + load, "QA = 1e+300: " + loadEn},
        {10, -10000.0, "QB = -10000：" + load, "QB = -10000: "},
        {9, 9999.994, "", ""}, // the sheet keeps 9999.99
        {2, "x", "計算数表の種類または小数部桁数が整数ではありません",
         "the table type or the decimal places are not a whole number"},
        {2, 7.0, "計算数表の種類（7）が正しくありません", "table type 7 is not one of 0 .. 4"},
        {4, "1", "", ""}, // numeric text converts
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cause);
        cases = CaseTable();
        calc = CalcArrays();
        addCase(3, 4.0, 4.0, 1.0, 10.0, 4.0);
        addCase(3, 4.0, 4.0, 1.0, 10.0, 4.0);
        addCase(3, 4.0, 4.0, 1.0, 10.0, 4.0);
        cases.cell(2, row.column) = row.value;
        Error error;
        std::vector<CaseFailure> failures;
        const bool ok = CalcMoments(cases, calc, coef, dir.path(), &error, &failures);
        EXPECT_NE(calc.CalcMx[3](1, 1), 0.0) << "the run goes on";
        if (row.cause.empty()) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(failures.empty());
            continue;
        }
        EXPECT_FALSE(ok);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].caseNo, 2);
        EXPECT_EQ(failures[0].cause, row.cause);
        EXPECT_EQ(failures[0].causeEnglish.rfind(row.english, 0), 0u) << failures[0].causeEnglish;
        EXPECT_EQ(error.message(), "case 2: " + failures[0].causeEnglish);
        EXPECT_EQ(calc.CalcPointCount[2], 0) << "a failed case keeps no results";
        EXPECT_EQ(calc.CalcMx[2](1, 1), 0.0);
    }
    EXPECT_EQ(calc.CalcKeta[2], 3);

    // Every failing case is listed, in order; a missing file names the file
    // and its error code.
    std::filesystem::remove(CoefFilePath(dir.path(), 1));
    addCase(1, 4.0, 4.0, 1.0, 10.0, 4.0);
    cases.cell(1, 5) = 0.0;
    std::vector<CaseFailure> failures;
    EXPECT_FALSE(CalcMoments(cases, calc, coef, dir.path(), nullptr, &failures));
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[1].caseNo, 4);
    EXPECT_EQ(failures[1].cause.rfind("計算数表 FREE_84.DAT を読み込めません（ｴﾗｰｺｰﾄﾞ ： ", 0), 0u)
        << failures[1].cause;
    EXPECT_EQ(CaseFailureLines(failures), "№1 Lx = 0：" + span + "\n№4 " + failures[1].cause);
}

TEST_F(CalcTest, ABlockAcrossTheEndOfAReadIsReadWhole) {
    // A file is read in pieces (32 KB, then as much again): whatever byte of
    // a block a piece ends at, the block's numbers are read whole. The first
    // header line is padded to move the ends through a block's bytes.
    std::vector<TestBlock> many;
    for (int b = 0; b < 150; ++b) {
        many.push_back({"L=" + std::to_string(0.30 + 0.05 * b).substr(0, 4), 0.5 * b});
    }
    const std::string path = CoefFilePath(dir.path(), 3);
    for (std::size_t pad = 0; pad < 12; ++pad) {
        WriteCoefFile(path, 9, many);
        std::string bytes = test::ReadBytes(path);
        bytes.insert(bytes.find('\r'), pad, ' ');
        test::WriteBytes(path, bytes);
        for (std::size_t end : {std::size_t{32 * 1024}, std::size_t{64 * 1024}}) {
            SCOPED_TRACE(testing::Message() << "pad " << pad << ", end " << end);
            const std::string header = bytes.substr(bytes.rfind("L=", end), 6);
            const auto block = std::find_if(many.begin(), many.end(),
                                            [&](const TestBlock& b) { return b.header == header; });
            ASSERT_NE(block, many.end());
            ASSERT_TRUE(LoadCoefTable(dir.path(), calc, coef, 3, std::stod(header.substr(2)), 1));
            const CoefTable* tables[] = {&coef.CoefMxUniform, &coef.CoefMyUniform,
                                         &coef.CoefMxTriangle, &coef.CoefMyTriangle};
            for (int t = 1; t <= 4; ++t) {
                for (int j = 1; j <= 3; ++j) {
                    for (int k = 1; k <= 9; ++k) {
                        EXPECT_DOUBLE_EQ((*tables[t - 1])(j, k), TestCoef(block->base, t, j, k));
                    }
                }
            }
        }
    }
}

TEST_F(CalcTest, ARunGivesWhatLoadingEachCaseAloneGives) {
    // Files longer than one read, blocks met out of order and again, and one
    // file that ends inside its last block: every case of one run must give
    // the moments, or the failure, of that case calculated on its own.
    std::vector<TestBlock> many;
    for (int b = 0; b < 150; ++b) {
        many.push_back({"L=" + std::to_string(0.30 + 0.05 * b).substr(0, 4), 0.5 * b});
    }
    for (int type = 1; type <= 4; ++type) {
        WriteCoefFile(CoefFilePath(dir.path(), type), TableType(type)->points, many);
    }
    const std::string fix44 = CoefFilePath(dir.path(), 5);
    WriteCoefFile(fix44, 5, {{"L=0.50", 0.0}, {"L=1.00", 1.0}});
    std::string bytes = test::ReadBytes(fix44);
    bytes.resize(bytes.find("L=1.00") + 40); // the 1.00 block is cut short
    test::WriteBytes(fix44, bytes);

    const double lambdas[] = {7.0, 0.35, 7.0, 3.1, 0.3, 5.5, 1.5};
    for (int i = 0; i < 21; ++i) {
        addCase(1 + i % 4, 4.0, 3.0 + 0.1 * i, lambdas[i % 7], 10.0 + i, i % 3 == 0 ? 0.0 : 4.0);
    }
    addCase(5, 4.0, 4.0, 0.5, 10.0, 4.0);
    addCase(5, 4.0, 4.0, 1.0, 10.0, 4.0); // the block that is cut short
    Error error;
    ASSERT_FALSE(CalcMoments(cases, calc, coef, dir.path(), &error));

    for (int c = 1; c <= cases.CaseCount; ++c) {
        SCOPED_TRACE(c);
        CaseTable one;
        one.CaseCount = 1;
        for (int col = 1; col <= 10; ++col) {
            one.cell(1, col) = cases.cell(c, col);
        }
        CalcArrays alone;
        CoefWorkTables coefAlone;
        Error errorAlone;
        const bool ok = CalcMoments(one, alone, coefAlone, dir.path(), &errorAlone);
        EXPECT_EQ(ok, c < cases.CaseCount);
        if (!ok) {
            EXPECT_EQ(error.message(),
                      "case " + std::to_string(c) + std::string(errorAlone.message()).substr(6));
            continue;
        }
        for (int j = 1; j <= 3; ++j) {
            for (int k = 1; k <= alone.CalcPointCount[1]; ++k) {
                EXPECT_EQ(calc.CalcMx[c](j, k), alone.CalcMx[1](j, k));
                EXPECT_EQ(calc.CalcMy[c](j, k), alone.CalcMy[1](j, k));
            }
        }
    }
}
