#include "core/project/basIO.h"
#include "core/project/ProjectLoad.h"
#include "core/project/basIO200.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteBytes;
using ormavex::test::WriteSjisLines;

namespace {

#ifndef _WIN32
// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails with EFBIG (the signal the system would send is ignored).
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    rlimit saved{};
    void (*oldHandler)(int) = nullptr;
};
#endif

const std::string kHeader = ToShiftJis("VELMORRA INPUT FILE FORMAT V1：Ormavex V2\r\n"
                                       "PRODUCT NAME                   [Ormavex]\r\n"
                                       "INPUT FILE VERSION             [2.10]\r\n");

void FillTwoCases(CaseTable& t) {
    t.CaseCount = 2;
    t.setDefaults(1);
    t.cell(1, 1) = "前壁, 下段";
    t.cell(1, 5) = 4.25;
    t.cell(1, 9) = -0.25;
    t.cell(1, 10) = 0.5;
    t.setDefaults(2);
    t.cell(2, 1) = "底版";
    t.cell(2, 2) = 2.0;
    t.cell(2, 3) = 1.0;
    t.cell(2, 7) = Cell(); // empty cell: an empty line
    t.cell(2, 8) = 1e-5;
}

} // namespace

TEST(ProjectFile, WritesTheLayoutByteForByte) {
    CaseTable t;
    FillTwoCases(t);
    const std::string expected = kHeader + " 2 \r\n" + " 1 \r\n" + ToShiftJis("\"前壁, 下段\"") +
                                 "\r\n0\r\n0\r\n0\r\n4.25\r\n1\r\n1\r\n1\r\n-0.25\r\n0.5\r\n" +
                                 " 2 \r\n" + ToShiftJis("\"底版\"") +
                                 "\r\n2\r\n1\r\n0\r\n1\r\n1\r\n\r\n0.00001\r\n0\r\n0\r\n";
    EXPECT_EQ(InputFileBytes(t), expected);

    CaseTable empty;
    EXPECT_EQ(InputFileBytes(empty), kHeader + " 0 \r\n");
}

TEST(ProjectFile, RoundTripIsByteExact) {
    TempDir dir;
    CaseTable t;
    FillTwoCases(t);
    Error error;
    ASSERT_TRUE(WriteInputFile(t, dir.file("a.kvt"), error));
    CaseTable back;
    ASSERT_TRUE(ReadInputFile(back, dir.file("a.kvt"), error));
    EXPECT_EQ(error.code(), 0);
    ASSERT_EQ(back.CaseCount, 2);
    for (int r = 1; r <= 2; ++r) {
        for (int k = 1; k <= 10; ++k) {
            EXPECT_EQ(back.cell(r, k), t.cell(r, k)) << r << "," << k;
        }
    }
    ASSERT_TRUE(WriteInputFile(back, dir.file("b.kvt"), error));
    EXPECT_EQ(ReadBytes(dir.file("a.kvt")), ReadBytes(dir.file("b.kvt")));

    // The largest count a file may hold is read back whole.
    t.CaseCount = MaxCases;
    for (int r = 3; r <= MaxCases; ++r) {
        t.setDefaults(r);
        t.cell(r, 5) = r / 8.0;
    }
    ASSERT_TRUE(WriteInputFile(t, dir.file("c.kvt"), error));
    ASSERT_TRUE(ReadInputFile(back, dir.file("c.kvt"), error)) << error.message();
    ASSERT_EQ(back.CaseCount, MaxCases);
    EXPECT_EQ(back.cell(MaxCases, 5), Cell(MaxCases / 8.0));
}

TEST(ProjectFile, WritesNumbersAsPlainDecimalsOfFifteenDigits) {
    // The writer's number form, against values worked out by hand: no
    // exponent, at most 15 significant digits, no trailing zeros.
    const std::pair<double, const char*> rows[] = {
        {4.25, "4.25"},
        {-0.0, "0"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e20, "100000000000000000000"},
        {1e-5, "0.00001"},
        {-1.23456789012345e-5, "-0.0000123456789012345"},
    };
    for (const auto& [value, text] : rows) {
        CaseTable t;
        t.CaseCount = 1;
        t.cell(1, 5) = value;
        const std::string bytes = InputFileBytes(t);
        // header (3 lines), count, case number, cells 1 to 4, then cell 5
        LineReader lines(bytes);
        std::string_view line;
        ASSERT_TRUE(lines.skip(9) && lines.next(line));
        EXPECT_EQ(line, text) << value;
    }
}

