// Files as an attacker or an unlucky user hands them over: special files,
// endless and huge files, settings values outside their ranges, titles that
// hold control characters, links and FIFOs to be written over. Each is run
// with a time and memory bound.

#include "core/app/CPrivateProfile.h"
#include "core/app/Messages.h"
#include "core/app/basToolsStd.h"
#include "core/project/ProjectLoad.h"
#include "core/project/basIO.h"
#include "core/report/ChapterSettings.h"
#include "core/report/basResOutPrn.h"
#include "core/text/SignalCleanup.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::RunBounded;
using ormavex::test::TempDir;
using ormavex::test::WriteBytes;

namespace {

// A FIFO, /dev/zero behind a link, a sparse 100 GB file and a folder, each
// under a name that ends in .kvt (on Windows the sparse file, the folder and
// the NUL device).
struct SpecialFiles {
    TempDir dir;
    std::string fifo = dir.file("p.kvt");
    std::string zero = dir.file("zero.kvt");
    std::string sparse = dir.file("sparse.kvt");
    std::string folder = dir.file("folder.kvt");
#ifdef _WIN32
    SpecialFiles() {
        std::ofstream(sparse, std::ios::binary).close();
        std::filesystem::resize_file(sparse, 256ULL << 20); // past every limit
        std::filesystem::create_directory(folder);
    }
    // The NUL device under a name that ends in .kvt, as Windows reads it.
    std::vector<std::string> all() const { return {sparse, folder, "NUL.kvt"}; }
#else
    SpecialFiles() {
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::filesystem::create_symlink("/dev/zero", zero);
        const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT, 0600);
        EXPECT_EQ(::ftruncate(fd, 100LL << 30), 0);
        ::close(fd);
        std::filesystem::create_directory(folder);
    }
    std::vector<std::string> all() const { return {fifo, zero, sparse, folder}; }
#endif
};

} // namespace

TEST(HostileInput, ReadsOnlyRegularFilesWithinTheirLimit) {
    SpecialFiles f;
    for (const std::string& path : f.all()) {
        EXPECT_TRUE(RunBounded(
            [&] {
                std::string bytes;
                Error error;
                return !ReadFileBytes(path, bytes, error, FileLimit::Print) && bytes.empty() &&
                       (error.code() == FileError::PathFileAccess ||
                        error.code() == FileError::OutOfMemory) &&
                       !DescribeUnreadableFile(path).empty();
            },
            5, 512))
            << path;
    }
#ifndef _WIN32
    EXPECT_NE(DescribeUnreadableFile(f.fifo).find("FIFO"), std::string::npos);
#endif
    EXPECT_NE(DescribeUnreadableFile(f.sparse, FileLimit::Project).find("too large"),
              std::string::npos);
    // The limit itself is allowed, one byte more is not.
    WriteBytes(f.dir.file("a"), std::string(1000, 'x'));
    std::string bytes;
    Error error;
    EXPECT_TRUE(ReadFileBytes(f.dir.file("a"), bytes, error, 1000));
    EXPECT_EQ(bytes.size(), 1000u);
    EXPECT_FALSE(ReadFileBytes(f.dir.file("a"), bytes, error, 999));
    EXPECT_EQ(error.code(), FileError::OutOfMemory);
    EXPECT_EQ(error.path(), f.dir.file("a"));
    EXPECT_FALSE(ReadFileBytes("", bytes, error));
    EXPECT_EQ(error.code(), FileError::BadFileName);
}

