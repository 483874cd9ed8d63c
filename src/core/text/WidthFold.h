#pragma once
// Full-width and half-width forms as a Japanese keyboard types them, folded
// to the usual forms before a typed or pasted value is checked: full-width
// letters, digits and signs ("１５０．５", "－") become ASCII, the
// ideographic space a blank, and half-width katakana ("ﾀｲﾌﾟ") full-width
// katakana, a following voiced or semi-voiced mark joined to its kana
// ("ﾌﾟ" -> "プ"). On these characters this is exactly Unicode NFKC; every
// other character is kept as it is.

#include <string>
#include <string_view>

namespace ormavex {

/// `utf8` with the full-width and half-width forms folded.
std::string FoldWidth(std::string_view utf8);

} // namespace ormavex
