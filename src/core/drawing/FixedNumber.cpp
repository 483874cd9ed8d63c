#include "FixedNumber.h"

#include "text/NumberPicture.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ormavex {

namespace {

// Appends `units` x 10^-decimals: "-" when negative and not 0, at least one
// digit before the point, the decimals after it.
void AppendUnits(std::string& out, bool negative, std::uint64_t units, int decimals) {
    if (negative && units != 0) {
        out += '-';
    }
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) {
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    out.append(p, static_cast<std::size_t>(end - p));
}

} // namespace

void AppendFixedNumber(std::string& out, double value, int decimals) {
    assert(std::isfinite(value) && decimals >= 0 && decimals <= 15);
    std::uint64_t units = 0;
    if (RoundToUnits(std::fabs(value), decimals, units)) {
        AppendUnits(out, value < 0.0, units, decimals);
        return;
    }
    // The 15 significant digits of |value|, correctly rounded, and the
    // position of its decimal point.
    char sci[32];
    const auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(value),
                                   std::chars_format::scientific, 14);
    // sci: "d.dddddddddddddde[+-]XX"
    char digits[15];
    digits[0] = sci[0];
    for (int i = 1; i < 15; ++i) {
        digits[i] = sci[i + 1];
    }
    // to_chars writes no terminating NUL: read the exponent up to res.ptr.
    int exp10 = 0;
    std::from_chars(sci + 18, res.ptr, exp10);
    if (sci[17] == '-') {
        exp10 = -exp10;
    }
    const bool zeroValue = value == 0.0;

    // Keep the digits down to 10^-decimals, rounding the rest half away from
    // zero. `kept` holds them from 10^(pointPos - 1) downward.
    int pointPos = zeroValue ? 1 : exp10 + 1;
    const int keep = pointPos + decimals;
    std::string kept;
    if (zeroValue || keep < 0) {
        kept.clear();
    } else if (keep >= 15) {
        kept.assign(digits, 15);
        kept.append(static_cast<std::size_t>(keep - 15), '0');
    } else {
        kept.assign(digits, static_cast<std::size_t>(keep));
        if (digits[keep] >= '5') {
            int k = keep - 1;
            while (k >= 0 && kept[static_cast<std::size_t>(k)] == '9') {
                kept[static_cast<std::size_t>(k)] = '0';
                --k;
            }
            if (k >= 0) {
                ++kept[static_cast<std::size_t>(k)];
            } else {
                kept.insert(kept.begin(), '1');
            }
        }
    }
    if (kept.size() < static_cast<std::size_t>(decimals) + 1) {
        kept.insert(0, static_cast<std::size_t>(decimals) + 1 - kept.size(), '0');
    }
    const std::size_t intLen = kept.size() - static_cast<std::size_t>(decimals);
    std::size_t first = 0;  // drop leading zeros, keep one integer digit
    while (first + 1 < intLen && kept[first] == '0') {
        ++first;
    }
    if (value < 0.0 && kept.find_first_not_of('0') != std::string::npos) {
        out += '-';
    }
    out.append(kept, first, intLen - first);
    if (decimals > 0) {
        out += '.';
        out.append(kept, intLen, std::string::npos);
    }
}

} // namespace ormavex
