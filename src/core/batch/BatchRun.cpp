// The run of ormavex-batch: loads a project file, runs the moment calculation
// and prints or writes the results, without a window.
//
//   ormavex-batch [--data-dir DIR] [--moments [--real-ratio]] [--write OUT.kvt]
//                 [--report [--keep] [--settings INI] [--pdf OUT.pdf]] PROJECT.kvt
//   ormavex-batch --version
//
// Exit codes: 0 success, 1 usage error, 2 project file not loaded or not
// written, 3 calculation failed, 4 report written but some case pages failed,
// 5 report not written (a print file could not be made or written, or no
// case page was written), 6 PDF not written, 7 stopped by an unexpected
// failure, 128 + N ended by signal N (SIGINT, SIGTERM, SIGHUP).

#include "core/batch/BatchRun.h"

#include "core/app/Messages.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Version.h"
#include "core/batch/PdfPlugin.h"
#include "core/calc/MomentSummary.h"
#include "core/calc/RealRatio.h"
#include "core/calc/basCalcMd.h"
#include "core/platform/Platform.h"
#include "core/project/ProjectLoad.h"
#include "core/project/basIO.h"
#include "core/report/ReportRun.h"
#include "core/text/FileReplace.h"
#include "core/text/SignalCleanup.h"
#include "core/text/TextFile.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Output goes through C stdio: the C++ streams would cost every start of the
// program the set-up of their locale.
void Print(std::FILE* to, std::string_view text) { std::fwrite(text.data(), 1, text.size(), to); }
void Out(std::string_view text) { Print(stdout, text); }
void Err(std::string_view text) { Print(stderr, text); }

constexpr const char* kUsage =
    "usage: ormavex-batch [--data-dir DIR] [--moments [--real-ratio]]\n"
    "                     [--write OUT.kvt]\n"
    "                     [--report [--keep] [--settings INI] [--pdf OUT.pdf]]\n"
    "                     PROJECT.kvt\n"
    "       ormavex-batch --version\n"
    "\n"
    "Loads PROJECT.kvt, computes the bending moments of every case and\n"
    "  --moments        prints them as CSV (case,row,point,Mx,My) on stdout\n"
    "  --real-ratio     with --moments: the moments at each case's real side\n"
    "                   ratio Lx/Ly, interpolated between the tabulated\n"
    "                   ratios, instead of at its λ (a ratio outside the\n"
    "                   table's range fails the case)\n"
    "  --write OUT.kvt  writes the loaded project as a version 2.10 file\n"
    "  --report         writes the report of all cases (one page per case\n"
    "                   with its section force diagram) into print files in\n"
    "                   $TMPDIR and joins it into the combined print file\n"
    "  --keep           keeps the print files and prints the combined print\n"
    "                   file's path as the last line (default: delete them)\n"
    "  --settings INI   heading numbering from section Chapter of INI\n"
    "                   (default: the application's settings file Kivet.ini)\n"
    "  --pdf OUT.pdf    renders the combined print file with its figures\n"
    "                   as a PDF file, as the preview program shows it\n"
    "  --data-dir DIR   takes the data files (coefficient tables, Kivet.fmt,\n"
    "                   LINE_PRN.DEF, STR_PRN.DEF) from DIR (default: the\n"
    "                   program folder)\n"
    "A case whose spans, loads or ratio cannot be calculated (a span not\n"
    "greater than 0, a load outside -9999.99 .. 9999.99, a λ without a block)\n"
    "is named on stderr, one line per case, and the run ends with exit code 3.\n"
    "Exit codes: 0 done, 1 usage, 2 project file error, 3 calculation error,\n"
    "4 report pages failed, 5 report could not be written, 6 PDF not written,\n"
    "128+N ended by signal N (its print files removed).\n";

struct Options {
    std::string dataDir;
    std::string project;
    std::string writePath;
    std::string settings;
    std::string pdfPath;
    bool moments = false;
    bool realRatio = false;
    bool report = false;
    bool keep = false;
};

int Usage(const std::string& problem) {
    if (!problem.empty()) {
        Err("ormavex-batch: " + problem + "\n");
    }
    Err(kUsage);
    return 1;
}

using ormavex::ShortestNumber;

// The calculation error: the window's sentence, then one line per failing
// case, "case 2: Lx = 0: ...".
int CalcFailed(const std::vector<ormavex::CaseFailure>& failures) {
    std::string text = ormavex::CalcErrorMessage().text + "\n";
    for (const ormavex::CaseFailure& f : failures) {
        text += "case " + std::to_string(f.caseNo) + ": " + f.causeEnglish + "\n";
    }
    Err(text);
    return 3;
}

