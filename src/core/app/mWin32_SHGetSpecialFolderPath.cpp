#include "mWin32_SHGetSpecialFolderPath.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace ormavex {

namespace {
std::string WithoutTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') {
        s.pop_back();
    }
    return s;
}
} // namespace

std::string GetLocalAppDataPath() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return WithoutTrailingSlash(xdg);
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    if (home.empty() || home[0] != '/') {
        return {};
    }
    return WithoutTrailingSlash(home) + "/.local/share";
}

} // namespace ormavex
