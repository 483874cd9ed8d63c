// The command-line program as a user runs it: exit codes, stdout and stderr.

#include "core/calc/basCalcMd.h"
#include "core/project/basIO.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::RunCommand;
using ormavex::test::TempDir;
using ormavex::test::TestBlock;
using ormavex::test::WriteBytes;
using ormavex::test::WriteCoefFile;

namespace {

const std::string kBatch = std::string(ORMAVEX_BIN_DIR) + "/ormavex-batch";
const std::string kExamples = std::string(ORMAVEX_SOURCE_DIR) + "/examples";

// Coefficient files holding every λ the sample project uses.
void WriteSampleCoefFiles(const std::string& folder) {
    std::vector<TestBlock> blocks;
    for (const char* l : {"0.70", "0.85", "0.90", "1.00", "1.20"}) {
        blocks.push_back({std::string("L=") + l, 0.01});
    }
    for (int type = 1; type <= 5; ++type) {
        WriteCoefFile(CoefFilePath(folder, type), TableType(type)->points, blocks);
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        lines.push_back(l);
    }
    return lines;
}

} // namespace

TEST(Batch, PrintsTheMomentsOfTheSampleAsCsv) {
    TempDir dir;
    WriteSampleCoefFiles(dir.path());
    std::string out;
    std::string err;
    ASSERT_EQ(RunCommand(kBatch + " --data-dir " + dir.path() + " --moments " + kExamples +
                             "/caisson-A.kvt",
                         &out, &err),
              0)
        << err;
    const std::vector<std::string> lines = Lines(out);
    // Six cases of 9, 7, 9, 9, 7 and 5 points on three rows each.
    ASSERT_EQ(lines.size(), 1u + 3 * (9 + 7 + 9 + 9 + 7 + 5));
    EXPECT_EQ(lines[0], "case,row,point,Mx,My");
    EXPECT_EQ(lines[1].rfind("1,1,1,", 0), 0u);
    EXPECT_EQ(lines.back().rfind("6,3,5,", 0), 0u);
    // Case 1: L = 4.5 (Lx < Ly), u = QB = 132.6, t = QA − QB = 52.8; the
    // coefficients of table 1 row 1 point 1 and table 3 are 0.121 and 0.321.
    const double mx = 4.5 * 4.5 * 132.6 * 0.121 + 4.5 * 4.5 * (185.4 - 132.6) * 0.321;
    const double got = std::stod(lines[1].substr(6, lines[1].find(',', 6) - 6));
    EXPECT_NEAR(got, mx, 1e-9 * mx);
}

TEST(Batch, WritesTheProjectBackByteForByte) {
    TempDir dir;
    WriteSampleCoefFiles(dir.path());
    const std::string out = dir.file("copy.kvt");
    ASSERT_EQ(RunCommand(kBatch + " --data-dir " + dir.path() + " --write " + out + " " +
                         kExamples + "/caisson-A.kvt"),
              0);
    EXPECT_EQ(ReadBytes(out), ReadBytes(kExamples + "/caisson-A.kvt"));

    // A version 2.00 project is written as 2.10 with 2 decimal places.
    ASSERT_EQ(RunCommand(kBatch + " --data-dir " + dir.path() + " --write " + out + " " +
                         kExamples + "/caisson-A-v200.kvt"),
              0);
    const std::string v210 = ReadBytes(out);
    EXPECT_NE(v210.find("[2.10]\r\n 3 \r\n 1 \r\n"), std::string::npos);
}

TEST(Batch, ReportsLoadCalculationAndWriteFailures) {
    TempDir dir;
    std::string out;
    std::string err;
    // A file that does not exist: both messages of the main window, in order.
    EXPECT_EQ(RunCommand(kBatch + " " + dir.file("none.kvt"), &out, &err), 2);
    // The read error keeps code 0 but names the file and why.
    EXPECT_EQ(err, "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.error）には現在対応しておりません。\n"
                   "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。\n" +
                       dir.file("none.kvt") +
                       "\nﾌｧｲﾙが見つかりません（ｴﾗｰｺｰﾄﾞ ： 0）\n\n"
                       "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。\n");

    // No coefficient files: the calculation message and the missing file's name.
    EXPECT_EQ(RunCommand(kBatch + " --data-dir " + dir.path() + " " + kExamples + "/caisson-A.kvt",
                         &out, &err),
              3);
    EXPECT_EQ(err.rfind("計算中にｴﾗｰが発生しました。処理の継続を中止します。\n", 0), 0u);
    EXPECT_NE(err.find("FREE_84.DAT"), std::string::npos);

    WriteSampleCoefFiles(dir.path());
    EXPECT_EQ(RunCommand(kBatch + " --data-dir " + dir.path() + " --write " + dir.file("no/x.kvt") +
                             " " + kExamples + "/caisson-A.kvt",
                         &out, &err),
              2);
    EXPECT_NE(err.find("入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。\n" + dir.file("no/x.kvt") +
                       "\nﾌｫﾙﾀﾞが見つかりません（ｴﾗｰｺｰﾄﾞ ： 76）"),
              std::string::npos)
        << err;

    EXPECT_EQ(RunCommand(kBatch, &out, &err), 1);
    EXPECT_NE(err.find("usage:"), std::string::npos);
    EXPECT_EQ(RunCommand(kBatch + " --bogus x.kvt", &out, &err), 1);
}

