// CalcMoments over 99 cases, every coefficient file holding 75 blocks
// (λ = 0.30 .. 4.00), cases spread over all five types and the whole λ range
// so that the search runs through the files as it does for a real project:
// once with generated files, once with the delivered tables of data/.
// Then what the results window computes after a calculation of 99 cases: the
// moments at each case's real side ratio (reading the five delivered tables
// and interpolating), the governing moments of both and the 3 % marks.

#include "core/calc/MomentSummary.h"
#include "core/calc/RealRatio.h"
#include "core/calc/basCalcMd.h"
#include "core/text/ShiftJis.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>

using namespace ormavex;

namespace {

std::string MakeDataFolder() {
    std::string dir = (std::filesystem::temp_directory_path() / "ormavex-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) {
        std::abort();
    }
    for (int type = 1; type <= 5; ++type) {
        const int n = TableType(type)->points;
        std::string out;
        char buf[64];
        for (int b = 0; b < 75; ++b) {
            std::snprintf(buf, sizeof buf, "L=%.2f\r\n", 0.30 + 0.05 * b);
            out += buf;
            for (int line = 0; line < 12; ++line) {
                for (int k = 1; k <= n; ++k) {
                    std::snprintf(buf, sizeof buf, "%s%.6f", k > 1 ? ", " : "",
                                  0.001 * (b + line + k));
                    out += buf;
                }
                out += "\r\n";
            }
            out += "\r\n";
        }
        out += "EN9999\r\n";
        std::ofstream(CoefFilePath(dir, type), std::ios::binary) << out;
    }
    return dir;
}

CaseTable Make99Cases() {
    CaseTable cases;
    cases.CaseCount = MaxCases;
    for (int c = 1; c <= MaxCases; ++c) {
        cases.setDefaults(c);
        cases.cell(c, 2) = static_cast<double>((c - 1) % 5);
        cases.cell(c, 5) = 4.0;
        cases.cell(c, 6) = 5.0;
        cases.cell(c, 8) = 0.30 + 0.05 * ((c * 7) % 75);
        cases.cell(c, 9) = 120.0;
        cases.cell(c, 10) = c % 2 == 0 ? 0.0 : 40.0;
    }
    return cases;
}

void Run99Cases(benchmark::State& state, const std::string& dir) {
    const CaseTable cases = Make99Cases();
    CalcArrays calc;
    CoefWorkTables coef;
    for (auto _ : state) {
        bool ok = CalcMoments(cases, calc, coef, dir);
        if (!ok) {
            state.SkipWithError("calculation failed");
        }
        benchmark::DoNotOptimize(calc.CalcMx[99](1, 1));
    }
}

// The generated folder, removed when the program ends.
struct DataFolder {
    std::string path = MakeDataFolder();
    ~DataFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

void BM_CalcMoments99Cases(benchmark::State& state) {
    static const DataFolder dir;
    Run99Cases(state, dir.path);
}
BENCHMARK(BM_CalcMoments99Cases)->Unit(benchmark::kMillisecond);

void BM_CalcMoments99CasesDeliveredTables(benchmark::State& state) {
    Run99Cases(state, ORMAVEX_SOURCE_DATA_DIR);
}
BENCHMARK(BM_CalcMoments99CasesDeliveredTables)->Unit(benchmark::kMillisecond);

// As above, with the heap trimmed before every run (untimed), as glibc does
// between runs when a program frees enough at the top of its heap: a run must
// not depend on finding its memory still mapped.
void BM_CalcMoments99CasesAfterHeapTrim(benchmark::State& state) {
    const CaseTable cases = Make99Cases();
    auto calc = std::make_unique<CalcArrays>();
    auto coef = std::make_unique<CoefWorkTables>();
    for (auto _ : state) {
        state.PauseTiming();
        ::malloc_trim(0);
        state.ResumeTiming();
        bool ok = CalcMoments(cases, *calc, *coef, ORMAVEX_SOURCE_DATA_DIR);
        if (!ok) {
            state.SkipWithError("calculation failed");
        }
        benchmark::DoNotOptimize(calc->CalcMx[99](1, 1));
    }
}
BENCHMARK(BM_CalcMoments99CasesAfterHeapTrim)->Unit(benchmark::kMillisecond);

// The data of the results window for 99 cases whose spans give real ratios
// between the tabulated ones (Lx/Ly = 0.313 .. 3.987), after a calculation at λ.
void BM_ResultsWindowData99Cases(benchmark::State& state) {
    CaseTable cases = Make99Cases();
    for (int c = 1; c <= MaxCases; ++c) {
        const double lambda = 0.30 + 0.05 * ((c * 7) % 75);
        const double offset = 0.013 * (c % 3 + 1);
        cases.cell(c, 5) = 5.0 * (lambda < 2.0 ? lambda + offset : lambda - offset);
        cases.cell(c, 6) = 5.0;
    }
    auto calc = std::make_unique<CalcArrays>();
    auto real = std::make_unique<CalcArrays>();
    CoefWorkTables coef;
    if (!CalcMoments(cases, *calc, coef, ORMAVEX_SOURCE_DATA_DIR)) {
        state.SkipWithError("calculation failed");
        return;
    }
    for (auto _ : state) {
        if (!CalcMomentsAtRealRatio(cases, *real, ORMAVEX_SOURCE_DATA_DIR)) {
            state.SkipWithError("real-ratio calculation failed");
        }
        int marked = 0;
        for (int c = 1; c <= MaxCases; ++c) {
            marked += RealRatioDiffers(SummariseCase(*calc, c), SummariseCase(*real, c)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(marked);
    }
}
BENCHMARK(BM_ResultsWindowData99Cases)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
