#include "AppPaths.h"

#include "app/basToolsStd.h"

#include <unistd.h>

#include <filesystem>

namespace ormavex::gui {

std::string ChooseSettingsFile(const std::string& programFolder, const std::string& userDataFolder) {
    const std::string inProgramFolder = programFolder + "/Kivet.ini";
    std::error_code ec;
    const bool folderWritable = ::access(programFolder.c_str(), W_OK) == 0;
    const bool fileWritable =
        !std::filesystem::exists(inProgramFolder, ec) || ::access(inProgramFolder.c_str(), W_OK) == 0;
    if (folderWritable && fileWritable) {
        return inProgramFolder;
    }
    return userDataFolder + "/Kivet.ini";
}

AppPaths AppPaths::Make(const std::string& programFolder, const std::string& executableName,
                        const std::string& localAppData) {
    AppPaths p;
    p.programFolder = programFolder;
    p.formatFile = programFolder + "/Kivet.fmt";
    MakeDir(localAppData + "/Velmorra");
    p.userDataFolder = localAppData + "/Velmorra/" + executableName;
    MakeDir(p.userDataFolder);
    p.settingsFile = ChooseSettingsFile(programFolder, p.userDataFolder);
    return p;
}

} // namespace ormavex::gui
