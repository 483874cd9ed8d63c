// Generation of the coefficient tables: all five files as delivered (the target is under 60 s on
// a 2-core machine), and single plates of each family to see where the time goes.
#include "CoefTables.h"
#include "TableFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace ormavex::coefgen;

// Everything `ormavex-coefgen --write-tables` does: 150 plates on all cores, five table files and
// the side-ratio list written to a temporary folder.
void BM_AllFiveTableFiles(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "ormavex_bench_coefgen";
    std::filesystem::create_directories(folder);
    for (auto _ : state) {
        const auto tables = computeAllTables(kConcretePoisson, 0);
        writeAllFiles(folder, tables, sideRatios());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AllFiveTableFiles)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// One plate at the delivered resolution; argument: side ratio in hundredths.
void BM_FixPlate(benchmark::State& state) {
    const double lambda = static_cast<double>(state.range(0)) / 100.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(plateCoefficients(Family::Fix, lambda, kConcretePoisson,
                                                   deliveredResolution(Family::Fix, lambda)));
    }
}
BENCHMARK(BM_FixPlate)->Arg(30)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_FreePlate(benchmark::State& state) {
    const double lambda = static_cast<double>(state.range(0)) / 100.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(plateCoefficients(Family::Free, lambda, kConcretePoisson,
                                                   deliveredResolution(Family::Free, lambda)));
    }
}
BENCHMARK(BM_FreePlate)->Arg(30)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