// Cases that cannot be calculated end the run with code 3 and one line per
// case naming the case and the value; the others are not printed.
TEST(Batch, NamesEveryCaseItCannotCalculate) {
    TempDir dir;
    CaseTable cases;
    cases.CaseCount = 4;
    for (int c = 1; c <= 4; ++c) {
        cases.setDefaults(c);
    }
    cases.cell(2, 5) = 0.0;     // Lx = 0
    cases.cell(3, 9) = 1e300;   // a load the sheet never accepts
    cases.cell(4, 10) = -1.5e4; // likewise
    const std::string project = dir.file("bad.kvt");
    Error error;
    ASSERT_TRUE(WriteInputFile(cases, project, error)) << error.message();
    std::string out;
    std::string err;
    EXPECT_EQ(RunCommand(kBatch + " --moments " + project, &out, &err), 3);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Lines(err),
              (std::vector<std::string>{
                  "計算中にｴﾗｰが発生しました。処理の継続を中止します。",
                  "case 2: Lx = 0: a span must be greater than 0 and at most 99.999",
                  "case 3: QA = 1e+300: outside the accepted range -9999.99 .. 9999.99",
                  "case 4: QB = -15000: outside the accepted range -9999.99 .. 9999.99"}));
}

// --real-ratio prints the moments at Lx/Ly: the same as at λ where the two
// agree (case 1: 4.5 / 5 = 0.9, case 4: 1), the others moved.
TEST(Batch, PrintsTheMomentsAtTheRealSideRatio) {
    std::string atLambda;
    std::string atReal;
    std::string err;
    const std::string sample = kExamples + "/caisson-A.kvt";
    ASSERT_EQ(RunCommand(kBatch + " --moments " + sample, &atLambda, &err), 0) << err;
    ASSERT_EQ(RunCommand(kBatch + " --moments --real-ratio " + sample, &atReal, &err), 0) << err;
    const std::vector<std::string> lam = Lines(atLambda);
    const std::vector<std::string> real = Lines(atReal);
    ASSERT_EQ(real.size(), lam.size());
    for (std::size_t i = 0; i < lam.size(); ++i) {
        const bool same = i == 0 || lam[i][0] == '1' || lam[i][0] == '4';
        const bool zero = lam[i].size() > 4 && lam[i].substr(lam[i].size() - 4) == ",0,0";
        if (same || !zero) { // corners are 0 at every ratio
            EXPECT_EQ(real[i] == lam[i], same) << real[i];
        }
        EXPECT_EQ(real[i].substr(0, 6), lam[i].substr(0, 6));
    }
    EXPECT_EQ(RunCommand(kBatch + " --real-ratio " + sample, &atReal, &err), 1);
    EXPECT_NE(err.find("--real-ratio needs --moments"), std::string::npos);
}

// A failure no part of the program handles still ends it with one line and
// its own exit code, not with an abort: here the memory runs out while the
// coefficient files, 16 MB each, are opened in 40 MB of address space.
TEST(Batch, EndsAFailureNothingHandledWithOneLineAndCode7) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit a 40 MB address space";
#endif
    TempDir dir;
    WriteSampleCoefFiles(dir.path());
    for (int type = 1; type <= 5; ++type) {
        std::filesystem::resize_file(CoefFilePath(dir.path(), type), 16u << 20); // sparse
    }
    std::string err;
    EXPECT_EQ(RunCommand("ulimit -v 40960; exec " + kBatch + " --data-dir " + dir.path() + " " +
                             kExamples + "/caisson-A.kvt",
                         nullptr, &err),
              7);
    EXPECT_EQ(err, "ormavex-batch: stopped by an unexpected failure: std::bad_alloc\n");
}

