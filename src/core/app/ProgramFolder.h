#pragma once

#include <string>

namespace ormavex {

/// The folder that holds the running executable, without a trailing slash:
/// the program folder, where the delivered data files lie.
std::string ProgramFolder();

/// The running executable's name without folder and extension.
std::string ExecutableName();

} // namespace ormavex
