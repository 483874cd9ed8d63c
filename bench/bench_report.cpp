// The report run for a 99-case project as the print menu does it: the
// calculation, 99 pages with their section force diagrams (198 drawing print
// files) and the combined print file. The deletion of the print files after
// each run is not timed.
// Coefficient files hold 75 blocks each (λ = 0.30 .. 4.00); the format and
// style files are the delivered ones. Print files go to a private $TMPDIR.

#include "app/AppState.h"
#include "report/ReportRun.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace ormavex;

namespace {

std::string MakeFolder(const char* name) {
    std::string dir = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr) {
        std::abort();
    }
    return dir;
}

std::string MakeDataFolder() {
    const std::string dir = MakeFolder("ormavex-bench-report");
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
                                  0.001 * (b + line + k) - 0.01);
                    out += buf;
                }
                out += "\r\n";
            }
            out += "\r\n";
        }
        out += "EN9999\r\n";
        std::ofstream(CoefFilePath(dir, type), std::ios::binary) << out;
    }
    for (const char* f : {"Kivet.fmt", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
        std::filesystem::copy_file(std::string(ORMAVEX_SOURCE_DATA_DIR) + "/" + f, dir + "/" + f);
    }
    return dir;
}

// Both folders are removed when the program ends.
struct Folders {
    std::string data = MakeDataFolder();
    std::string tmp = MakeFolder("ormavex-bench-tmp");
    ~Folders() {
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
        std::filesystem::remove_all(tmp, ec);
    }
};

void BM_ReportRun99Cases(benchmark::State& state) {
    static const Folders folders;
    const std::string& data = folders.data;
    const std::string& tmp = folders.tmp;
    ::setenv("TMPDIR", tmp.c_str(), 1);

    static AppState app; // large: keep it off the stack
    app.dataFolder = data;
    CaseTable& cases = app.cases;
    cases.CaseCount = MaxCases;
    for (int c = 1; c <= MaxCases; ++c) {
        cases.setDefaults(c);
        cases.cell(c, 1) = "検討ケース " + std::to_string(c);
        cases.cell(c, 2) = static_cast<double>((c - 1) % 5);
        cases.cell(c, 3) = static_cast<double>(c % 2);
        cases.cell(c, 4) = static_cast<double>((c / 2) % 2);
        cases.cell(c, 5) = 4.0 + 0.01 * c;
        cases.cell(c, 6) = 5.0;
        cases.cell(c, 8) = 0.30 + 0.05 * ((c * 7) % 75);
        cases.cell(c, 9) = 120.0;
        cases.cell(c, 10) = c % 3 == 0 ? -20.0 : 40.0;
    }
    const std::string settings = data + "/Kivet.ini"; // missing: no heading numbers

    for (auto _ : state) {
        if (!CalcMoments(app)) {
            state.SkipWithError("calculation failed");
            break;
        }
        ReportRunOutcome outcome;
        if (!RunReport(app, settings, outcome) || !outcome.failedCases.empty() ||
            app.report.lists.drawingCount != 2 * MaxCases) {
            state.SkipWithError("report run failed");
            break;
        }
        CollectSelectedItems(app.report, {1});
        // Deleting the files belongs to closing the print menu, not to the
        // run; on a busy ext4 disk an unlink can take milliseconds.
        state.PauseTiming();
        DeletePrintFiles(app.report);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReportRun99Cases)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
