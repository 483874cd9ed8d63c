// CalcMoments over 99 cases, every coefficient file holding 75 blocks
// (λ = 0.30 .. 4.00), cases spread over all five types and the whole λ range
// so that the search runs through the files as it does for a real project:
// once with generated files, once with the delivered tables of data/.

#include "calc/basCalcMd.h"
#include "text/ShiftJis.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

void Run99Cases(benchmark::State& state, const std::string& dir) {
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

} // namespace

BENCHMARK_MAIN();
