#pragma once
// The fixed-point numbers of the drawing command file, formatted fast: a
// diagram writes some 300 of them, and the general picture formatter spends
// most of its time parsing the picture and printing through printf.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace ormavex {

/// Appends `value` as FormatNumber formats it with the picture "###0." and
/// `decimals` zeros ("###0.00", "###0.000000"; "###0" for 0 decimals): rounded
/// half away from zero on its 15-significant-digit form, at least one digit
/// before the point, no grouping, "-" when negative and not 0 after rounding.
/// The value must be finite.
void AppendFixedNumber(std::string& out, double value, int decimals);

/// Writes the same characters at `p` and returns their end, when the value
/// lies where they take at most kMaxFixedChars; nullptr (nothing written)
/// for the rare values that need AppendFixedNumber.
char* WriteFixedNumber(char* p, double value, int decimals) noexcept;
inline constexpr int kMaxFixedChars = 24;

namespace fixednumber {

/// The eight decimal digits of `n` (below 10^8), most significant first, as
/// the bytes of the result in memory order: both halves of four digits are
/// split into pairs and the pairs into digits in parallel lanes.
inline std::uint64_t EightDigits(std::uint32_t n) noexcept {
    static_assert(std::endian::native == std::endian::little);
    const std::uint64_t fours = n / 10000 | static_cast<std::uint64_t>(n % 10000) << 32;
    const std::uint64_t hundreds = (fours * 10486 >> 20) & 0x0000007F0000007FULL;
    const std::uint64_t pairs = (fours << 16) - hundreds * ((100 << 16) - 1);
    const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F000F000F000FULL;
    const std::uint64_t digits = (pairs << 8) - tens * ((10 << 8) - 1);
    return digits + 0x3030303030303030ULL;
}

} // namespace fixednumber

/// WriteFixedNumber with 6 decimals, the drawing command file's coordinates,
/// inline: 0 and the common values (1e-5 to below 1000, not within 1e-5 of
/// a half unit) are written here, the rest by WriteFixedNumber.
inline char* WriteFixed6(char* p, double value) noexcept {
    const double a = value < 0.0 ? -value : value;
    const double scaled = a * 1e6;
    if (a >= 1e-5 && scaled < 1e9) {
        const auto whole = static_cast<std::uint64_t>(scaled);
        const double frac = scaled - static_cast<double>(whole);
        const double off = frac - 0.5;
        if (off >= 1e-5 || off <= -1e-5) {
            // As WriteFixedNumber rounds it: half away from zero, and the
            // value is at least 10 units, so "-" whenever it is negative.
            const std::uint64_t units = whole + (frac > 0.5 ? 1 : 0);
            if (value < 0.0) {
                *p++ = '-';
            }
            const auto w = static_cast<std::uint32_t>(units / 1000000);
            char d[8];
            const std::uint64_t low =
                fixednumber::EightDigits(static_cast<std::uint32_t>(units % 100000000));
            std::memcpy(d, &low, 8);
            if (w >= 100) {
                *p++ = static_cast<char>('0' + w / 100);
            }
            if (w >= 10) {
                *p++ = d[0];
            }
            p[0] = d[1];
            p[1] = '.';
            std::memcpy(p + 2, d + 2, 6);
            return p + 8;
        }
    }
    if (a == 0.0) { // the drawing's axes and edges
        std::memcpy(p, "0.000000", 8);
        return p + 8;
    }
    return WriteFixedNumber(p, value, 6);
}

} // namespace ormavex
