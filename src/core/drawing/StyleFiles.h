#pragma once
// The two style files of the program folder: LINE_PRN.DEF (line styles) and
// STR_PRN.DEF (text styles). The drawing writer measures texts with the text
// styles' heights; the renderer paints with both.
//
// After a first line that is skipped whole, a file is a sequence of fields in
// list-input form: separated by commas or line ends, blanks around a field
// ignored, a text optionally in double quotes, empty lines carrying no field.
// Only the sequence matters, not how the records are spread over lines. Each
// record begins with a key, read as text and dropped; the key "END" (exact)
// ends the table:
//   LINE_PRN.DEF  key, pen width (1/100 mm), dash pattern code, comment
//   STR_PRN.DEF   key, face code, face name, character height (twips),
//                 weight (400 normal, 700 bold), italic (0/1), character
//                 spacing (twips), comment
// A whole-number field is a number as a whole (blanks around it allowed),
// rounded to the nearest integer, a half to the even one; any other field,
// and a number outside the 32-bit range, reads as 0.
//
// Reading never throws and keeps every complete record; whether the file
// reached "END" is part of the result. What a missing "END" or too many
// records mean is the caller's business.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

/// A record of LINE_PRN.DEF.
struct LineStyle {
    std::int32_t width = 18; ///< pen width, 1/100 mm
    /// 0 solid, 1 dashed, 2 dotted, 3 chain (dash-dot), 4 two-dot chain.
    std::int32_t dash = 0;
};

/// A record of STR_PRN.DEF.
struct TextStyle {
    std::int32_t face = 1;
    std::string fontName;
    std::int32_t height = 180; ///< character height, twips
    std::int32_t weight = 400;
    std::int32_t italic = 0;
    std::int32_t spacing = 0; ///< twips
};

/// The records of a style file in file order (style n is records[n - 1]).
template <typename Style> struct StyleFile {
    std::vector<Style> records;
    /// The key "END" was read. False: the file ended first, and a record it
    /// cut short is not in `records`.
    bool ended = false;
};

/// twips / 1440 x 25.4 (divided first, then multiplied): a character height in mm.
inline double TwipsToMm(std::int32_t twips) noexcept {
    return static_cast<double>(twips) / 1440.0 * 25.4;
}

StyleFile<LineStyle> ParseLineStyles(std::string_view bytes);
StyleFile<TextStyle> ParseTextStyles(std::string_view bytes);

} // namespace ormavex
