#include "core/drawing/FixedNumber.h"

#include "core/text/NumberPicture.h"

#include <cassert>
#include <cmath>
#include <cstdint>

namespace ormavex {

namespace {

constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// "00" to "99".
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536"
    "373839404142434445464748495051525354555657585960616263646566676869707172"
    "7374757677787980818283848586878889909192939495969798"
    "99";

// Writes the `digits` last digits of `v` ending at `end`, two at a time.
inline void WriteDigits(char* end, std::uint32_t v, int digits) noexcept {
    for (; digits >= 2; digits -= 2) {
        const std::uint32_t pair = v % 100;
        v /= 100;
        end -= 2;
        end[0] = kPairs[2 * pair];
        end[1] = kPairs[2 * pair + 1];
    }
    if (digits == 1) {
        *--end = static_cast<char>('0' + v % 10);
    }
}

// Writes `units` x 10^-decimals (0 to 6 decimals, below 10^9 before the
// point) at `out`: "-" when `negative`, at least one digit before the point,
// the decimals after it. Returns the end.
template <int decimals> char* WriteUnits(char* out, bool negative, std::uint64_t units) noexcept {
    // Both parts fit 32 bits; divisions by constants are multiplications.
    const auto whole = static_cast<std::uint32_t>(units / kPow10[decimals]);
    const auto frac = static_cast<std::uint32_t>(units % kPow10[decimals]);
    int wholeDigits = 1;
    for (std::uint32_t w = whole; w >= 10; w /= 10) {
        ++wholeDigits;
    }
    if (negative) {
        *out++ = '-';
    }
    WriteDigits(out + wholeDigits, whole, wholeDigits);
    out += wholeDigits;
    if constexpr (decimals > 0) {
        *out++ = '.';
        WriteDigits(out + decimals, frac, decimals);
        out += decimals;
    }
    return out;
}

// The commonest case, rounded in double arithmetic: a x 10^decimals below
// 10^9, its fraction not within 1e-5 of one half. The product is then off by
// less than 1e-7 of a unit and the 15-significant-digit step moves it by at
// most half of 1e-6 of a unit, so neither can carry it across the half-way
// point: rounding it half away from zero gives what the rule gives. False
// for anything else, which goes the exact way.
inline bool NearestUnits(double a, int decimals, std::uint64_t& units) noexcept {
    const double scaled = a * static_cast<double>(kPow10[decimals]);
    if (!(a >= 1e-5 && scaled < 1e9)) {
        return false;
    }
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double frac = scaled - static_cast<double>(whole);
    if (std::fabs(frac - 0.5) < 1e-5) {
        return false;
    }
    units = whole + (frac > 0.5 ? 1 : 0);
    return true;
}

} // namespace

void AppendFixedNumber(std::string& out, double value, int decimals) {
    char buf[kMaxFixedChars];
    if (char* end =
            decimals == 6 ? WriteFixed6(buf, value) : WriteFixedNumber(buf, value, decimals)) {
        out.append(buf, static_cast<std::size_t>(end - buf));
        return;
    }
    // Below 1e-5 or from 1e9 on (rare in a drawing): the picture formatter.
    out += FormatNumber(value, decimals > 0 ? "###0." + std::string(decimals, '0') : "###0");
}

char* WriteFixedNumber(char* p, double value, int decimals) noexcept {
    assert(std::isfinite(value) && decimals >= 0 && decimals <= 15);
    std::uint64_t units = 0;
    // Only 0 to 6 decimals are rounded here; below 1e9 with at most 6 decimals: at most 17
    // characters.
    const double a = std::fabs(value);
    if (decimals > 6 || !(NearestUnits(a, decimals, units) || RoundToUnits(a, decimals, units))) {
        return nullptr;
    }
    const bool negative = value < 0.0 && units != 0;
    switch (decimals) {
    case 0: return WriteUnits<0>(p, negative, units);
    case 1: return WriteUnits<1>(p, negative, units);
    case 2: return WriteUnits<2>(p, negative, units);
    case 3: return WriteUnits<3>(p, negative, units);
    case 4: return WriteUnits<4>(p, negative, units);
    case 5: return WriteUnits<5>(p, negative, units);
    default: return WriteUnits<6>(p, negative, units);
    }
}

} // namespace ormavex
