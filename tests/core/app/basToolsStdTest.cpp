#include "core/app/basToolsStd.h"
#include "core/app/CSystem.h"
#include "core/app/ProgramFolder.h"
#include "core/app/mWin32_SHGetSpecialFolderPath.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteBytes;

TEST(basToolsStd, VersionProbe) {
    TempDir dir;
    WriteBytes(dir.file("a.kvt"), "x\r\ny\r\nINPUT FILE VERSION             [2.10]\r\n 0 \r\n");
    EXPECT_EQ(GetInputFileVersion(dir.file("a.kvt")), "2.10");
    WriteBytes(dir.file("b.kvt"), "x\r\ny\r\n");
    EXPECT_EQ(GetInputFileVersion(dir.file("b.kvt")), "error");
    EXPECT_EQ(GetInputFileVersion(dir.file("missing.kvt")), "error");
    // 32 characters are too short; 33 give an empty version (the last one dropped).
    WriteBytes(dir.file("c.kvt"), "x\r\ny\r\n" + std::string(32, 'v') + "\r\n");
    EXPECT_EQ(GetInputFileVersion(dir.file("c.kvt")), "error");
    WriteBytes(dir.file("d.kvt"), "x\r\ny\r\n" + std::string(32, 'v') + "]");
    EXPECT_EQ(GetInputFileVersion(dir.file("d.kvt")), "");
    // Label and brackets are not checked; characters, not bytes, are counted.
    WriteBytes(dir.file("e.kvt"),
               "x\r\ny\r\n" + ToShiftJis("版") + std::string(31, ' ') + "2.00]\r\n");
    EXPECT_EQ(GetInputFileVersion(dir.file("e.kvt")), "2.00");
}

TEST(basToolsStd, FileAndFolderOperations) {
    TempDir dir;
    EXPECT_TRUE(MakeDir(dir.file("sub")));
    EXPECT_FALSE(MakeDir(dir.file("sub"))); // an existing folder is a failure
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("sub")));

    WriteBytes(dir.file("f"), "content");
    EXPECT_TRUE(CreateEmptyFile(dir.file("f")));
    EXPECT_EQ(ReadBytes(dir.file("f")), "");
    EXPECT_TRUE(CreateEmptyFile(dir.file("new")));
    EXPECT_FALSE(CreateEmptyFile(dir.file("nofolder/x")));

    EXPECT_TRUE(KillFile(dir.file("f")));
    EXPECT_FALSE(KillFile(dir.file("f")));
    EXPECT_FALSE(KillFile(dir.file("sub")));
}

TEST(basToolsStd, AppendFileEndsEveryLineWithCrLf) {
    TempDir dir;
    WriteBytes(dir.file("dst"), "head\r\n");
    WriteBytes(dir.file("src"), "a\r\n\fb\r\nlast");
    EXPECT_TRUE(AppendFile(dir.file("dst"), dir.file("src")));
    EXPECT_EQ(ReadBytes(dir.file("dst")), "head\r\na\r\n\fb\r\nlast\r\n");

    WriteBytes(dir.file("empty"), "");
    EXPECT_TRUE(AppendFile(dir.file("dst"), dir.file("empty")));
    EXPECT_EQ(ReadBytes(dir.file("dst")), "head\r\na\r\n\fb\r\nlast\r\n");

    // A missing source fails, but the destination has been created.
    EXPECT_FALSE(AppendFile(dir.file("created"), dir.file("missing")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("created")));
}

#ifdef _WIN32
TEST(LocalAppData, IsTheLocalApplicationDataFolder) {
    const char* old = std::getenv("LOCALAPPDATA");
    const std::string saved = old ? old : "";
    ormavex::test::SetEnvironment("LOCALAPPDATA", "C:\\Users\\u\\AppData\\Local\\");
    EXPECT_EQ(GetLocalAppDataPath(), "C:\\Users\\u\\AppData\\Local");
    EXPECT_EQ(PerUserDataFolder("ormavex"), "C:\\Users\\u\\AppData\\Local/Velmorra/ormavex");
    ormavex::test::SetEnvironment("LOCALAPPDATA", old ? saved.c_str() : nullptr);
}
#else
TEST(LocalAppData, FollowsXdgDataHomeThenHome) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", "/srv/data/", 1);
    EXPECT_EQ(GetLocalAppDataPath(), "/srv/data");
    ::setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        EXPECT_EQ(GetLocalAppDataPath(), std::filesystem::path(home).string() + "/.local/share");
    }
    if (oldXdg) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}
