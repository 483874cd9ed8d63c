#include "core/app/ProgramFolder.h"

#include "core/app/mWin32_SHGetSpecialFolderPath.h"

#include "core/platform/Platform.h"

namespace ormavex {

std::string ProgramFolder() { return platform::Utf8Path(platform::ExecutablePath().parent_path()); }

std::string ExecutableName() { return platform::Utf8Path(platform::ExecutablePath().stem()); }

std::string TemporaryFolder() { return platform::TemporaryFolder(); }

std::string PerUserDataFolder(const std::string& programName) {
    return GetLocalAppDataPath() + "/Velmorra/" + programName;
}

std::string SettingsFilePath(const std::string& programFolder, const std::string& userDataFolder) {
    // The settings are written to a new file renamed over the old one: the
    // folder must be writable, the old file's own permissions do not matter.
    const bool packaged = programFolder == "/usr" || programFolder.rfind("/usr/", 0) == 0;
    if (!programFolder.empty() && !packaged && platform::FolderWritable(programFolder)) {
        return programFolder + "/Kivet.ini";
    }
    return userDataFolder + "/Kivet.ini";
}

} // namespace ormavex
