#pragma once
// The text side of the printed report: the lists of temporary print files of
// one report run and the writer of text print files.
//
// Text print file: Shift_JIS lines ended by CR LF; a page break is a form feed
// (code 12) without line end; "?R1"/"?R2" mark level 1/2 headings; a figure
// line "  ?FG;000;000;" + the path of a figure file places a drawing.
//
// Report format file (Kivet.fmt): named sections, each from a line equal to
// its name to a line equal to "End". Inside, a line starting with "'" is a
// comment; every other line is a template line: characters 1-3 the line
// number (1..20), 4 a separator, 5 the heading level (one digit, 0 = body
// line), 6 to the end the template text. In a template, a number field is a
// run starting at "#", "+#" or "\#" and continuing over "#", ",", "." and
// "0"; a text field is "&...&" ("&>...&" right-aligned; an unclosed "&" runs
// to the end of the line) or a single "!". Field positions and widths are
// bytes of the template's Shift_JIS form.
//
// Every operation except AppendPageBreak throws Error on failure (list full,
// section missing, bad template line, file error, a value that cannot be
// formed); the page that called it turns that into a failed page.

#include "core/text/TextFile.h"

#include <array>
#include <cassert>
#include <string>
#include <string_view>

namespace ormavex {

inline constexpr int MaxTextPrintFiles = 20;
inline constexpr int MaxDrawingPrintFiles = 297;
inline constexpr int MaxTemplateLines = 20;
inline constexpr int MaxHeadingLevel = 5;

/// The print files of one report run, in creation order (positions from 0).
struct PrintFileLists {
    /// The folder the print files are made in: the system's temporary folder,
    /// which the program determines once at start-up (TemporaryFolder()).
    std::string folder = "/tmp";
    std::array<std::string, MaxTextPrintFiles> text;
    int textCount = 0;
    std::array<std::string, MaxDrawingPrintFiles> drawing;
    int drawingCount = 0;
};

/// A fixed table numbered from 1 to N.
template <typename T, int N> class OneBased {
public:
    T& operator[](int i) {
        assert(i >= 1 && i <= N);
        return m_v[static_cast<std::size_t>(i - 1)];
    }
    const T& operator[](int i) const {
        assert(i >= 1 && i <= N);
        return m_v[static_cast<std::size_t>(i - 1)];
    }

private:
    std::array<T, N> m_v{};
};

/// Template line tables and the value tables of one page, positions 1..20.
using LevelTable = OneBased<int, MaxTemplateLines>;
using TemplateTable = OneBased<std::string, MaxTemplateLines>;
using NumberValues = OneBased<double, MaxTemplateLines>;
using TextValues = OneBased<std::string, MaxTemplateLines>;

/// Numbering methods of the heading numbers.
namespace NumberingMethod {
inline constexpr int None = 0;
inline constexpr int Own = 1;    ///< each level shows its own number
inline constexpr int Hyphen = 2; ///< section joined to chapter with "-"
inline constexpr int Period =
    3; ///< section joined to chapter with "."; any other non-zero value too
} // namespace NumberingMethod

/// The writer's state for one report run: the print file lists, the current
/// print file and its open handle, and the heading numbering. One instance
/// lives in the application state; the report run resets it.
struct ReportState {
    PrintFileLists lists;
    /// The text print file that pages append to.
    std::string currentPrintFile;
    /// The current print file while a page holds it open.
    TextOutFile out;
    /// Set by the report run while it keeps the current print file open from
    /// one page to the next: opening it for a page then uses the open handle,
    /// closing it after a page hands its lines to the system, and a page break
    /// goes through the same handle. Cleared at the end of the run, which
    /// closes the file.
    bool runHoldsFile = false;
    /// The report format file as read once per report run.
    FileReadCache staticFiles;

