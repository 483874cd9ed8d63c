// The committed table files read by the application's own loader.
#include "CommittedFiles.h"

#include "core/calc/basCalcMd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace ormavex::coefgen {
namespace {

// One block of each file, found by the loader after skipping the blocks before it, equals the
// block as written; a ratio beyond the list walks over all 75 blocks (13 body lines each) to the
// end marker and reports "not found" instead of failing or matching a misread header.
TEST(CommittedTables, ApplicationLoaderReadsOneBlockOfEachFile) {
    const double ratio[] = {4.00, 0.30, 1.00, 2.35, 0.85};
    const std::string folder = kData.string();
    auto calc = std::make_unique<CalcArrays>();
    auto coef = std::make_unique<CoefWorkTables>();
    for (int type = 1; type <= 5; ++type) {
        const TableType& t = kTableTypes[static_cast<std::size_t>(type - 1)];
        SCOPED_TRACE(std::string(t.fileName));
        ASSERT_TRUE(LoadCoefTable(folder, *calc, *coef, type, ratio[type - 1], 1));
        EXPECT_EQ(calc->CalcRowCount[1], 3);
        EXPECT_EQ(calc->CalcPointCount[1], t.points);

        const auto blocks = parseTableFile(readFile(kData / std::string(t.fileName)), t.points);
        ASSERT_EQ(blocks.size(), 75u);
        const auto index = static_cast<std::size_t>(std::lround((ratio[type - 1] - 0.30) / 0.05));
        const CoefTable* loaded[kTableCount] = {&coef->CoefMxUniform, &coef->CoefMyUniform,
                                                &coef->CoefMxTriangle, &coef->CoefMyTriangle};
        for (int tb = 0; tb < kTableCount; ++tb) {
            for (int r = 1; r <= kRowCount; ++r) {
                for (int k = 1; k <= t.points; ++k) {
                    EXPECT_DOUBLE_EQ((*loaded[tb])(r, k), blocks[index].table[tb][r - 1][k - 1])
                        << "table " << tb + 1 << " row " << r << " point " << k;
                }
            }
        }
        EXPECT_FALSE(LoadCoefTable(folder, *calc, *coef, type, 4.05, 1));
    }
}

} // namespace
} // namespace ormavex::coefgen
