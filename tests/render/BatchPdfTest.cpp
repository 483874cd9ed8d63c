// ormavex-batch --report --pdf: the sample project's report straight to PDF
// through the renderer, one page per case, without a display.

#include "core/calc/basCalcMd.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace ormavex {
namespace {

TEST(BatchPdfTest, SampleReportBecomesOnePdfPagePerCase) {
    test::TempDir data;
    test::TempDir tmp;
    std::vector<test::TestBlock> blocks;
    for (const char* l : {"0.70", "0.85", "0.90", "1.00", "1.20"}) {
        blocks.push_back({std::string("L=") + l, 0.01});
    }
    for (int type = 1; type <= 5; ++type) {
        test::WriteCoefFile(CoefFilePath(data.path(), type), TableType(type)->points, blocks);
    }
    for (const char* f : {"Kivet.fmt", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
        std::filesystem::copy_file(std::string(ORMAVEX_BIN_DIR) + "/" + f, data.file(f));
    }
    test::WriteBytes(data.file("none.ini"), ""); // no numbering settings
    const std::string batch = std::string(ORMAVEX_BIN_DIR) + "/ormavex-batch";
    const std::string sample = std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt";
    std::string out;
    std::string err;
    // No QT_QPA_PLATFORM and no display: the batch program needs neither.
    const int rc =
        test::RunCommand("env -u DISPLAY -u QT_QPA_PLATFORM TMPDIR=" + tmp.path() + " " + batch +
                             " --data-dir " + data.path() + " --settings " + data.file("none.ini") +
                             " --report --pdf " + data.file("r.pdf") + " " + sample,
                         &out, &err);
    ASSERT_EQ(rc, 0) << err;
    const std::string pdf = test::ReadBytes(data.file("r.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_NE(pdf.find("/Count 6"), std::string::npos); // six cases
    for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
        EXPECT_EQ(e.path().filename().string().rfind("~MT", 0), std::string::npos)
            << "print file left behind: " << e.path();
    }

    EXPECT_EQ(test::RunCommand(batch + " --pdf x.pdf " + sample, &out, &err), 1); // needs --report
}

// A PDF that does not fit on the disk: both programs fail and the old PDF
// stays as it was, with no new file beside it; a FIFO as the PDF is refused
// at once.
TEST(BatchPdfTest, APdfOnAFullDiskKeepsTheOldOneAndFails) {
    test::SmallTmpfs fs(512);
    if (!fs.mounted()) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    test::TempDir tmp;
    const std::string bin = std::string(ORMAVEX_BIN_DIR);
    const std::string sample = std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt";
    const std::string old = "%PDF-1.4 the user's earlier report\n";
    test::WriteBytes(fs.file("r.pdf"), old);
    fs.fillUpTo(16);
    const std::string env = test::BoundedCommand(60, 4096) + "env -u DISPLAY TMPDIR=" + tmp.path() +
                            " QT_QPA_PLATFORM=offscreen ";
    std::string out;
    std::string err;
    EXPECT_EQ(test::RunCommand(env + bin + "/ormavex-batch --report --pdf " + fs.file("r.pdf") +
                                   " " + sample,
                               &out, &err),
              6);
    EXPECT_NE(err.find("No space left on device (error 61)"), std::string::npos) << err;
    ASSERT_EQ(test::RunCommand(env + bin + "/ormavex-batch --report --keep " + sample, &out, &err),
              0)
        << err;
    const std::string printFile = out.substr(0, out.find('\n'));
    EXPECT_EQ(
        test::RunCommand(env + bin + "/ormavex-preview --pdf " + fs.file("r.pdf") + " " + printFile,
                         &out, &err),
        3);
    EXPECT_EQ(test::ReadBytes(fs.file("r.pdf")), old);
    EXPECT_EQ(fs.names(), (std::vector<std::string>{"fill", "r.pdf"}));

    ASSERT_EQ(::mkfifo(tmp.file("p.pdf").c_str(), 0600), 0);
    EXPECT_EQ(test::RunCommand(env + bin + "/ormavex-preview --pdf " + tmp.file("p.pdf") + " " +
                                   printFile,
                               &out, &err),
              3);
    EXPECT_NE(err.find("is a FIFO"), std::string::npos) << err;
}

} // namespace
} // namespace ormavex
