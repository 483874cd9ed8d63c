// The results window of a 99-case project: the moments at each case's λ are
// calculated beforehand (as the main window has them after "計算実行"); the
// window's own work is timed: the moments at the real side ratios, the
// governing values, the summary table and the grids of the first case, shown.

#include "core/calc/basCalcMd.h"
#include "core/cases/CaseTable.h"
#include "gui/common/Prompter.h"
#include "gui/report/frmResults.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

/// 99 cases over every table type with spans whose real ratios lie between
/// the tabulated ones, λ the tabulated ratio above.
ormavex::CaseTable NinetyNineCases() {
    ormavex::CaseTable cases;
    cases.CaseCount = ormavex::MaxCases;
    for (int c = 1; c <= ormavex::MaxCases; ++c) {
        const double lx = 3.0 + 0.037 * c;
        const double ly = 4.6;
        cases.cell(c, 1) = ormavex::Cell("ｹｰｽ" + std::to_string(c));
        cases.cell(c, 2) = ormavex::Cell(double((c - 1) % 5));
        cases.cell(c, 3) = ormavex::Cell(double(c % 2));
        cases.cell(c, 4) = ormavex::Cell(0.0);
        cases.cell(c, 5) = ormavex::Cell(lx);
        cases.cell(c, 6) = ormavex::Cell(ly);
        cases.cell(c, 7) = ormavex::Cell(lx / ly);
        cases.cell(c, 8) = ormavex::Cell(std::ceil(lx / ly * 20.0) / 20.0);
        cases.cell(c, 9) = ormavex::Cell(150.0 + c);
        cases.cell(c, 10) = ormavex::Cell(90.0 - c);
    }
    return cases;
}

void BM_ResultsWindowFilled99Cases(benchmark::State& st) {
    const std::string data = ORMAVEX_BENCH_DATA_DIR;
    const ormavex::CaseTable cases = NinetyNineCases();
    ormavex::CalcArrays calc;
    ormavex::CoefWorkTables coef;
    if (!ormavex::CalcMoments(cases, calc, coef, data)) {
        st.SkipWithError("calculation failed");
        return;
    }
    const std::string settings = "/dev/null/Kivet.ini"; // nothing kept
    ormavex::gui::QtPrompter prompter;
    for (auto _ : st) {
        ormavex::gui::frmResults window(cases, calc, data, settings, "", prompter);
        window.show();
        QApplication::processEvents();
        if (window.findChild<QTableWidget*>("tblSummary")->rowCount() != ormavex::MaxCases) {
            st.SkipWithError("summary not filled");
        }
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_ResultsWindowFilled99Cases)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