TEST(ProjectFile, ADoubleQuoteInATitleIsWrittenAsApostrophe) {
    TempDir dir;
    CaseTable t;
    t.CaseCount = 1;
    t.setDefaults(1);
    t.cell(1, 1) = "壁 \"A\", 1";
    Error error;
    ASSERT_TRUE(WriteInputFile(t, dir.file("q.kvt"), error));
    CaseTable back;
    ASSERT_TRUE(ReadInputFile(back, dir.file("q.kvt"), error));
    EXPECT_EQ(back.cell(1, 1).text(), "壁 'A', 1");
    EXPECT_EQ(back.cell(1, 2), Cell(0.0));
}

TEST(ProjectFile, ReadsItemsAsTextNumbersOrNothing) {
    TempDir dir;
    // Case numbers are not compared; blanks around items are skipped; .5 and
    // exponents are numbers; unquoted non-numbers become text.
    WriteBytes(dir.file("x.kvt"), kHeader +
                                      "  1  \r\n 0 \r\n\"t\"\r\n 2 \r\n1\r\n1\r\n.5\r\n1E-05\r\n"
                                      "abc\r\n\r\n1E999\r\n4\r\n");
    CaseTable t;
    Error error;
    ASSERT_TRUE(ReadInputFile(t, dir.file("x.kvt"), error));
    EXPECT_EQ(t.CaseCount, 1);
    EXPECT_EQ(t.cell(1, 2), Cell(2.0));
    EXPECT_EQ(t.cell(1, 5), Cell(0.5));
    EXPECT_EQ(t.cell(1, 6), Cell(1e-5));
    EXPECT_EQ(t.cell(1, 7), Cell("abc"));
    EXPECT_TRUE(t.cell(1, 8).isEmpty());
    EXPECT_EQ(t.cell(1, 9), Cell("1E999")) << "a number too large for a double stays text";
    EXPECT_EQ(t.cell(1, 10), Cell(4.0));
}

TEST(ProjectFile, ReadsVersion200WithoutCell4) {
    TempDir dir;
    WriteSjisLines(dir.file("old.kvt"), {"VELMORRA INPUT FILE FORMAT V1：Ormavex V2",
                                         "PRODUCT NAME                   [Ormavex]",
                                         "INPUT FILE VERSION             [2.00]",
                                         " 2 ",
                                         " 1 ",
                                         "\"旧1\"",
                                         "2",
                                         "1",
                                         "3",
                                         "4",
                                         "0.75",
                                         "0.5",
                                         "10",
                                         "20",
                                         " 2 ",
                                         "\"旧2\"",
                                         "0",
                                         "0",
                                         "5",
                                         "5",
                                         "1",
                                         "1",
                                         "0",
                                         "0"});
    CaseTable t;
    t.cell(1, 4) = 1.0;
    LoadResult r = LoadProject(t, dir.file("old.kvt"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.version, "2.00");
    EXPECT_EQ(t.CaseCount, 2);
    // The nine cells go to columns 1 to 3 and 5 to 10; column 4 is 0.
    const Cell first[] = {Cell("旧1"), Cell(2.0),  Cell(1.0), Cell(0.0),  Cell(3.0),
                          Cell(4.0),   Cell(0.75), Cell(0.5), Cell(10.0), Cell(20.0)};
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(t.cell(1, k), first[k - 1]) << k;
    }
    EXPECT_EQ(t.cell(2, 4), Cell(0.0));
    EXPECT_EQ(t.cell(2, 1), Cell("旧2"));
}

struct BadFile {
    const char* name;
    std::string body; // after the header
    int code;
};

class ProjectFileErrors : public ::testing::TestWithParam<BadFile> {};

