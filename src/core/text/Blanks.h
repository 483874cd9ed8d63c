#pragma once
// Blanks around a value and the letter case of a name, as settings, list and
// drawing files write them.

#include <algorithm>
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

/// True when `a` and `b` differ at most in the case of ASCII letters.
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) noexcept {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace ormavex
