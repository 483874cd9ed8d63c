// What a user waits for in the print menu, for a 99-case project: the
// calculation, the report run (99 pages with their section force diagrams,
// 198 drawing print files, the results and the combined print file) and the
// deletion of every print file when the menu closes. Next to it the floor:
// writing and removing the same number of files with the same bytes in the
// same folder, with nothing else to do. The program prints the ratio.
//
// The print files go to a folder made in $TMPDIR, so the file system of
// TMPDIR is the one measured (run once with TMPDIR on ext4, once on tmpfs).
// The data files are the delivered ones.
//
// Start-up: `ormavex-batch --moments examples/caisson-A.kvt` as a process,
// next to a hello-world in C that loads neither Qt nor the C++ library; also
// as a ratio.

#include "RatioReporter.h"

#include "core/calc/basCalcMd.h"
#include "core/project/basIO.h"
#include "core/report/ReportRun.h"
#include "core/text/FileReplace.h"
#include "core/text/TextFile.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace ormavex;

namespace {

const std::string kDataDir = ORMAVEX_SOURCE_DATA_DIR;

std::string BinFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// A folder in $TMPDIR for the print files, removed when the program ends.
struct WorkFolder {
    std::string path;
    WorkFolder() {
        path = (std::filesystem::temp_directory_path() / "ormavex-bench-report-XXXXXX").string();
        if (::mkdtemp(path.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
    }
    ~WorkFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const WorkFolder& Work() {
    static const WorkFolder folder;
    return folder;
}

// What the print menu works on: the case table, the calculation and the
// report run's state.
struct Work99 {
    CaseTable cases;
    CalcArrays calc;
    CoefWorkTables coef;
    DrawingContext drawing;
    ReportState report;
};

// The 99-case project: every type, both members, both decimal places, side
// ratios over the whole tabulated range, loads with and without QB. The
// print files go to the work folder.
Work99& App() {
    static Work99* app = [] {
        auto* a = new Work99; // large: keep it off the stack
        a->report.lists.folder = Work().path;
        CaseTable& cases = a->cases;
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
        return a;
    }();
    return *app;
}

const std::string kSettings = kDataDir + "/none.ini"; // missing: no heading numbers

// One report run as the print menu does it, the print files deleted at the
// end; `bytes`, when given, receives every print file's bytes first, in
// creation order. False when anything failed.
bool ReportRunOnce(std::vector<std::string>* bytes) {
    Work99& app = App();
    if (!CalcMoments(app.cases, app.calc, app.coef, kDataDir)) {
        return false;
    }
    ReportRunOutcome outcome;
    if (!RunReport(app.report, app.drawing, app.cases, app.calc, kDataDir, kSettings, outcome) ||
        !outcome.failedCases.empty() || app.report.lists.drawingCount != 2 * MaxCases) {
        DeletePrintFiles(app.report);
        return false;
    }
    CollectSelectedItems(app.report, {1});
    if (bytes != nullptr) {
        const auto& l = app.report.lists;
        std::vector<std::string> paths(l.text.begin(), l.text.begin() + l.textCount);
        paths.insert(paths.end(), l.drawing.begin(), l.drawing.begin() + l.drawingCount);
        for (const std::string& p : paths) {
            std::string b;
            Error error;
            ReadFileBytes(p, b, error);
            bytes->push_back(std::move(b));
        }
    }
    DeletePrintFiles(app.report);
    return true;
}

void BM_ReportRun99CasesWithDeletion(benchmark::State& state) {
    for (auto _ : state) {
        if (!ReportRunOnce(nullptr)) {
            state.SkipWithError("report run failed");
            break;
        }
    }
}
BENCHMARK(BM_ReportRun99CasesWithDeletion)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bytes of every print file of one run, in creation order.
const std::vector<std::string>& PrintFileBytes() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> bytes;
        if (!ReportRunOnce(&bytes)) {
            bytes.clear();
        }
        return bytes;
    }();
    return files;
}

// Creates (0600, exclusive), writes and closes each file, then removes them
// all, as plainly as the system allows; false when a file cannot be written.
bool WriteAndRemove(const std::vector<std::string>& files, long round,
                    std::vector<std::string>& names) {
    // New names every round, as every report run has.
    names.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        names[i] = Work().path + "/~MT" + std::to_string(round) + "-" + std::to_string(i) + ".tmp";
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int fd = ::open(names[i].c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, files[i].data(), files[i].size()) !=
                          static_cast<ssize_t>(files[i].size())) {
            return false;
        }
        ::close(fd);
    }
    for (const std::string& n : names) {
        ::unlink(n.c_str());
    }
    return true;
}

