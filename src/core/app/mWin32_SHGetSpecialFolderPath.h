#pragma once
// The per-user folder for application data.

#include <string>

namespace ormavex {

/// The current user's local application data folder without a trailing
/// slash: $XDG_DATA_HOME when set to an absolute path, else ~/.local/share.
/// Empty when neither can be determined. The folder is not created.
std::string GetLocalAppDataPath();

} // namespace ormavex