    int method = NumberingMethod::None;
    /// Levels 1..5; level 5 is never loaded and stays 0.
    OneBased<int, MaxHeadingLevel> styles;
    OneBased<int, MaxHeadingLevel> margins;
    OneBased<int, MaxHeadingLevel> counters;
    /// The last heading level that received a number; 1 at the start of a run.
    int currentLevel = 1;
};

/// Makes a new, unique, empty file "~MT" + a unique part + ".tmp" in the
/// lists' folder (made by the platform layer, never a predictable name), appends
/// it to the text print file list and returns its path. Throws Error
/// when the list is full (a 21st file) or the file cannot be made.
std::string NewTextPrintFile(PrintFileLists& lists);
/// The same, leaving the new file open for writing in `out` through the
/// descriptor that created it.
std::string NewTextPrintFile(PrintFileLists& lists, TextOutFile& out);

/// The same for the drawing print file list, which the diagrams fill; throws
/// Error when the list is full (a 298th file).
std::string NewDrawingPrintFile(PrintFileLists& lists, TextOutFile& out);
/// NewDrawingPrintFile of `lists` as the diagrams take it (a NewPrintFile).
inline auto DrawingPrintFilesOf(PrintFileLists& lists) {
    return [&lists](TextOutFile& out) { return NewDrawingPrintFile(lists, out); };
}

/// Start of a report run: both list counts 0 (the files are not touched),
/// current heading level 1, counters 1..4 cleared. Counter 5 is cleared by
/// the first heading of levels 1 to 4.
void ResetReportRun(ReportState& state) noexcept;

/// Reads the numbering method, styles 1..4 and margins 1..4 from section
/// "Chapter" of the settings file (keys "Method", "Style1".."Style4",
/// "Margin1".."Margin4"; a missing key or file reads as 0), each kept within
/// the range the numbering dialog offers. Never fails.
void LoadNumberingSettings(ReportState& state, const std::string& settingsFile);

/// Reads section `section` of the report format file into the tables at the
/// template lines' numbers and returns how many template lines it read.
/// Entries whose numbers do not occur keep their contents. Throws Error
/// when the file cannot be read, the section or its "End" is missing, or a
/// line number is outside 1..20 (an empty line inside a section is one).
int ReadTemplateSection(const std::string& formatFile, const std::string& section,
                        LevelTable& levels, TemplateTable& templates);
/// The same, reading the format file through `files`.
int ReadTemplateSection(FileReadCache& files, const std::string& formatFile,
                        const std::string& section, LevelTable& levels, TemplateTable& templates);

/// The template with its fields filled, as Shift_JIS bytes of exactly the
/// template's byte length. Number field k gets number value k formatted by its
/// picture and padded on the left to the picture's width; text field k gets
/// text value k (blanks when empty, padded right or left, "!" its first byte).
/// A value wider than its field is cut at the field's end; a double-byte
/// character that would be cut in two is written as a blank, and any byte
/// that does not form a whole Shift_JIS character as "?", so the line stays
/// readable text. Throws Error for more than 20 fields of a kind or a
/// number value that is not finite.
std::string FillTemplate(std::string_view templateText, const NumberValues& numbers,
                         const TextValues& texts);

/// Opens the current print file for appending into the open handle. Throws
/// Error when it cannot be opened.
void OpenPrintFile(ReportState& state);
/// Closes the open handle; throws Error when a write or the close failed.
void ClosePrintFile(ReportState& state);

/// Writes the heading prefix of `level`, the filled template and a line end.
void PrintTemplateLine(ReportState& state, std::string_view templateText, int level,
                       const NumberValues& numbers, const TextValues& texts);

/// The prefix of a line of `level` (0 = body line, 1..5 headings): the
/// level's margin in blanks, "?R1"/"?R2" for levels 1/2, then the heading
/// number when numbering is on; a body line is indented by the margin of the
/// current heading level + 2. Advances the heading counters. A negative margin
/// counts as 0. Throws Error for a level outside 0..5.
std::string HeadingPrefix(ReportState& state, int level);
/// Writes HeadingPrefix(level) without line end.
void PrintHeadingPrefix(ReportState& state, int level);

/// Writes `count` empty lines.
void PrintBlankLines(ReportState& state, int count);

/// Writes a text (UTF-8) with line end.
void PrintLine(ReportState& state, std::string_view text);

/// Appends one form feed (a page break) to the current print file, opening
/// and closing it by itself. Failures are ignored. Not to be called while a
/// page holds the file open.
void AppendPageBreak(ReportState& state) noexcept;

/// Advances the counters for a heading of `level` (1..5: the level's counter
/// rises by one, deeper ones become 0), makes it the current level and
/// returns its number text followed by one blank.
std::string HeadingNumberText(ReportState& state, int level);

/// One count in numbering style `style` (1..9; others give ""); a counter of
/// 0 or less gives "". A count past the style's range is set back to 1 in
/// `counter` before it is written.
std::string NumberInStyle(int style, int& counter);

} // namespace ormavex
