#pragma once
// Helpers shared by the fuzz harnesses: a private scratch folder for the
// readers that take a path, and a check that stops the run with a message.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace ormavex::fuzz {

/// A folder of this process, made on first use and kept for the run.
const std::string& ScratchFolder();

/// Writes `bytes` as the whole file `path`; aborts when it cannot.
void WriteWhole(const std::string& path, std::string_view bytes);

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace ormavex::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            ::ormavex::fuzz::Fail(#cond);                                                          \
        }                                                                                          \
    } while (false)
