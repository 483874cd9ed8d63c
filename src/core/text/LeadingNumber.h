#pragma once
// Conversions of text to numbers used throughout the system.

#include <cstdint>
#include <string_view>

namespace ormavex {

/// The leading-number rule: the longest numeric prefix of the text, "." as the
/// decimal point, blanks, tabs and line feeds skipped wherever they stand, an
/// optional sign and an optional exponent ("1E-05"); 0 when there is no number.
/// "12abc" gives 12, " - 1 .5" gives -1.5, "abc" gives 0.
double LeadingNumber(std::string_view text) noexcept;

/// Parses a text that is a number as a whole (blanks around it allowed).
/// Returns false when anything other than one number is present.
bool ParseNumber(std::string_view text, double& value) noexcept;

/// Rounds to the nearest whole number, a half to the even neighbour, and
/// checks the 32-bit range. Returns false for a value that does not fit or is
/// not finite.
bool RoundToInt32(double value, std::int32_t& result) noexcept;

} // namespace ormavex
