#include "AppPaths.h"

#include "app/ProgramFolder.h"
#include "app/basToolsStd.h"

namespace ormavex::gui {

AppPaths AppPaths::Make(const std::string& programFolder, const std::string& executableName,
                        const std::string& localAppData) {
    AppPaths p;
    p.programFolder = programFolder;
    p.formatFile = programFolder + "/Kivet.fmt";
    MakeDir(localAppData + "/Velmorra");
    p.userDataFolder = localAppData + "/Velmorra/" + executableName;
    MakeDir(p.userDataFolder);
    p.settingsFile = SettingsFilePath(programFolder, p.userDataFolder);
    return p;
}

} // namespace ormavex::gui
