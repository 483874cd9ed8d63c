// Coefficient tables: the bytes stand for every table type's file; the
// sample project's moments are computed from them and, when the calculation
// succeeds, every moment is a finite number.

#include "FuzzSupport.h"

#include "calc/basCalcMd.h"
#include "cases/CaseTable.h"
#include "project/ProjectLoad.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

struct Fixture {
    ormavex::CaseTable cases;
    ormavex::CalcArrays calc;
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
    ormavex::Error error;
    if (!ormavex::CalcMoments(f.cases, f.calc, f.coef, folder, &error)) {
        FUZZ_CHECK(*error.message() != '\0');
        return 0;
    }
    for (int c = 1; c <= f.cases.CaseCount; ++c) {
        for (int j = 1; j <= f.calc.CalcRowCount[c]; ++j) {
            for (int k = 1; k <= f.calc.CalcPointCount[c]; ++k) {
                FUZZ_CHECK(std::isfinite(f.calc.CalcMx[c](j, k)));
                FUZZ_CHECK(std::isfinite(f.calc.CalcMy[c](j, k)));
            }
        }
    }
    return 0;
}
