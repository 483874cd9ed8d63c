// Text of the generated files, and the committed files in data/ against their format and against
// a fresh computation.
#include "TableFiles.h"
#include "CoefTables.h"
#include "CommittedFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace ormavex::coefgen {
namespace {

TEST(TableFiles, CoefficientsKeepFiveSignificantDigitsWithoutExponent) {
    EXPECT_EQ(formatCoefficient(-0.0513338), "   -0.051334");
    EXPECT_EQ(formatCoefficient(0.00260672), "   0.0026067");
    EXPECT_EQ(formatCoefficient(0.0000141234), " 0.000014123");
    EXPECT_EQ(formatCoefficient(0.5), "    0.500000");
    EXPECT_EQ(formatCoefficient(0.0), "    0.000000");
    EXPECT_EQ(formatCoefficient(-3.1554e-6), "-0.0000031554");
    // Below the last decimal: a zero, never "-0.00000000000000".
    EXPECT_EQ(formatCoefficient(-3e-16), "    0.000000");
}

TEST(TableFiles, BlockHasHeaderThirteenBodyLinesAndTheFileEndsWithTheMarker) {
    CoefBlock block;
    block.lambda = 1.5;
    block.points = 7;
    for (int t = 0; t < kTableCount; ++t) {
        for (int r = 0; r < kRowCount; ++r) {
            for (int k = 0; k < block.points; ++k)
                block.table[t][r][k] = 0.001 * (100 * t + 10 * r + k);
        }
    }
    const auto lines = crlfLines(formatTableFile({block, block}));
    ASSERT_EQ(lines.size(), 2u * 14u + 1u);
    EXPECT_EQ(lines[0], "L=1.50");
    EXPECT_EQ(lines[14], "L=1.50");
    EXPECT_EQ(lines[28].substr(2), "9999");
    // Body: table t row r on line 1 + 3t + r, points in order; then the closing line.
    for (int t = 0; t < kTableCount; ++t) {
        for (int r = 0; r < kRowCount; ++r) {
            const auto values = numbers(lines[1 + 3 * t + r]);
            ASSERT_EQ(values.size(), 7u);
            for (int k = 0; k < 7; ++k)
                EXPECT_DOUBLE_EQ(values[k], block.table[t][r][k]);
        }
    }
    EXPECT_TRUE(numbers(lines[13]).empty());
}

TEST(TableFiles, SideRatioListHasCountAndAscendingKeysInEverySection) {
    const auto lines = crlfLines(formatSideRatioList(sideRatios()));
    ASSERT_EQ(lines.size(), 5u * (2u + 75u) + 4u);
    const char* sections[] = {"[FREE_8*4]", "[FREE_6*4]", "[FIX_8*4]", "[FIX_6*4]", "[FIX_4*4]"};
    for (int s = 0; s < 5; ++s) {
        const std::size_t at = static_cast<std::size_t>(s) * 78;
        EXPECT_EQ(lines[at], sections[s]);
        EXPECT_EQ(lines[at + 1], "Count=75");
        EXPECT_EQ(lines[at + 2], "1=0.30");
        EXPECT_EQ(lines[at + 11], "10=0.75");
        EXPECT_EQ(lines[at + 76], "75=4.00");
        if (s < 4) {
            EXPECT_EQ(lines[at + 77], "");
        }
    }
}

TEST(CommittedTables, EveryFileHoldsTheBlocksOfTheSideRatioList) {
    const std::string list = readFile(kData / sideRatioListName());
    EXPECT_EQ(list, formatSideRatioList(sideRatios()));
    for (const TableType& type : kTableTypes) {
        SCOPED_TRACE(std::string(type.fileName));
        const std::string text = readFile(kData / std::string(type.fileName));
        for (char c : text)
            ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "not ASCII";
        const auto blocks = parseTableFile(text, type.points);
        ASSERT_EQ(blocks.size(), 75u);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_NEAR(blocks[i].lambda, sideRatios()[i], 1e-12);
            // Exact zeros at the grid corners, and Mx along a free edge.
            for (const auto& table : blocks[i].table) {
                EXPECT_EQ(table[2][0], 0.0);
                EXPECT_EQ(table[2][type.points - 1], 0.0);
            }
            if (type.family == Family::Free) {
                for (int r = 0; r < kRowCount; ++r) {
                    EXPECT_EQ(blocks[i].table[0][r][type.points - 1], 0.0);
                    EXPECT_EQ(blocks[i].table[2][r][type.points - 1], 0.0);
                }
            }
        }
    }
}

// One block of each file, recomputed on a mesh of half (FIX) or a third (FREE) of the delivered
// resolution, agrees with the committed values within the stated accuracy of 1e-4. The side ratios
// span the list, including both ends, where the meshes are longest.
TEST(CommittedTables, CoarseRegenerationAgreesWithinTheStatedAccuracy) {
    const double ratio[] = {0.30, 1.25, 4.00, 0.65, 2.50};
    for (std::size_t type = 0; type < kTableTypes.size(); ++type) {
        const TableType& t = kTableTypes[type];
        SCOPED_TRACE(std::string(t.fileName) + " lambda " + std::to_string(ratio[type]));
        const auto blocks = parseTableFile(readFile(kData / std::string(t.fileName)), t.points);
        ASSERT_EQ(blocks.size(), 75u);
        const auto index = static_cast<std::size_t>(std::lround((ratio[type] - 0.30) / 0.05));
        const CoefBlock fresh = extractBlock(
            plateCoefficients(t.family, ratio[type], kConcretePoisson, 24), ratio[type], t.points);
        for (int tb = 0; tb < kTableCount; ++tb) {
            for (int r = 0; r < kRowCount; ++r) {
                for (int k = 0; k < t.points; ++k) {
                    EXPECT_NEAR(blocks[index].table[tb][r][k], fresh.table[tb][r][k], 1e-4)
                        << "table " << tb + 1 << " row " << r + 1 << " point " << k + 1;
                }
            }
        }
    }
}

} // namespace
} // namespace ormavex::coefgen
