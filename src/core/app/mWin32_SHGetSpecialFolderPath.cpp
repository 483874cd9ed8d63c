#include "mWin32_SHGetSpecialFolderPath.h"

#include "platform/Platform.h"

namespace ormavex {

std::string GetLocalAppDataPath() { return platform::LocalAppDataFolder(); }

} // namespace ormavex
