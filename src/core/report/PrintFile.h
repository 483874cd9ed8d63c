#pragma once
// Text print files: their control codes, written by the report writer, and
// their reading as a sequence of printable lines, for the renderer.
//
// A text print file is Shift_JIS text with CR LF line ends. A form feed
// (code 12) is a page break wherever it stands; the next line begins right
// behind it. Control codes count only on a line that starts a physical line
// or follows a form feed standing first on its physical line: a form feed
// inside a line never makes the text behind it a control line. After a
// line's leading blanks, "?R1" or "?R2" marks a level 1 or
// 2 heading (the code itself is not printed), and "?FG;000;000;" followed by a
// path makes the line a figure line that places that figure file.
//
// Columns: one Shift_JIS byte is one column, so a half-width character takes
// one column and a double-byte character two. Control characters print as
// blanks; a byte that starts no valid character prints as "?" in one column.
//
// Guarantees: parsing never throws and takes time linear in the input. Only
// the first kMaxColumns columns of a line are kept; after kMaxLines lines the
// rest of the file is dropped and `truncated` is set.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex::printfile {

/// A page break wherever it stands.
inline constexpr char kFormFeed = '\f';
inline constexpr std::string_view kPageBreak = "\f";
/// After a line's leading blanks: the line is a level 1 or 2 heading.
inline constexpr std::string_view kHeading1 = "?R1";
inline constexpr std::string_view kHeading2 = "?R2";
/// After a line's leading blanks: the line places the figure file whose path
/// follows; the two fields closed by ";" are always written as "000".
inline constexpr std::string_view kFigure = "?FG;";
inline constexpr std::string_view kFigurePlacement = "?FG;000;000;";

/// Characters printed from one column on, without blanks inside.
struct TextRun {
    int column = 0;   ///< 0-based column of the first character
    std::string text; ///< UTF-8
};

struct PrintLine {
    enum class Kind { Text, Figure, PageBreak };

    Kind kind = Kind::Text;
    int heading = 0;           ///< 1 or 2 for a line marked "?R1" / "?R2", else 0
    std::vector<TextRun> runs; ///< Text: what is printed
    int figureColumn = 0;      ///< Figure: column where the code stood (the figure's left edge)
    std::string figurePath;    ///< Figure: the path as Shift_JIS bytes (empty when malformed)
};

struct PrintFileContent {
    std::vector<PrintLine> lines;
    bool truncated = false;
};

inline constexpr int kMaxColumns = 200;
inline constexpr std::size_t kMaxLines = 600000;

PrintFileContent ParsePrintFile(std::string_view bytes);

/// The printed runs of one line's bytes (no control codes interpreted).
std::vector<TextRun> SplitIntoRuns(std::string_view sjisLine);

} // namespace ormavex::printfile