// Every page failed (a missing Kivet.fmt or style file does that): there is
// no report, whatever the print file holds.
bool NoPageWritten(const ormavex::ReportRunOutcome& outcome, int caseCount) {
    if (caseCount == 0 || static_cast<int>(outcome.failedCases.size()) < caseCount) {
        return false;
    }
    std::string text = ormavex::PrintFileErrorMessage(outcome.failedCases).text + "\n" +
                       "ormavex-batch: the report could not be written: no case page was written";
    if (!outcome.reasons.empty()) {
        text += " (No." + std::to_string(outcome.failedCases.front()) + ": " +
                outcome.reasons.front() + ")";
    }
    Err(text + "\n");
    return true;
}

// The files named on the command line, looked at before any work: a settings
// file that cannot be read is a usage error (1), a target that cannot be
// replaced (a FIFO, a device, a folder, a read-only file) is refused at once
// (2 for --write, 6 for --pdf). 0 when all is well.
int CheckNamedFiles(const Options& opt) {
    ormavex::Error error;
    std::string unused;
    if (!opt.settings.empty() &&
        !ormavex::ReadFileBytes(opt.settings, unused, error, ormavex::FileLimit::Settings)) {
        Err(std::string("ormavex-batch: the settings file cannot be read: ") + error.message() +
            "\n");
        return 1;
    }
    if (!opt.writePath.empty() && !ormavex::CheckReplaceTarget(opt.writePath, error)) {
        Err(ormavex::WriteErrorMessage(error.code(), opt.writePath).text + "\n" +
            "ormavex-batch: " + error.message() + "\n");
        return 2;
    }
    if (!opt.pdfPath.empty() && !ormavex::CheckReplaceTarget(opt.pdfPath, error)) {
        Err(std::string("ormavex-batch: the PDF file was not written: ") + error.message() + "\n");
        return 6;
    }
    return 0;
}

// The report run of the print menu with item 0 chosen: every case's page,
// then the combined print file. Without --keep every print file is deleted,
// as when the print menu closes.
int Report(const ormavex::CaseTable& cases, const ormavex::CalcArrays& calc,
           const std::string& dataFolder, const Options& opt) {
    const std::string settings =
        opt.settings.empty() ? ormavex::SettingsFilePath(ormavex::ProgramFolder(),
                                                         ormavex::PerUserDataFolder("ormavex"))
                             : opt.settings;
    ormavex::ReportState report;
    report.lists.folder = ormavex::TemporaryFolder();
    ormavex::DrawingContext drawing;
    ormavex::ReportRunOutcome outcome;
    if (!ormavex::RunReport(report, drawing, cases, calc, dataFolder, settings, outcome)) {
        Err("ormavex-batch: the report could not be written: " + outcome.failure + "\n");
        ormavex::DeletePrintFiles(report);
        return 5;
    }
    ormavex::Error collectError;
    if (!ormavex::CollectSelectedItems(report, {1}, &collectError)) {
        Err(std::string("ormavex-batch: the report could not be written: ") +
            collectError.message() + "\n");
        ormavex::DeletePrintFiles(report);
        return 5;
    }
    if (NoPageWritten(outcome, cases.CaseCount)) {
        ormavex::DeletePrintFiles(report);
        return 5;
    }
    const std::string combined =
        report.lists.text[static_cast<std::size_t>(report.lists.textCount - 1)];
    if (!outcome.failedCases.empty()) {
        Err(ormavex::PrintFileErrorMessage(outcome.failedCases).text + "\n");
        // One line per failed page, English for logs (the window shows the
        // Japanese causes).
        for (std::size_t i = 0; i < outcome.failedCases.size(); ++i) {
            Err("No." + std::to_string(outcome.failedCases[i]) + ": " + outcome.reasons[i] + "\n");
        }
    }
    bool pdfWritten = true;
    if (!opt.pdfPath.empty()) {
        std::string error;
        pdfWritten = ormavex::batch::ExportPdfThroughPlugin(ormavex::ProgramFolder(), combined,
                                                            opt.pdfPath, dataFolder, &error);
        if (!pdfWritten) {
            Err("ormavex-batch: " + error + "\n");
        }
    }
    if (opt.keep) {
        Out(combined + "\n");
    } else {
        ormavex::DeletePrintFiles(report);
    }
    if (!pdfWritten) {
        return 6;
    }
    return outcome.failedCases.empty() ? 0 : 4;
}

} // namespace

