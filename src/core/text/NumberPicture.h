#pragma once
// Number pictures ("##,##0", "####0.00", "###0.00\, ", "\Ｌ\x\ \＝\ ##0.00\ｍ")
// and the list-print number form of the drawing files.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

/// The 15 significant digits of `a` (finite, greater than 0), correctly
/// rounded, ties to even, as printf's "%.14e" gives them: `digits` from 10^14
/// to 10^15 - 1 and `exp10` the decimal exponent of the first digit, so that
/// a is about digits x 10^(exp10 - 14).
void SignificantDigits15(double a, std::uint64_t& digits, int& exp10);

/// `a` (0, or 1e-5 <= a < 1e9) rounded as the number pictures round it, in
/// units of 10^-decimals (0 to 6 decimals): to 15 significant digits, then
/// half away from zero. False, touching nothing, for any other `a` or
/// `decimals`.
bool RoundToUnits(double a, int decimals, std::uint64_t& units);

/// Formats a number with a picture, as the system's number pictures do:
/// - the first run of "#", "0", "," and "." is the number: "0" is a digit always
///   shown, "#" one shown only when significant, "," in the integer part asks
///   for grouping by thousands, the placeholders after "." give the decimals;
/// - every other character is literal text; "\" makes the next character
///   literal even when it is a placeholder;
/// - the value is rounded half away from zero on its 15-significant-digit
///   decimal form (1.005 with "0.00" gives "1.01");
/// - a negative value (one that is not 0 after rounding) gets a "-" in front of
///   the whole result.
/// No padding is added: "##0.00" formats 3.5 as "3.50".
std::string FormatNumber(double value, std::string_view picture);

/// One number as a list print writes it: its shortest decimal form of at most
/// 15 significant digits, no zero before the decimal point when its magnitude
/// is below 1 (.5, -.25), a blank in front when it is not negative, and one
/// blank behind: " 140 ", "-62.65 ".
std::string ListPrintNumber(double value);

/// A list-print line of numbers separated by commas in the print list: each
/// number after the first starts at the first column 14k + 1 (k >= 1, columns
/// from 1) behind the end of the text before it. {140, 160} gives
/// " 140           160 ".
std::string ListPrintLine(const std::vector<double>& values);

} // namespace ormavex