TEST_P(ProjectFileErrors, FailWithTheirCodeAndEmptyTheStore) {
    TempDir dir;
    const BadFile& b = GetParam();
    WriteBytes(dir.file("bad.kvt"), kHeader + b.body);
    CaseTable t;
    FillTwoCases(t);
    Error error;
    EXPECT_FALSE(ReadInputFile(t, dir.file("bad.kvt"), error));
    EXPECT_EQ(error.code(), b.code);
    EXPECT_EQ(t.CaseCount, 0);
    EXPECT_TRUE(t.cell(1, 1).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ProjectFileErrors,
    ::testing::Values(BadFile{"Count100", " 100 \r\n", 9}, BadFile{"Negative", " -1 \r\n", 9},
                      BadFile{"Huge", " 99999999999 \r\n", 6},
                      BadFile{"TextCount", "\"three\"\r\n", 13},
                      BadFile{"QuotedCount", "\"1\"\r\n", 13}, BadFile{"WordCount", "abc\r\n", 13},
                      BadFile{"NoCount", "", 62},
                      BadFile{"Truncated",
                              " 2 \r\n 1 \r\n\"a\"\r\n0\r\n0\r\n0\r\n1\r\n1\r\n1\r\n"
                              "1\r\n0\r\n0\r\n 2 \r\n\"b\"\r\n0\r\n",
                              62}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectFile, MissingFileAndFolderCodes) {
    TempDir dir;
    CaseTable t;
    Error error;
    EXPECT_FALSE(ReadInputFile(t, dir.file("none.kvt"), error));
    EXPECT_EQ(error.code(), 53);
    EXPECT_FALSE(ReadInputFile(t, dir.file("no/none.kvt"), error));
    EXPECT_EQ(error.code(), 76);
    EXPECT_FALSE(WriteInputFile(t, dir.file("no/x.kvt"), error));
    EXPECT_EQ(error.code(), 76);
    // A parent that is a file: even root cannot write there.
    WriteBytes(dir.file("plain"), "x");
    EXPECT_FALSE(WriteInputFile(t, dir.file("plain/x.kvt"), error));
    EXPECT_EQ(error.code(), 76);
    EXPECT_FALSE(WriteInputFile(t, dir.path(), error));
}

TEST(ProjectFile, AFailedSaveLeavesTheExistingFileByteIdentical) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit (RLIMIT_FSIZE) is POSIX only";
#else
    TempDir dir;
    const std::string path = dir.file("keep.kvt");
    WriteBytes(path, "the user's earlier project\r\n");
    CaseTable t;
    FillTwoCases(t);
    Error error;
    {
        // The system refuses every byte of a file past the 40th (EFBIG, a
        // full disk to the user): the save fails part way through.
        FileSizeLimit limit(40);
        EXPECT_FALSE(WriteInputFile(t, path, error));
    }
    EXPECT_EQ(error.code(), 61);
    EXPECT_EQ(error.path(), path);
    EXPECT_EQ(error.message(), WriteErrorMessage(61, path).text);
    EXPECT_EQ(FileErrorFromErrno(EIO, path, true), 57); // a failing disk part way through
    EXPECT_EQ(ReadBytes(path), "the user's earlier project\r\n");
    // No stray new file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(WriteInputFile(t, path, error));
    EXPECT_EQ(ReadBytes(path), InputFileBytes(t));
#endif
}

TEST(ProjectLoad, ChecksExtensionAndVersionBeforeReading) {
    TempDir dir;
    CaseTable t;
    FillTwoCases(t);

    WriteBytes(dir.file("a.txt"), kHeader + " 0 \r\n");
    LoadResult r = LoadProject(t, dir.file("a.txt"));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text,
              "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： 0）\n\n"
              "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。");
    EXPECT_EQ(t.CaseCount, 2); // unchanged

    r = LoadProject(t, dir.file("missing.KvT"));
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver.error）には現在対応しておりません。");
    EXPECT_EQ(r.messages[0].title, "ﾌｧｲﾙを開く");
    EXPECT_EQ(r.messages[1].title, "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ");
    EXPECT_EQ(t.CaseCount, 2);

    WriteBytes(dir.file("b.kvt"), kHeader + " 100 \r\n");
    r = LoadProject(t, dir.file("b.kvt"));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].text.find("（ｴﾗｰｺｰﾄﾞ ： 9）"), std::string::npos);
    EXPECT_EQ(t.CaseCount, 0); // emptied by the reader
}
