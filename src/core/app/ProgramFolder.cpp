#include "ProgramFolder.h"

#include <filesystem>

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

} // namespace ormavex
