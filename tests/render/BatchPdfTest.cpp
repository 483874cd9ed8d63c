// ormavex-batch --report --pdf: the sample project's report straight to PDF
// through the renderer, one page per case, without a display.

#include "calc/basCalcMd.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

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

} // namespace
} // namespace ormavex