// The floor: the same files written and removed, nothing else done.
void BM_WriteAndRemoveSameFiles(benchmark::State& state) {
    const std::vector<std::string>& files = PrintFileBytes();
    if (files.empty()) {
        state.SkipWithError("no print files to copy");
        return;
    }
    std::vector<std::string> names;
    std::size_t total = 0;
    for (const std::string& f : files) {
        total += f.size();
    }
    long round = 0;
    for (auto _ : state) {
        if (!WriteAndRemove(files, ++round, names)) {
            state.SkipWithError("cannot write a file");
            return;
        }
    }
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["bytes"] = static_cast<double>(total);
}
BENCHMARK(BM_WriteAndRemoveSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs a program with its output thrown away and waits for it.
void RunProgram(benchmark::State& state, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

// Runs a program once with its output thrown away; false when it could not
// start or did not end with exit code 0.
bool RunOnce(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    while (started && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return started && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The 99-case project as a file, and an empty settings file (no heading
// numbers), both in the work folder.
const std::vector<std::string>& BatchReportCommand() {
    static const std::vector<std::string> args = [] {
        const std::string project = Work().path + "/p99.kvt";
        const std::string settings = Work().path + "/none.ini";
        Error error;
        if (!WriteInputFile(App().cases, project, error) ||
            !ReplaceFileContents(settings, "", error)) {
            return std::vector<std::string>{};
        }
        return std::vector<std::string>{BinFolder() + "/ormavex-batch",
                                        "--data-dir",
                                        kDataDir,
                                        "--report",
                                        "--settings",
                                        settings,
                                        project};
    }();
    return args;
}

// The whole process as a user's script runs it: `ormavex-batch --report` on
// the 99-case project, every print file deleted at its end. The print files
// go to $TMPDIR.
void BM_BatchReport99CasesWithDeletion(benchmark::State& state) {
    const std::vector<std::string>& args = BatchReportCommand();
    if (args.empty()) {
        state.SkipWithError("cannot write the project file");
        return;
    }
    for (auto _ : state) {
        if (!RunOnce(args)) {
            state.SkipWithError("the report run failed");
            break;
        }
    }
}
BENCHMARK(BM_BatchReport99CasesWithDeletion)->Unit(benchmark::kMillisecond)->UseRealTime();

// Its floor: a process that does nothing (the hello-world) started and
// waited for, then the same files written and removed.
void BM_ProcessAndSameFiles(benchmark::State& state) {
    const std::vector<std::string>& files = PrintFileBytes();
    if (files.empty()) {
        state.SkipWithError("no print files to copy");
        return;
    }
    const std::vector<std::string> hello{BinFolder() + "/ormavex_bench_hello"};
    std::vector<std::string> names;
    long round = 0;
    for (auto _ : state) {
        if (!RunOnce(hello) || !WriteAndRemove(files, ++round, names)) {
            state.SkipWithError("the floor failed");
            break;
        }
    }
}
BENCHMARK(BM_ProcessAndSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchMomentsStartup(benchmark::State& state) {
    RunProgram(state, {BinFolder() + "/ormavex-batch", "--moments",
                       std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt"});
}
BENCHMARK(BM_BatchMomentsStartup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HelloWorldStartup(benchmark::State& state) {
    RunProgram(state, {BinFolder() + "/ormavex_bench_hello"});
}
BENCHMARK(BM_HelloWorldStartup)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ormavex::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("TMPDIR folder: %s\n", std::filesystem::path(Work().path).parent_path().c_str());
    reporter.PrintRatio("report run with deletion vs floor", "BM_ReportRun99CasesWithDeletion",
                        "BM_WriteAndRemoveSameFiles");
    reporter.PrintRatio("whole process with deletion vs floor", "BM_BatchReport99CasesWithDeletion",
                        "BM_ProcessAndSameFiles");
    reporter.PrintRatio("start-up vs hello-world", "BM_BatchMomentsStartup",
                        "BM_HelloWorldStartup");
    benchmark::Shutdown();
    return 0;
}
