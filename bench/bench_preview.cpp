// The preview's PDF output of a full report: 99 case pages, each with its
// text lines and a section force diagram written by the drawing writer,
// read, laid out and painted into one PDF. Target: under 2 s.

#include "core/drawing/basResOutZuMdS.h"
#include "core/drawing/basResOutZuMdT.h"
#include "core/report/ReportDocument.h"
#include "core/report/basResOutPrn.h"
#include "core/text/ShiftJis.h"
#include "render/PdfExport.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// A 99-case report in a temporary folder, removed at the end.
class Report99 {
public:
    Report99() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "ormavex-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::abort();
        }
        m_dir = tmpl;
        auto calc = std::make_unique<ormavex::CalcArrays>();
        ormavex::DrawingContext drawing;
        ormavex::PrintFileLists lists;
        lists.folder = m_dir; // the writer's print files go here
        std::string text;
        for (int c = 1; c <= ormavex::MaxCases; ++c) {
            const int points = (c % 3 == 0) ? 5 : 9;
            calc->CalcType[c] = points == 9 ? 1 : 5;
            calc->CalcKeta[c] = 2;
            calc->CalcLx[c] = 3.5 + (c % 5) * 0.3;
            calc->CalcLy[c] = 4.0 + (c % 4) * 0.4;
            calc->CalcQA[c] = 185.4;
            calc->CalcQB[c] = 132.6 - c;
            calc->CalcRowCount[c] = 3;
            calc->CalcPointCount[c] = points;
            for (int j = 1; j <= 3; ++j) {
                for (int k = 1; k <= points; ++k) {
                    calc->CalcMx[c](j, k) = -234.56 + 7.1 * j * k;
                    calc->CalcMy[c](j, k) = 123.45 - 3.3 * j * k;
                }
            }
            // Two drawing print files per case: 198 in all.
            const std::string figure =
                (c % 2 == 0)
                    ? ormavex::DrawBottomSlabDiagram(drawing, ormavex::DrawingPrintFilesOf(lists),
                                                     *calc, ORMAVEX_BENCH_DATA_DIR, 1, c, 140.0,
                                                     160.0)
                    : ormavex::DrawFrontWallDiagram(drawing, ormavex::DrawingPrintFilesOf(lists),
                                                    *calc, ORMAVEX_BENCH_DATA_DIR, 1, c, 140.0,
                                                    160.0);
            if (c > 1) {
                text += "\f";
            }
            const char* body[] = {
                "?R1検討ｹｰｽ",
                "",
                "",
                "  版の支持条件は三辺固定一辺自由とする。",
                "",
                "",
                "  版の大きさ      Ｌｘ ＝   4.50 ｍ",
                "  辺長比     Ｌｘ／Ｌｙ ＝   0.90 （実辺長比）",
                "                  Ｌｙ ＝   5.00 ｍ",
                "",
                "",
                "  Ｌｘ／Ｌｙ ≦ 1.0 であるから，短辺 Ｌｘ を基準スパン Ｌ とする。",
                "",
                "  曲げモーメントは Ｍ ＝ 係数 × ｑ × Ｌ^2 により算定する。",
                "",
                ""};
            for (const char* line : body) {
                text += ormavex::ToShiftJis(line) + "\r\n";
            }
            text += "    ?FG;000;000;" + figure + "\r\n   \r\n";
        }
        m_print = m_dir + "/report.tmp";
        std::ofstream(m_print, std::ios::binary) << text;
    }
    ~Report99() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    const std::string& printFile() const { return m_print; }
    std::string pdf() const { return m_dir + "/report.pdf"; }

private:
    std::string m_dir;
    std::string m_print;
};

void BM_Report99ToPdf(benchmark::State& state) {
    static Report99 report;
    std::size_t pages = 0;
    for (auto _ : state) {
        std::string error;
        ormavex::printfile::ReportDocument doc;
        if (!ormavex::printfile::BuildReportDocument(report.printFile(), ORMAVEX_BENCH_DATA_DIR,
                                                     doc, &error) ||
            !ormavex::render::WriteReportPdf(doc, report.pdf(), &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        pages = doc.pages.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_Report99ToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
