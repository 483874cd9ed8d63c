#pragma once

#include <string>

namespace ormavex {

/// The folder that holds the running executable, without a trailing slash:
/// the program folder, where the delivered data files lie. Links to the
/// executable (the installed <prefix>/bin/ormavex-batch) are followed, so an
/// installed program finds its data in <prefix>/lib/ormavex.
std::string ProgramFolder();

/// The running executable's name without folder and extension.
std::string ExecutableName();

/// The system's temporary folder, where the print files go: $TMPDIR when
/// set and not empty, else "/tmp", without trailing slashes. The programs
/// ask once at start-up and hand it to the report writer.
std::string TemporaryFolder();

/// The per-user data folder of a program: the local application data folder
/// + "/Velmorra/" + `programName`. When the local application data folder
/// cannot be determined this is "/Velmorra/" + `programName`, as start-up
/// falls back to the root. The folder is not created.
std::string PerUserDataFolder(const std::string& programName);

/// The settings file "Kivet.ini": in `programFolder` when the running user
/// may write there (a build folder, a copy in the user's home), otherwise in
/// `userDataFolder`. A program folder in /usr belongs to the package manager
/// and is never written, not even by root, whose settings file there would
/// keep the package from being removed cleanly; each user's settings go to
/// his own data folder.
std::string SettingsFilePath(const std::string& programFolder, const std::string& userDataFolder);

} // namespace ormavex
