#include "FixedNumber.h"

#include "text/NumberPicture.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ormavex {

namespace {

constexpr std::uint64_t kPow10[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL};

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

// The commonest case first: 1e-3 <= |value| < 1e9 with at most 6 decimals.
// The general rule rounds |value| to 15 significant digits and that half away
// from zero to the decimals; the result is the same as rounding |value|
// itself half away from zero whenever the exact |value| x 10^decimals lies
// further than half a unit of the 15th digit from a half-way point, which
// is checked here in exact integer arithmetic. False otherwise (or out of
// range): the callers below then follow the rule step by step.
bool AppendFixedNumberDirect(std::string& out, double value, int decimals) {
    __extension__ typedef unsigned __int128 U128;
    const double a = std::fabs(value);
    if (decimals > 6 || !(a >= 1e-3 && a < 1e9)) {
        return false;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int e2 = static_cast<int>((bits >> 52) & 0x7FF) - 1022;  // a < 2^e2
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 53 - e2;  // a = m / 2^shift, 23 <= shift <= 62
    // The 15th digit's unit is 10^(e10 - 14) with e10 = floor(log10(a)) <=
    // floor(e2 x log10(2)); in units of 10^-decimals it is at least 10^-t.
    const int t = 14 - ((e2 * 78913) >> 18) - decimals;
    if (t < 0 || t > 18) {
        return false;
    }
    const U128 y = static_cast<U128>(m) * kPow10[decimals];  // |value| x 10^decimals x 2^shift
    const auto q = static_cast<std::uint64_t>(y >> shift);
    const auto rem = static_cast<std::uint64_t>(y & ((static_cast<U128>(1) << shift) - 1));
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t gap = rem > half ? rem - half : half - rem;
    // gap / 2^shift > 10^-t / 2, that is 2 x gap x 10^t > 2^shift
    if (static_cast<U128>(gap) * (2 * kPow10[t]) <= (static_cast<U128>(1) << shift)) {
        return false;
    }
    AppendUnits(out, value < 0.0, q + (rem > half ? 1 : 0), decimals);
    return true;
}

// The same digits as the general path below for the numbers a drawing holds
// (0, or 1e-5 <= |value| < 1e9, at most 6 decimals), in integer arithmetic
// without a temporary string. False for any other number, which then takes
// the general path.
bool AppendFixedNumberFast(std::string& out, double value, int decimals) {
    const double a = std::fabs(value);
    if (decimals > 6 || !(a == 0.0 || (a >= 1e-5 && a < 1e9))) {
        return false;
    }
    std::uint64_t rounded = 0;  // the result in units of 10^-decimals
    if (a != 0.0) {
        std::uint64_t d = 0;  // the 15 significant digits
        int exp10 = 0;
        SignificantDigits15(a, d, exp10);
        // Keep the digits down to 10^-decimals, half away from zero on the
        // first digit dropped.
        const int keep = exp10 + 1 + decimals;
        if (keep >= 15) {
            rounded = d * kPow10[keep - 15];
        } else if (keep >= 0) {
            rounded = d / kPow10[15 - keep];
            if ((d / kPow10[14 - keep]) % 10 >= 5) {
                ++rounded;
            }
        }
    }
    AppendUnits(out, value < 0.0, rounded, decimals);
    return true;
}

} // namespace

void AppendFixedNumber(std::string& out, double value, int decimals) {
    assert(std::isfinite(value) && decimals >= 0 && decimals <= 15);
    if (AppendFixedNumberDirect(out, value, decimals) ||
        AppendFixedNumberFast(out, value, decimals)) {
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
