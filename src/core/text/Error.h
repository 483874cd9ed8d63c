#pragma once
// The one error type of the core.
//
// An Error carries a readable message (what() and message(), exactly the
// text a window or the command line shows), a numeric code and, when a file
// is involved, that file's path. The code is the system's own number where
// one is shown to the user or tested by a caller (a project file error code,
// a settings error), otherwise the errno of the failed call, or 0.
//
// It is used in two ways, and only these:
//  - an operation that is raised to its caller (the report writer, the
//    diagrams, the coefficient tables, the file readers and writers) throws
//    it, and the place that handles the failure (the page, the run, the
//    window, main()) catches it;
//  - an operation that returns a success flag fills an Error passed by the
//    caller instead, and lets nothing escape.
// Programming mistakes are asserts, never Errors.

#include <stdexcept>
#include <string>
#include <utility>

namespace ormavex {

class Error : public std::runtime_error {
public:
    /// No failure: empty message, code 0, no path (an out-parameter's start).
    Error() : std::runtime_error(std::string()) {}
    explicit Error(const std::string& message, int code = 0, std::string path = {})
        : std::runtime_error(message), m_code(code), m_path(std::move(path)) {}

    const char* message() const noexcept { return what(); }
    int code() const noexcept { return m_code; }
    /// The file the failure concerns; empty when none.
    const std::string& path() const noexcept { return m_path; }

private:
    int m_code = 0;
    std::string m_path;
};

} // namespace ormavex
