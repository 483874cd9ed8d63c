#pragma once
// The outermost frame of every program's main(): a failure that nothing in
// the program handled (an Error, std::bad_alloc, anything) ends it with one
// line on stderr and an exit code of its own instead of an abort. No Qt here:
// ormavex-batch uses it too.

#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

namespace ormavex::apps {

/// Free in every program: ormavex-batch ends with 0 to 6, ormavex-preview 0 to 3.
inline constexpr int kUnhandledFailureExit = 7;

using ShowFailure = std::function<void(const std::string& line)>;

/// What `work()` returns. A failure escaping it is written to stderr as one
/// line, "PROGRAM: stopped by an unexpected failure: WHAT", handed to `show`
/// when given (a message box), and kUnhandledFailureExit is returned.
template <typename Work>
int CatchAll(const char* program, Work&& work, const ShowFailure& show = {}) {
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

/// The same for a windowed program: `run` makes its application object in
/// `app` (on main's `argc`, which it refers to), and `app` lives on here so
/// that `show` can still put up a message box.
template <typename App>
int CatchAll(const char* program, int& argc, char** argv,
             int (*run)(int& argc, char** argv, std::optional<App>& app), const ShowFailure& show) {
    std::optional<App> app;
    auto work = [&] { return run(argc, argv, app); };
    return CatchAll(program, work, show);
}

} // namespace ormavex::apps
