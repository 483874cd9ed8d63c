#include "core/text/LeadingNumber.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace ormavex {

namespace {

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Collects the longest numeric prefix (blanks removed) into `out`; returns the
// position in `text` just behind it.
std::size_t NumericPrefix(std::string_view text, std::string& out) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            out += '-';
        }
        ++i;
    }
    bool digits = false;
    bool point = false;
    std::size_t end = i;
    for (;;) {
        skipBlanks();
        if (i >= text.size()) {
            break;
        }
        char c = text[i];
        if (IsDigit(c)) {
            out += c;
            digits = true;
            ++i;
            end = i;
        } else if (c == '.' && !point) {
            // from_chars wants a digit before the point: ".5" is read as "0.5"
            out += digits ? "." : "0.";
            point = true;
            ++i;
            end = i;
        } else {
            break;
        }
    }
    if (!digits) {
        out.clear();
        return 0;
    }
    // Exponent: E or D, optional sign, at least one digit.
    std::size_t j = i;
    if (j < text.size() && (text[j] == 'E' || text[j] == 'e' || text[j] == 'D' || text[j] == 'd')) {
        ++j;
        std::string exp = "e";
        while (j < text.size() && IsBlank(text[j])) {
            ++j;
        }
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exp += text[j];
            ++j;
        }
        bool expDigits = false;
        for (;;) {
            while (j < text.size() && IsBlank(text[j])) {
                ++j;
            }
            if (j < text.size() && IsDigit(text[j])) {
                exp += text[j];
                expDigits = true;
                ++j;
            } else {
                break;
            }
        }
        if (expDigits) {
            out += exp;
            end = j;
        }
    }
    return end;
}

double Convert(const std::string& s) noexcept {
    double v = 0.0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large gives an infinite value (refused by the callers that
        // compute with it), too small gives zero.
        const std::size_t e = s.find('e');
        const bool tiny = e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
        const bool negative = !s.empty() && s[0] == '-';
        v = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return v;
}

// A plain decimal ("-12.345", "0.0020111", "7"): at most 19 digits whose
// value is below 2^53 and at most 22 decimals. Its value is then the digits
// as an integer divided by a power of ten, both exact in a double, so the one
// division rounds correctly, exactly as from_chars does. False for any other
// text, which then takes the general path.
bool ParsePlainDecimal(std::string_view text, double& value) noexcept {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            if (++digits > 19) {
                return false;
            }
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || decimals > 22 || mantissa > (std::uint64_t{1} << 53)) {
        return false;
    }
    const double v = static_cast<double>(mantissa) / kPow10[decimals];
    value = negative ? -v : v;
    return true;
}

} // namespace

// LeadingNumber and ParseNumber can only fail by running out of memory for
// the copy of the numeric prefix; being noexcept, that ends the program.
double LeadingNumber(std::string_view text) noexcept {
    std::string s;
    NumericPrefix(text, s);
    return s.empty() ? 0.0 : Convert(s);
}

bool ParseNumber(std::string_view text, double& value) noexcept {
    if (ParsePlainDecimal(text, value)) {
        return true; // no blanks around it, nothing but a plain decimal
    }
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) {
        ++b;
    }
    while (e > b && IsBlank(text[e - 1])) {
        --e;
    }
    text = text.substr(b, e - b);
    if (text.empty()) {
        return false;
    }
    if (ParsePlainDecimal(text, value)) {
        return true;
    }
    // No blanks inside a whole number.
    for (char c : text) {
        if (IsBlank(c)) {
            return false;
        }
    }
    std::string s;
    std::size_t end = NumericPrefix(text, s);
    if (s.empty() || end != text.size()) {
        return false;
    }
    value = Convert(s);
    return true;
}

bool RoundToInt32(double value, std::int32_t& result) noexcept {
    if (!std::isfinite(value)) {
        return false;
    }
    double r = std::nearbyint(value); // default rounding mode: half to even
    if (r < -2147483648.0 || r > 2147483647.0) {
        return false;
    }
    result = static_cast<std::int32_t>(r);
    return true;
}

} // namespace ormavex
