#include "core/app/mWin32_SHGetSpecialFolderPath.h"

#include "core/platform/Platform.h"

namespace ormavex {

std::string GetLocalAppDataPath() { return platform::LocalAppDataFolder(); }

} // namespace ormavex
