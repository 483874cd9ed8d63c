#pragma once
// The outermost frame of every program's main(): a failure that escapes the
// program's own handling (an Error nobody caught, std::bad_alloc, anything)
// ends the program with one line on stderr and an exit code of its own,
// instead of an abort. No Qt here: ormavex-batch uses it too.

#include <exception>
#include <functional>
#include <iostream>
#include <string>

namespace ormavex::apps {

/// Exit code of a program stopped by a failure nothing handled; free in every
/// program (ormavex-batch ends with 0 to 6, ormavex-preview with 0 to 3).
inline constexpr int kUnhandledFailureExit = 7;

/// Returns what `work` returns. A failure escaping it is written to stderr as
/// "PROGRAM: stopped by an unexpected failure: WHAT" on one line, handed to
/// `show` when given (a window's message box), and kUnhandledFailureExit is
/// returned.
template <typename Work>
int CatchAll(const char* program, Work&& work,
             const std::function<void(const std::string&)>& show = {}) {
    std::string what;
    try {
        return work();
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "an exception of unknown type";
    }
    for (char& c : what) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    const std::string line = std::string(program) + ": stopped by an unexpected failure: " + what;
    std::cerr << line << std::endl;
    if (show) {
        show(line);
    }
    return kUnhandledFailureExit;
}

} // namespace ormavex::apps