#endif

// An installed program folder is read-only: the settings must then go to the
// user's own folder, or every settings write would fail silently.
TEST(SettingsFile, LiesInTheProgramFolderOnlyWhenItIsWritable) {
    TempDir dir;
    const std::string user = dir.file("user");
    EXPECT_EQ(SettingsFilePath(dir.path(), user), dir.file("Kivet.ini"));
    EXPECT_EQ(SettingsFilePath(dir.file("missing"), user), user + "/Kivet.ini");
    EXPECT_EQ(SettingsFilePath("/usr/lib", user), user + "/Kivet.ini"); // even for root
    if (!ormavex::test::RunningAsRoot()) {                              // root may write anywhere
#ifndef _WIN32 // a folder's permissions are not its attributes on Windows
        std::filesystem::create_directory(dir.file("ro"));
        std::filesystem::permissions(dir.file("ro"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        EXPECT_EQ(SettingsFilePath(dir.file("ro"), user), user + "/Kivet.ini");
        std::filesystem::permissions(dir.file("ro"), std::filesystem::perms::owner_all);
#endif
    }
#ifndef _WIN32
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(PerUserDataFolder("ormavex"), "/srv/data/Velmorra/ormavex");
    if (oldXdg) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
#endif
}

TEST(CSystem, SplitsLikeAWindowsCommandLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CSystem::SplitCommandLine(R"(prog /INI="C:\My Data\x" "file name.txt")"),
              (V{"prog", R"(/INI=C:\My Data\x)", "file name.txt"}));
    EXPECT_EQ(CSystem::SplitCommandLine(R"(  a\\\"b "c\\" d)"), (V{"a\\\"b", "c\\", "d"}));
    EXPECT_EQ(CSystem::SplitCommandLine(""), V{});
}

TEST(CSystem, StartsWithQuotedArgumentsAndWaitsWhenAsked) {
#ifdef _WIN32
    // The command line reaches the program as it was given: cmd gets the
    // quoted folder name whole, and the call waits for it.
    TempDir dir;
    std::string made = dir.file("made folder");
    std::replace(made.begin(), made.end(), '/', '\\');
    CSystem::Shell("cmd /c mkdir \"" + made + "\"", 1.0, true);
    EXPECT_TRUE(std::filesystem::is_directory(made));
    CSystem::Shell("cmd /c mkdir \"" + made + "2\"", std::string("normal"), true);
    EXPECT_FALSE(std::filesystem::exists(made + "2"));
    CSystem::Shell("C:/nonexistent/program", 1.0, true);
#else
    TempDir dir;
    const std::string out = dir.file("out file.txt");
    // The arguments reach the program unchanged, blanks and all, without a
    // shell in between (the ';' is not a command separator).
    CSystem::Shell("sh -c \"printf '%s|' \\\"$0\\\" \\\"$1\\\" > '" + out + "'\" \"one arg\" ;two",
                   1.0, true);
    EXPECT_EQ(ReadBytes(out), "one arg|;two|");

    // Not waiting: the call returns while the program still runs.
    const std::string late = dir.file("late");
    CSystem::Shell("sh -c \"sleep 1; touch '" + late + "'\"", CSystem::Option{}, false);
    EXPECT_FALSE(std::filesystem::exists(late));

    // A window style that is not numeric starts nothing.
    const std::string never = dir.file("never");
    CSystem::Shell("touch " + never, std::string("normal"), true);
    EXPECT_FALSE(std::filesystem::exists(never));
    CSystem::Shell("touch " + dir.file("yes"), std::string("1"), std::string("True"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("yes")));
    // A program that does not exist is not reported.
    CSystem::Shell("/nonexistent/program", 1.0, true);
#endif
}
