#include "FixedNumber.h"

#include "text/NumberPicture.h"

#include <cassert>
#include <cmath>
#include <cstdint>

namespace ormavex {

namespace {

constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// Writes `units` x 10^-decimals (0 to 6 decimals) at `out`: "-" when
// `negative`, at least one digit before the point, the decimals after it.
// Returns the end.
template <int decimals> char* WriteUnits(char* out, bool negative, std::uint64_t units) noexcept {
    // Divisions by constants: multiplications.
    std::uint64_t whole = units / kPow10[decimals];
    std::uint64_t frac = units % kPow10[decimals];
    int wholeDigits = 1;
    for (std::uint64_t w = whole; w >= 10; w /= 10) {
        ++wholeDigits;
    }
    if (negative) {
        *out++ = '-';
    }
    char* const end = out + wholeDigits + (decimals > 0 ? 1 + decimals : 0);
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + frac % 10);
        frac /= 10;
    }
    if (decimals > 0) {
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    return end;
}

} // namespace

void AppendFixedNumber(std::string& out, double value, int decimals) {
    char buf[kMaxFixedChars];
    if (char* end = WriteFixedNumber(buf, value, decimals)) {
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
    if (!RoundToUnits(std::fabs(value), decimals, units)) {
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
