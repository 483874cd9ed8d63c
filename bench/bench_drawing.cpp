// One section force diagram of each member: style files read, buffer filled
// (about 100 points, 50 lines, 80 texts for nine points per row), drawing
// command file and figure file written. The report run draws one per case,
// so 99 cases cost 99 times this.

#include "core/drawing/basResOutZuMdS.h"
#include "core/drawing/basResOutZuMdT.h"
#include "core/report/basResOutPrn.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace ormavex;

namespace {

class BenchFolder {
public:
    BenchFolder() {
        std::string dir =
            (std::filesystem::temp_directory_path() / "ormavex-bench-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) {
            std::abort();
        }
        m_path = dir;
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

CalcArrays MakeCase() {
    CalcArrays calc;
    calc.CalcLx[1] = 4.2;
    calc.CalcLy[1] = 4.8;
    calc.CalcPointCount[1] = 9;
    calc.CalcRowCount[1] = 3;
    calc.CalcKeta[1] = 2;
    calc.CalcQA[1] = 85.5;
    calc.CalcQB[1] = 142.25;
    for (int j = 1; j <= 3; ++j) {
        for (int k = 1; k <= 9; ++k) {
            calc.CalcMx[1](j, k) = -12.345 * j + k;
            calc.CalcMy[1](j, k) = 7.5 * j - 2.25 * k;
        }
    }
    return calc;
}

template <bool FrontWall> void BM_Diagram(benchmark::State& state) {
    BenchFolder tmp;
    const std::string program = ORMAVEX_BENCH_DATA_DIR;
    const CalcArrays calc = MakeCase();
    DrawingContext drawing;
    for (auto _ : state) {
        PrintFileLists lists;
        lists.folder = tmp.path();
        const NewPrintFile newFile = DrawingPrintFilesOf(lists);
        const std::string figure =
            FrontWall ? DrawFrontWallDiagram(drawing, newFile, calc, program, 1, 1, 140.0, 160.0)
                      : DrawBottomSlabDiagram(drawing, newFile, calc, program, 1, 1, 140.0, 160.0);
        benchmark::DoNotOptimize(figure);
        state.PauseTiming();
        for (int i = 0; i < lists.drawingCount; ++i) {
            std::remove(lists.drawing[static_cast<std::size_t>(i)].c_str());
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Diagram<true>)->Name("FrontWallDiagram")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Diagram<false>)->Name("BottomSlabDiagram")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