TEST(HostileInput, ProjectLoadRefusesSpecialFilesAndSaysWhy) {
    SpecialFiles f;
    for (const std::string& path : f.all()) {
        EXPECT_TRUE(RunBounded(
            [&] {
                auto cases = std::make_unique<CaseTable>();
                const LoadResult r = LoadProject(*cases, path);
                return !r.ok && r.unreadable && !r.problem.empty();
            },
            5, 512))
            << path;
    }
    // An empty file is read but is no project: the window's messages stay,
    // the command line gets the reason.
    WriteBytes(f.dir.file("empty.kvt"), "");
    auto cases = std::make_unique<CaseTable>();
    LoadResult r = LoadProject(*cases, f.dir.file("empty.kvt"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.unreadable);
    EXPECT_EQ(r.problem, "is empty");
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, UnsupportedVersionMessage("error").text);
    // A long version is quoted by its first 40 bytes.
    const std::string longVersion(100000, '9');
    WriteBytes(f.dir.file("long.kvt"),
               "a\r\nb\r\nINPUT FILE VERSION             [" + longVersion + "]\r\n");
    r = LoadProject(*cases, f.dir.file("long.kvt"));
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.version, std::string(kMaxVersionBytes, '9'));
    EXPECT_EQ(r.messages[0].text, UnsupportedVersionMessage(std::string(40, '9')).text);
}

TEST(HostileInput, SettingsValuesAreKeptWithinTheirRanges) {
    const ChapterSettings s = ChapterSettingsIn(
        "[Chapter]\r\nMethod=-1\r\nInit=1000\r\nStyle1=12\r\nStyle2=-3\r\nStyle3=4\r\n"
        "Margin1=2147483647\r\nMargin2=-2147483648\r\nMargin3=300000000\r\nMargin4=7\r\n");
    EXPECT_EQ(s.method, 0);
    EXPECT_EQ(s.init, 99);
    EXPECT_EQ(s.styles, (std::array<int, 4>{9, 0, 4, 0}));
    EXPECT_EQ(s.margins, (std::array<int, 4>{10, 0, 10, 7}));

    // The report writer reads them the same way, and its arithmetic on a
    // margin set by hand cannot overflow either.
    TempDir dir;
    WriteBytes(dir.file("Kivet.ini"), "[Chapter]\r\nMethod=1\r\nMargin1=2147483647\r\n");
    auto state = std::make_unique<ReportState>();
    LoadNumberingSettings(*state, dir.file("Kivet.ini"));
    EXPECT_EQ(state->margins[1], 10);
    state->margins[1] = 2147483647;
    state->currentLevel = 1;
    EXPECT_EQ(HeadingPrefix(*state, 0), std::string(12, ' '));

    // Written back as the numbering dialog leaves them (no method chosen is
    // an empty value), they read again the same.
    const ChapterSettings written{-1, 5, {3, 0, 0, 9}, {10, 4, 0, 0}};
    ASSERT_TRUE(WriteChapterSettings(dir.file("Kivet.ini"), written));
    EXPECT_NE(ReadBytes(dir.file("Kivet.ini")).find("Method=\r\n"), std::string::npos);
    const ChapterSettings back = ReadChapterSettings(dir.file("Kivet.ini"));
    EXPECT_EQ(back.method, 0);
    EXPECT_EQ(back.init, 5);
    EXPECT_EQ(back.styles, written.styles);
    EXPECT_EQ(back.margins, written.margins);
}

TEST(HostileInput, TitlesLoseTheirControlCharacters) {
    TempDir dir;
    CaseTable cases;
    cases.CaseCount = 1;
    cases.setDefaults(1);
    cases.cell(1, 1) = Cell("A");
    const std::string bytes = InputFileBytes(cases);
    const std::string bad = "A\f?FG;000;000;/dev/zero\x7f\t";
    std::string planted = bytes;
    planted.replace(planted.find("\"A\""), 3, "\"" + bad + "\"");
    WriteBytes(dir.file("t.kvt"), planted);
    auto read = std::make_unique<CaseTable>();
    ASSERT_TRUE(LoadProject(*read, dir.file("t.kvt")).ok);
    EXPECT_EQ(read->cell(1, 1).text(), "A ?FG;000;000;/dev/zero  ");
}

