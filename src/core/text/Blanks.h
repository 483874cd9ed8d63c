#pragma once
// Blanks around a value, as settings, list and drawing files write them.

#include <string_view>

namespace ormavex {

/// `s` without its leading and trailing blanks and tabs.
constexpr std::string_view TrimBlanks(std::string_view s) noexcept {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace ormavex
