#pragma once
// The text side of the printed report: the lists of temporary print files of
// one report run and the writer of text print files.
//
// Text print file: Shift_JIS lines ended by CR LF; a page break is a form feed
// (code 12) without line end; "?R1"/"?R2" mark level 1/2 headings; a figure
// line "  ?FG;000;000;" + the path of a figure file places a drawing.

#include <array>
#include <stdexcept>
#include <string>

namespace ormavex {

/// A failure inside the report writer or a diagram (list full, section
/// missing, bad template line, file error, a value that cannot be formed).
/// It ends the current page, which then reports failure.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const std::string& what) : std::runtime_error(what) {}
};

inline constexpr int MaxTextPrintFiles = 20;
inline constexpr int MaxDrawingPrintFiles = 297;

/// The print files of one report run, in creation order (positions from 0).
struct PrintFileLists {
    std::array<std::string, MaxTextPrintFiles> text;
    int textCount = 0;
    std::array<std::string, MaxDrawingPrintFiles> drawing;
    int drawingCount = 0;
};

/// A new, unique, empty file "~MT" + a unique part + ".tmp" in the temporary
/// folder ($TMPDIR, else /tmp), created with mkstemps (never a predictable
/// name). Throws ReportError when it cannot be created.
std::string MakeTempFileName();

/// Makes a temporary file, appends it to the text print file list and empties
/// it. Throws ReportError when the list is full (a 21st file) or on a file error.
std::string NewTextPrintFile(PrintFileLists& lists);

/// Makes a temporary file and appends it to the drawing print file list; the
/// drawing writer fills it. Throws ReportError when the list is full (a 298th).
std::string NewDrawingPrintFile(PrintFileLists& lists);

} // namespace ormavex