TEST(HostileInput, SavingFollowsLinksKeepsPermissionsAndRefusesSpecialFiles) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links, permission bits, the creation mask and FIFOs are POSIX";
#else
    TempDir dir;
    WriteBytes(dir.file("real.kvt"), "old");
    ASSERT_EQ(::chmod(dir.file("real.kvt").c_str(), 0754), 0);
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink("../real.kvt", dir.file("sub/link.kvt"));
    Error error;
    ASSERT_TRUE(ReplaceFileContents(dir.file("sub/link.kvt"), "new", error)) << error.message();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sub/link.kvt")));
    EXPECT_EQ(ReadBytes(dir.file("real.kvt")), "new");
    EXPECT_EQ(std::filesystem::directory_iterator(dir.file("sub"))->path().filename(), "link.kvt");
    // The replaced file keeps its permission bits; a new one gets those of
    // the user's file creation mask.
    auto mode = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    EXPECT_EQ(mode(dir.file("real.kvt")), 0754u);
    const mode_t mask = ::umask(027);
    EXPECT_TRUE(ReplaceFileContents(dir.file("new.kvt"), "new", error));
    ::umask(mask);
    EXPECT_EQ(mode(dir.file("new.kvt")), 0640u);

    ASSERT_EQ(::mkfifo(dir.file("p.kvt").c_str(), 0600), 0);
    EXPECT_FALSE(ReplaceFileContents(dir.file("p.kvt"), "new", error));
    EXPECT_EQ(error.code(), FileError::PathFileAccess);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("p.kvt")));
    // A link to a special file is refused as the file is. The link stays in
    // the test's folder: with a broken check, a link to a device such as
    // /dev/null would have the system's device replaced (the tests run as root).
    std::filesystem::create_symlink("p.kvt", dir.file("fifo-link.kvt"));
    EXPECT_FALSE(ReplaceFileContents(dir.file("fifo-link.kvt"), "new", error));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("p.kvt")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("fifo-link.kvt")));
#endif
}

// The one file replacement: a read-only file is refused with 75 (root
// included) and stays; a name of the full 255 bytes saves, over an old file
// of that name too; a disk that fills keeps the old file and leaves no new
// one. Nothing stays on the list of files removed on a signal.
TEST(HostileInput, ReplacementRefusesReadOnlyFilesAndKeepsTheOldOneOnAFullDisk) {
    TempDir dir;
    Error error;
    // Counted from here: a program running every test in one process (the
    // cross build) holds the print files other tests left on the list.
    const int listed = FilesRemovedOnSignal();
    WriteBytes(dir.file("ro.kvt"), "old");
    std::filesystem::permissions(dir.file("ro.kvt"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
    EXPECT_FALSE(ReplaceFileContents(dir.file("ro.kvt"), "new", error));
    EXPECT_EQ(error.code(), FileError::PathFileAccess);
    EXPECT_NE(std::string(error.message()).find("read-only"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.file("ro.kvt")), "old");

    CaseTable cases;
    cases.CaseCount = 1;
    cases.setDefaults(1);
    const std::string longName = std::string(251, 'n') + ".kvt";
    ASSERT_EQ(longName.size(), 255u);
    ASSERT_TRUE(WriteInputFile(cases, dir.file(longName), error)) << error.message();
    ASSERT_TRUE(WriteInputFile(cases, dir.file(longName), error)) << error.message();
    EXPECT_EQ(ReadBytes(dir.file(longName)), InputFileBytes(cases));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    EXPECT_EQ(FilesRemovedOnSignal(), listed);

    ormavex::test::SmallTmpfs fs(256);
    if (!fs.mounted()) {
        GTEST_SKIP() << "the full disk needs root to mount a small tmpfs";
    }
    const std::string old(3000, 'o');
    WriteBytes(fs.file("p.kvt"), old);
    fs.fillUpTo(16);
    EXPECT_FALSE(ReplaceFileContents(fs.file("p.kvt"), std::string(64 * 1024, 'n'), error));
    EXPECT_EQ(error.code(), FileError::DiskFull);
    EXPECT_NE(std::string(error.message()).find(fs.file("p.kvt")), std::string::npos);
    EXPECT_EQ(ReadBytes(fs.file("p.kvt")), old);
    EXPECT_EQ(fs.names(), (std::vector<std::string>{"fill", "p.kvt"}));
    EXPECT_EQ(FilesRemovedOnSignal(), listed);
}
