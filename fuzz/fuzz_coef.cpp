// Coefficient tables: the bytes stand for every table type's file; the
// sample project's moments are computed from them and, when the calculation
// succeeds, every moment is a finite number. The same files then give the
// moments at the cases' real side ratios, interpolated between their blocks,
// with the same promise.

#include "FuzzSupport.h"

#include "core/calc/RealRatio.h"
#include "core/calc/basCalcMd.h"
#include "core/cases/CaseTable.h"
#include "core/project/ProjectLoad.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace {

struct Fixture {
    ormavex::CaseTable cases;
    ormavex::CalcArrays calc;
    ormavex::CalcArrays real;
    ormavex::CoefWorkTables coef;
};

Fixture& TheFixture() {
    static Fixture* f = [] {
        auto* made = new Fixture;
        const ormavex::LoadResult r =
            ormavex::LoadProject(made->cases, ORMAVEX_SOURCE_DIR "/examples/caisson-A.kvt");
        FUZZ_CHECK(r.ok);
        return made;
    }();
    return *f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = TheFixture();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& folder = ormavex::fuzz::ScratchFolder();
    for (int type = 1; type <= 5; ++type) {
        ormavex::fuzz::WriteWhole(ormavex::CoefFilePath(folder, type), bytes);
    }
    auto finite = [&](const ormavex::CalcArrays& calc) {
        for (int c = 1; c <= f.cases.CaseCount; ++c) {
            for (int j = 1; j <= calc.CalcRowCount[c]; ++j) {
                for (int k = 1; k <= calc.CalcPointCount[c]; ++k) {
                    FUZZ_CHECK(std::isfinite(calc.CalcMx[c](j, k)));
                    FUZZ_CHECK(std::isfinite(calc.CalcMy[c](j, k)));
                }
            }
        }
    };
    std::vector<ormavex::CaseFailure> failures;
    if (ormavex::CalcMomentsAtRealRatio(f.cases, f.real, folder, &failures)) {
        finite(f.real);
    } else {
        FUZZ_CHECK(!failures.empty() && !failures.front().cause.empty());
    }
    ormavex::Error error;
    if (!ormavex::CalcMoments(f.cases, f.calc, f.coef, folder, &error)) {
        FUZZ_CHECK(*error.message() != '\0');
        return 0;
    }
    finite(f.calc);
    return 0;
}
