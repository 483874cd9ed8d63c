#include "ProgramFolder.h"

#include "mWin32_SHGetSpecialFolderPath.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace ormavex {

namespace {
std::filesystem::path ExecutablePath() {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) / "ormavex" : p;
}
} // namespace

std::string ProgramFolder() { return ExecutablePath().parent_path().string(); }

std::string ExecutableName() { return ExecutablePath().stem().string(); }

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string PerUserDataFolder(const std::string& programName) {
    return GetLocalAppDataPath() + "/Velmorra/" + programName;
}

std::string SettingsFilePath(const std::string& programFolder, const std::string& userDataFolder) {
    // The settings are written to a new file renamed over the old one: the
    // folder must be writable, the old file's own permissions do not matter.
    const bool packaged = programFolder == "/usr" || programFolder.rfind("/usr/", 0) == 0;
    if (!programFolder.empty() && !packaged && ::access(programFolder.c_str(), W_OK | X_OK) == 0) {
        return programFolder + "/Kivet.ini";
    }
    return userDataFolder + "/Kivet.ini";
}

} // namespace ormavex
