#include "gui/common/AppPaths.h"

#include "core/app/ProgramFolder.h"
#include "core/app/basToolsStd.h"

#include <filesystem>

namespace ormavex::gui {

AppPaths AppPaths::Make(const std::string& programFolder, const std::string& executableName,
                        const std::string& localAppData) {
    AppPaths p;
    p.programFolder = programFolder;
    p.formatFile = programFolder + "/Kivet.fmt";
    // A new account may not have its local data folder yet: without it the
    // settings could never be written.
    std::error_code ec;
    std::filesystem::create_directories(localAppData, ec);
    MakeDir(localAppData + "/Velmorra");
    p.userDataFolder = localAppData + "/Velmorra/" + executableName;
    MakeDir(p.userDataFolder);
    p.settingsFile = SettingsFilePath(programFolder, p.userDataFolder);
    return p;
}

} // namespace ormavex::gui