TEST(Batch, LoadsNoQtLibraryWithoutPdf) {
    // The dynamic loader names every library it loads: a run that computes,
    // prints and writes the report, but no PDF, must not load any of Qt.
    TempDir dir;
    TempDir tmp;
    WriteSampleCoefFiles(dir.path());
    for (const char* f : {"Kivet.fmt", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
        WriteBytes(dir.file(f), ReadBytes(std::string(ORMAVEX_BIN_DIR) + "/" + f));
    }
    std::string out;
    std::string err;
    ASSERT_EQ(RunCommand("LD_DEBUG=libs TMPDIR=" + tmp.path() + " " + kBatch + " --data-dir " +
                             dir.path() + " --moments --report " + kExamples + "/caisson-A.kvt",
                         &out, &err),
              0)
        << err;
    EXPECT_NE(err.find("libc.so"), std::string::npos) << "the loader said nothing:\n" << err;
    EXPECT_EQ(err.find("libQt"), std::string::npos) << err;
}

// A FIFO, /dev/zero, a sparse 100 GB file and a folder as the project: exit
// status 2 and one line saying why, at once and in little memory. An empty
// file gets the messages and the line saying why.
TEST(Batch, RefusesSpecialFilesAsAProjectAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("p.kvt").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.kvt"));
    {
        const int fd = ::open(dir.file("sparse.kvt").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_EQ(::ftruncate(fd, 100LL << 30), 0);
        ::close(fd);
    }
    std::filesystem::create_directory(dir.file("folder.kvt"));
    const std::pair<const char*, const char*> cases[] = {
        {"p.kvt", "is a FIFO, not a regular file"},
        {"zero.kvt", "is a device, not a regular file"},
        {"sparse.kvt", "is too large"},
        {"folder.kvt", "is a folder, not a file"}};
    for (const auto& [name, why] : cases) {
        std::string err; // the time and memory bound stop a program that reads the file
        EXPECT_EQ(RunCommand(ormavex::test::BoundedCommand(5, 512) + kBatch + " --moments " +
                                 dir.file(name),
                             nullptr, &err),
                  2)
            << name;
        const std::vector<std::string> lines = Lines(err);
        ASSERT_EQ(lines.size(), 1u) << err;
        EXPECT_EQ(lines[0].rfind("ormavex-batch: " + dir.file(name) + " " + why, 0), 0u) << err;
    }
    WriteBytes(dir.file("empty.kvt"), "");
    std::string err;
    EXPECT_EQ(RunCommand(kBatch + " --moments " + dir.file("empty.kvt"), nullptr, &err), 2);
    const std::vector<std::string> lines = Lines(err);
    ASSERT_GT(lines.size(), 1u) << err;
    EXPECT_EQ(lines.back(), "ormavex-batch: " + dir.file("empty.kvt") + " is empty");
}

// --write over a link writes the file it names; over a FIFO or a read-only
// file it is refused before any work, and so is a FIFO as the PDF and a
// settings file that cannot be read.
TEST(Batch, WritesThroughLinksAndNeverOverSpecialFiles) {
    TempDir dir;
    WriteSampleCoefFiles(dir.path());
    WriteBytes(dir.file("target.kvt"), "old");
    std::filesystem::create_symlink("target.kvt", dir.file("link.kvt"));
    const std::string run =
        kBatch + " --data-dir " + dir.path() + " " + kExamples + "/caisson-A.kvt --write ";
    ASSERT_EQ(RunCommand(run + dir.file("link.kvt")), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.kvt")));
    EXPECT_EQ(ReadBytes(dir.file("target.kvt")).rfind("VELMORRA", 0), 0u);
    ASSERT_EQ(::mkfifo(dir.file("p.kvt").c_str(), 0600), 0);
    EXPECT_EQ(RunCommand(ormavex::test::BoundedCommand(5, 512) + run + dir.file("p.kvt")), 2);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("p.kvt")));

    // Read-only, even for root: code 75, the file as it was.
    WriteBytes(dir.file("ro.kvt"), "old");
    ::chmod(dir.file("ro.kvt").c_str(), 0444);
    std::string err;
    EXPECT_EQ(RunCommand(run + dir.file("ro.kvt"), nullptr, &err), 2);
    EXPECT_NE(err.find(dir.file("ro.kvt") + "\nﾌｧｲﾙにｱｸｾｽできません"), std::string::npos) << err;
    EXPECT_NE(err.find("（ｴﾗｰｺｰﾄﾞ ： 75）"), std::string::npos) << err;
    EXPECT_NE(err.find("the file is read-only"), std::string::npos) << err;
    EXPECT_EQ(ReadBytes(dir.file("ro.kvt")), "old");

    const std::string report = ormavex::test::BoundedCommand(10, 1024) +
                               "env TMPDIR=" + dir.file("tmp") + " " + kBatch + " --data-dir " +
                               dir.path() + " --report ";
    std::filesystem::create_directory(dir.file("tmp"));
    EXPECT_EQ(RunCommand(report + "--pdf " + dir.file("p.kvt") + " " + kExamples + "/caisson-A.kvt",
                         nullptr, &err),
              6);
    EXPECT_NE(err.find("is a FIFO"), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp"))) << "refused before the report";

    EXPECT_EQ(
        RunCommand(report + "--settings " + dir.file("no.ini") + " " + kExamples + "/caisson-A.kvt",
                   nullptr, &err),
        1);
    EXPECT_NE(err.find(dir.file("no.ini") + ": No such file or directory"), std::string::npos)
        << err;
}

// A temporary folder that fills at any point of the report: the run ends
// with 5 ("report not written") and no file of it is left, whether the
// pages or the combined print file ran out of space.
TEST(Batch, AFullTemporaryFolderIsReportNotWrittenWithNothingLeft) {
    ormavex::test::SmallTmpfs fs(640);
    if (!fs.mounted()) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    const std::string run = ormavex::test::BoundedCommand(20, 1024) + "env TMPDIR=" + fs.path() +
                            " " + kBatch + " --report " + kExamples + "/caisson-A.kvt";
    // Runs the report with `freeKb` of room left and checks that it either
    // succeeds or is "report not written" with nothing of it left.
    auto runWith = [&](int freeKb) {
        std::filesystem::remove(fs.file("fill"));
        fs.fillUpTo(freeKb);
        std::string err;
        const int rc = RunCommand(run, nullptr, &err);
        EXPECT_TRUE(rc == 0 || rc == 5) << freeKb << " KB free: " << rc << " " << err;
        EXPECT_EQ(fs.names(), std::vector<std::string>{"fill"}) << freeKb << " KB free";
        return rc;
    };
    EXPECT_EQ(runWith(4), 5);
    EXPECT_EQ(runWith(40), 5);
    // The least room the report needs, found by halving; every amount just
    // below it runs out during the last pages or the combined print file.
    int low = 40;
    int high = 600;
    ASSERT_EQ(runWith(high), 0) << "the report fits the file system";
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (runWith(mid) == 0 ? high : low) = mid;
    }
    for (int freeKb = high - 8; freeKb < high; ++freeKb) {
        EXPECT_EQ(runWith(freeKb), 5) << freeKb << " KB free, " << high << " KB needed";
    }
    std::filesystem::remove(fs.file("fill"));
    EXPECT_EQ(RunCommand(run), 0) << "with room again";
}

// SIGINT, SIGTERM and SIGHUP in the middle of a report of 99 cases: exit
// 128 + the signal, and no print file left. The program is stopped when its
// first print file appears, so the signal always comes during the run.
TEST(Batch, EachSignalLeavesNoPrintFile) {
    TempDir dir;
    const std::string sample = ReadBytes(kExamples + "/caisson-A.kvt");
    // 99 cases: the sample's first case over and over.
    const std::size_t countAt = sample.find("\r\n 6 \r\n");
    const std::size_t caseEnd = sample.find("\r\n 2 \r\n");
    ASSERT_NE(countAt, std::string::npos);
    ASSERT_NE(caseEnd, std::string::npos);
    std::string project = sample.substr(0, countAt) + "\r\n 99 ";
    const std::string firstCase = sample.substr(countAt + 5, caseEnd - countAt - 5);
    for (int c = 1; c <= 99; ++c) {
        project += "\r\n " + std::to_string(c) + " " + firstCase.substr(firstCase.find("\r\n", 2));
    }
    project += "\r\n";
    WriteBytes(dir.file("many.kvt"), project);
    std::filesystem::create_directory(dir.file("tmp"));
    ASSERT_EQ(RunCommand(kBatch + " " + dir.file("many.kvt")), 0) << "99 cases that load";
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::setenv("TMPDIR", dir.file("tmp").c_str(), 1);
            ::execl(kBatch.c_str(), kBatch.c_str(), "--report", dir.file("many.kvt").c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::filesystem::is_empty(dir.file("tmp")) &&
               std::chrono::steady_clock::now() < until) {
        }
        ::kill(pid, SIGSTOP);
        ::kill(pid, sig);
        ::kill(pid, SIGCONT);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << sig;
        EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp"))) << "signal " << sig;
    }
}
