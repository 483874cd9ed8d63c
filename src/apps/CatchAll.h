#pragma once
// The outermost frame of every program's main(): a failure nothing in the
// program handled (an Error, std::bad_alloc, anything) ends it with one line
// on stderr and an exit code of its own instead of an abort. No Qt here:
// ormavex-batch uses it too. In the windowed programs a failure that leaves
// an event handler passes Qt's event loop first, which may print a warning
// of its own before this line.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace ormavex::apps {

/// Free in every program: ormavex-batch ends with 0 to 6, ormavex-preview 0 to 3.
inline constexpr int kUnhandledFailureExit = 7;

/// What `work()` returns. A failure escaping it is written to stderr as one
/// line, "PROGRAM: stopped by an unexpected failure: WHAT", handed to `show`
/// when given (a message box), and kUnhandledFailureExit is returned.
template <typename Work>
int CatchAll(const char* program, Work&& work, void (*show)(const std::string&) = nullptr) {
    std::string what = "an exception of unknown type";
    try {
        return work();
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        // not a std::exception: `what` says so
    }
    std::replace(what.begin(), what.end(), '\n', ' ');
    const std::string line = std::string(program) + ": stopped by an unexpected failure: " + what;
    std::fputs((line + "\n").c_str(), stderr); // stdio: no C++ stream set-up in ormavex-batch
    std::fflush(stderr);
    if (show != nullptr) {
        show(line);
    }
    return kUnhandledFailureExit;
}

/// The same for a windowed program: `run` makes its application object in
/// `app` (on main's `argc`), which lives on here for `show`'s message box.
template <typename App>
int CatchAll(const char* program, int& argc, char** argv,
             int (*run)(int& argc, char** argv, std::optional<App>& app),
             void (*show)(const std::string&)) {
    std::optional<App> app;
    auto work = [&] { return run(argc, argv, app); };
    return CatchAll(program, work, show);
}

} // namespace ormavex::apps
