// The start-up paths of an installed program: its settings must reach a
// folder the user can write, also on a new account without a local data
// folder yet.

#include "gui/common/AppPaths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ormavex::test {
namespace {

TEST(AppPaths, AnInstalledProgramKeepsItsSettingsInTheNewUsersFolder) {
    TempDir home;
    const std::string localAppData = home.file(".local/share");
    const gui::AppPaths paths = gui::AppPaths::Make("/usr/lib/ormavex", "ormavex", localAppData);
    EXPECT_EQ(paths.userDataFolder, localAppData + "/Velmorra/ormavex");
    EXPECT_TRUE(std::filesystem::is_directory(paths.userDataFolder));
    EXPECT_EQ(paths.settingsFile, paths.userDataFolder + "/Kivet.ini");
    EXPECT_EQ(paths.formatFile, "/usr/lib/ormavex/Kivet.fmt");
}

} // namespace
} // namespace ormavex::test
