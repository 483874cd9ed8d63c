#pragma once
// The paths the application works with, fixed at start-up.

#include <string>

namespace ormavex::gui {

struct AppPaths {
    std::string programFolder;   ///< the executable's folder, also where the data files lie
    std::string settingsFile;    ///< "Kivet.ini", see ChooseSettingsFile
    std::string formatFile;      ///< programFolder + "/Kivet.fmt"
    std::string userDataFolder;  ///< local application data + "/Velmorra/" + executable name

    /// The paths of a program in `programFolder` named `executableName`, with
    /// the per-user folder under `localAppData`. Creates "Velmorra" and the
    /// per-user folder when they are missing (failures ignored).
    static AppPaths Make(const std::string& programFolder, const std::string& executableName,
                         const std::string& localAppData);
};

/// "Kivet.ini" in the program folder when that folder can be written (and the
/// file, if present, too); otherwise "Kivet.ini" in the per-user data folder,
/// so that settings are kept on systems whose program folder is read-only.
std::string ChooseSettingsFile(const std::string& programFolder, const std::string& userDataFolder);

} // namespace ormavex::gui