namespace ormavex::batch {

int Run(int argc, char** argv, bool pdfAvailable) {
    // Ended by a signal, the program removes its print files and the new
    // file of a save in progress, and exits with 128 + the signal number.
    ormavex::InstallSignalCleanup();
    // The CSV and every other output end their lines in LF on every system.
    ormavex::platform::BinaryStandardOutput();
    // The arguments as UTF-8 (Windows hands argv over in its ANSI code page).
    std::vector<std::string> utf8 = ormavex::platform::CommandLineArguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& a : utf8) {
        utf8Argv.push_back(a.data());
    }
    argc = static_cast<int>(utf8Argv.size());
    argv = utf8Argv.data();
    Options opt;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            Out(kUsage);
            return 0;
        } else if (a == "--version") {
            Out(std::string("ormavex-batch ") + ormavex::kVersion + "\n");
            return 0;
        } else if (a == "--data-dir") {
            if (!value(opt.dataDir)) {
                return Usage("--data-dir needs a folder");
            }
        } else if (a == "--write") {
            if (!value(opt.writePath)) {
                return Usage("--write needs a file name");
            }
        } else if (a == "--settings") {
            if (!value(opt.settings)) {
                return Usage("--settings needs a file name");
            }
        } else if (a == "--pdf") {
            if (!value(opt.pdfPath)) {
                return Usage("--pdf needs a file name");
            }
            if (!pdfAvailable) {
                return Usage("--pdf is not available: this program was built without Qt");
            }
        } else if (a == "--moments") {
            opt.moments = true;
        } else if (a == "--real-ratio") {
            opt.realRatio = true;
        } else if (a == "--report") {
            opt.report = true;
        } else if (a == "--keep") {
            opt.keep = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + std::string(a));
        } else if (opt.project.empty()) {
            opt.project = std::string(a);
        } else {
            return Usage("only one project file can be given");
        }
    }
    if (opt.project.empty()) {
        return Usage("no project file given");
    }
    if ((opt.keep || !opt.settings.empty() || !opt.pdfPath.empty()) && !opt.report) {
        return Usage("--keep, --settings and --pdf need --report");
    }
    if (opt.realRatio && !opt.moments) {
        return Usage("--real-ratio needs --moments");
    }

    if (const int code = CheckNamedFiles(opt); code != 0) {
        return code;
    }

    const std::string dataFolder = opt.dataDir.empty() ? ormavex::ProgramFolder() : opt.dataDir;
    ormavex::CaseTable cases;
    ormavex::LoadResult load = ormavex::LoadProject(cases, opt.project);
    if (!load.ok) {
        // A file that cannot be read at all gets one line saying why; a file
        // read but not a project gets the messages and that line.
        if (!load.unreadable) {
            for (const ormavex::Message& m : load.messages) {
                Err(m.text + "\n");
            }
        }
        if (!load.problem.empty()) {
            Err("ormavex-batch: " + opt.project + " " + load.problem + "\n");
        }
        return 2;
    }

    ormavex::CalcArrays calc;
    ormavex::CoefWorkTables coef;
    std::vector<ormavex::CaseFailure> failures;
    if (!ormavex::CalcMoments(cases, calc, coef, dataFolder, nullptr, &failures)) {
        return CalcFailed(failures);
    }

    if (opt.moments) {
        // The moments printed: at each case's λ, or at its real side ratio.
        std::unique_ptr<ormavex::CalcArrays> real;
        if (opt.realRatio) {
            real = std::make_unique<ormavex::CalcArrays>();
        }
        if (opt.realRatio &&
            !ormavex::CalcMomentsAtRealRatio(cases, *real, dataFolder, &failures)) {
            return CalcFailed(failures);
        }
        const ormavex::CalcArrays& shown = opt.realRatio ? *real : calc;
        std::string out = "case,row,point,Mx,My\n";
        for (int c = 1; c <= cases.CaseCount; ++c) {
            for (int j = 1; j <= shown.CalcRowCount[c]; ++j) {
                for (int k = 1; k <= shown.CalcPointCount[c]; ++k) {
                    out += std::to_string(c) + "," + std::to_string(j) + "," + std::to_string(k) +
                           "," + ShortestNumber(shown.CalcMx[c](j, k)) + "," +
                           ShortestNumber(shown.CalcMy[c](j, k)) + "\n";
                }
            }
        }
        Out(out);
    }

    if (!opt.writePath.empty()) {
        ormavex::Error error;
        if (!ormavex::WriteInputFile(cases, opt.writePath, error)) {
            Err(std::string(error.message()) + "\n" + "ormavex-batch: cannot write " +
                opt.writePath + ": " + ormavex::FileErrorReason(error.code()) + "\n");
            return 2;
        }
    }

    if (opt.report) {
        return Report(cases, calc, dataFolder, opt);
    }
    return 0;
}

} // namespace ormavex::batch
