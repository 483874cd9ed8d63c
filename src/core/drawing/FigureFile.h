#pragma once
// The figure file: the file a text page names in its figure line. It places
// one or more drawing command files on a figure area:
//   title
//   area width and height (mm), as a list print writes them: " 140           160 "
//   for each drawing: its full path, then its offsets x and y (mm), the same way
//   END
// A point (x, y) of a drawing lies at (x + offset x, y + offset y) on the
// area, measured from the area's lower left corner, y upward.
//
// Writing refuses an area or offset that is not finite (Error, nothing
// returned). Reading never throws: the area must be two finite numbers above
// 0 and at most kMaxFigureSideMm, otherwise the figure cannot be placed and
// reading fails. Missing offsets read as 0, a missing "END" is accepted; both
// add a warning. At most kMaxFigureEntries drawings are kept.

#include "core/text/Error.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

inline constexpr double kMaxFigureSideMm = 2000.0;
inline constexpr std::size_t kMaxFigureEntries = 100;
inline constexpr std::size_t kMaxFigureFileBytes = 1u << 20;

struct FigureFile {
    /// One drawing placed on the area.
    struct Entry {
        std::string path; ///< UTF-8, as written (absolute, or relative to the figure file)
        double offsetX = 0.0;
        double offsetY = 0.0;
    };

    std::string title;
    double width = 0.0;
    double height = 0.0;
    std::vector<Entry> entries;
    /// What reading passed over, one line each.
    std::vector<std::string> warnings;
};

/// The file's text (UTF-8; the caller converts it to Shift_JIS). Throws Error
/// for an area or offset that is not finite.
std::string FigureFileText(const FigureFile& file);

/// Reads figure file bytes (Shift_JIS). False with `error` set when the area
/// is missing or unusable, or the file is empty or too large.
bool ParseFigureFile(std::string_view bytes, FigureFile& out, Error* error);

} // namespace ormavex
