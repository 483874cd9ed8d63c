#pragma once
// The fixed-point numbers of the drawing command file, formatted fast: a
// diagram writes some 300 of them, and the general picture formatter spends
// most of its time parsing the picture and printing through printf.

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

} // namespace ormavex
