#pragma once
// Start of an external program.

#include <string>
#include <variant>
#include <vector>

namespace ormavex {

class CSystem {
public:
    /// An optional argument as the caller gives it: missing, a number, a
    /// boolean or a text (a text counts when it is numeric, or "True"/"False").
    using Option = std::variant<std::monostate, double, bool, std::string>;

    /// Starts `Command`, a full command line split into arguments as a Windows
    /// command line is (blanks separate, double quotes group and are removed,
    /// backslashes escape a double quote); the first argument names the
    /// program, looked up in PATH when it has no slash. The program is started
    /// directly, never through a shell, with the caller's environment and
    /// folder. `WindowStyle` must be missing or numeric and
    /// `WaitForCompletion` missing, numeric or boolean, otherwise nothing is
    /// started. When `WaitForCompletion` is true the call waits until the
    /// program ends. A failure to start is not reported.
    static void Shell(const std::string& Command, const Option& WindowStyle = {},
                      const Option& WaitForCompletion = {});

    /// The arguments of a Windows-style command line.
    static std::vector<std::string> SplitCommandLine(const std::string& commandLine);
};

} // namespace ormavex
