#pragma once
// Figure files: the file a text page names in its figure line. It places one
// or more drawing command files on a figure area:
//   title
//   area width and height (mm, list-print numbers: " 140           160 ")
//   for each drawing: its full path, then its offsets x and y (mm)
//   END
// A point (x, y) of a drawing lies at (x + offset x, y + offset y) on the
// area, measured from the area's lower left corner, y upward.
//
// Guarantees: parsing never throws. The area must be two finite numbers above
// 0 and at most kMaxFigureSideMm, otherwise the figure cannot be placed and
// parsing fails. Missing offsets read as 0, a missing "END" is accepted; both
// add a warning. At most kMaxFigureEntries drawings are kept.

#include <string>
#include <string_view>
#include <vector>

namespace ormavex::render {

struct FigureEntry {
    std::string path;  ///< UTF-8, as written (absolute, or relative to the figure file)
    double offsetX = 0.0;
    double offsetY = 0.0;
};

struct FigureFile {
    std::string title;
    double width = 0.0;
    double height = 0.0;
    std::vector<FigureEntry> entries;
    std::vector<std::string> warnings;
};

inline constexpr double kMaxFigureSideMm = 2000.0;
inline constexpr std::size_t kMaxFigureEntries = 100;
inline constexpr std::size_t kMaxFigureFileBytes = 1u << 20;

/// Parses figure file bytes (Shift_JIS). False with `error` set when the area
/// is missing or unusable, or the file is empty or too large.
bool ParseFigureFile(std::string_view bytes, FigureFile& out, std::string* error);

} // namespace ormavex::render
