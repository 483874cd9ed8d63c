#pragma once
// The paths the application works with, fixed at start-up.

#include <string>

namespace ormavex::gui {

struct AppPaths {
    std::string programFolder;  ///< the executable's folder, also where the data files lie
    std::string settingsFile;   ///< "Kivet.ini", see SettingsFilePath (app/ProgramFolder.h)
    std::string formatFile;     ///< programFolder + "/Kivet.fmt"
    std::string userDataFolder; ///< local application data + "/Velmorra/" + executable name

    /// The paths of a program in `programFolder` named `executableName`, with
    /// the per-user folder under `localAppData`. Creates `localAppData`,
    /// "Velmorra" and the per-user folder when they are missing (failures
    /// ignored).
    static AppPaths Make(const std::string& programFolder, const std::string& executableName,
                         const std::string& localAppData);
};

} // namespace ormavex::gui
