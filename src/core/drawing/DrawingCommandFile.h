#pragma once
// The drawing command file: the primitives of one diagram in millimetres, x to
// the right and y upward. The drawing writer makes it, the renderer paints it;
// both go through the records, the writer and the reader here.
//
// Layout (Shift_JIS, CR LF after every line): first title, second title, the
// extents line "W, H, minX, minY, maxX, maxY" (2 decimals), then sections,
// each a header line, its records and a line "END", written in this order:
//   座標情報  number, x, y                                  (always written)
//   矩形情報  number, first point, second point, style, extra
//   線分情報  number, first point, second point, line style
//   円情報    number, centre point, radius (mm), line style
//   円弧情報  number, centre x, centre y, radius, start and end angle
//            (degrees, counter-clockwise from +x), line style
//   塗潰情報  number, two integers, the text unchanged
//   矢印(1)   number, point, direction code, line style
//   文字情報  two lines per record: the text; then x, y, text style, direction
// Every section but the first is written only when it has records. A record
// number is the record's position in its section, counted from 1; lines,
// rectangles, circles and arrows name points by these numbers. Whole numbers
// are written plainly, coordinates with 6 decimals: the point record
// "12, 30.500000, -7.250000", the text number line
// "-70.125000, -121.980000, 2, 3".
//
// Writing refuses a value that is not finite (Error, nothing returned).
// Reading never throws and never gives up on the whole file for a bad part: a
// record with a bad or missing number is skipped, an unknown section is
// skipped up to its "END", a section that is not closed ends at the end of
// the file; each such problem adds a warning (at most kMaxWarnings, then one
// that counts the rest). Only an empty file, or one too large to be a
// drawing, fails as a whole. Numbers read are finite; a section keeps at most
// kMaxRecords records.

#include "core/text/Error.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

/// Compass direction codes of arrows and texts; the even codes are the
/// diagonals between them.
namespace Direction {
inline constexpr std::int32_t Up = 1;    ///< toward +y; a text reads upward
inline constexpr std::int32_t Right = 3; ///< toward +x; a horizontal text
inline constexpr std::int32_t Down = 5;  ///< toward -y
inline constexpr std::int32_t Left = 7;  ///< toward -x
} // namespace Direction

/// The angle of a direction code in degrees counter-clockwise from +x
/// (3 -> 0, 1 -> 90, 7 -> 180, 5 -> 270); false for a code outside 1..8.
bool DirectionAngle(int code, double& degrees) noexcept;

struct DrawPoint {
    double x = 0.0;
    double y = 0.0;
};

struct DrawLine {
    std::int32_t point1 = 0;
    std::int32_t point2 = 0;
    std::int32_t style = 1; ///< line style
};

/// Produced by no diagram; the corners are two point numbers.
struct DrawRectangle {
    std::int32_t point1 = 0;
    std::int32_t point2 = 0;
    std::int32_t style = 1;
    std::int32_t extra = 0; ///< carried, not drawn
};

/// Produced by no diagram.
struct DrawCircle {
    std::int32_t centre = 0; ///< point number
    double radius = 0.0;
    std::int32_t style = 1;
};

/// Produced by no diagram; the centre is given by its coordinates.
struct DrawArc {
    DrawPoint centre;
    double radius = 0.0;
    double startAngle = 0.0; ///< degrees, counter-clockwise from +x
    double endAngle = 0.0;
    std::int32_t style = 1;
};

/// Produced by no diagram and not drawn: carried as read.
struct DrawFill {
    std::int32_t first = 0;
    std::int32_t second = 0;
    std::string text;
};

struct DrawArrow {
    std::int32_t point = 0;                    ///< the point the arrow head sits on
    std::int32_t direction = Direction::Right; ///< code the head points in
    std::int32_t style = 1;
};

struct DrawText {
    std::string text; ///< UTF-8
    std::int32_t style = 1;
    std::int32_t direction = Direction::Right; ///< Direction::Up or Direction::Right
    double x = 0.0;                            ///< anchor: start of the base line
    double y = 0.0;
    /// Bytes and characters of the text's Shift_JIS form, as the drawing
    /// writer counted them when it added the text; 0 when not counted (a
    /// text as read, or made elsewhere). Never written.
    std::uint32_t sjisBytes = 0;
    std::uint32_t sjisChars = 0;
};

/// Least and greatest x and y of a drawing.
struct DrawingBounds {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

/// The extents line: width and height (each rounded on its own, so not
/// always the difference of the rounded bounds) and the bounds.
struct DrawingExtents {
    double width = 0.0;
    double height = 0.0;
    DrawingBounds bounds;
};

inline constexpr std::size_t kMaxRecords = 100000;
inline constexpr std::size_t kMaxWarnings = 8;

/// One drawing command file.
struct DrawingCommandFile {
    std::string title1;
    std::string title2;
    DrawingExtents extents;
    bool hasExtents = false; ///< false: the extents line was missing or bad (read only)
    /// Points by their record number.
    std::map<std::int32_t, DrawPoint> points;
    std::vector<DrawRectangle> rectangles;
    std::vector<DrawLine> lines;
    std::vector<DrawCircle> circles;
    std::vector<DrawArc> arcs;
    std::vector<DrawFill> fills;
    std::vector<DrawArrow> arrows;
    std::vector<DrawText> texts;
    /// What reading passed over, one line each.
    std::vector<std::string> warnings;

    /// The point of a record number, or nullptr.
    const DrawPoint* point(std::int32_t number) const noexcept;
};

/// The records of every section but the coordinates, held elsewhere: the
/// writer reads them without a copy.
struct DrawingSections {
    std::span<const DrawRectangle> rectangles;
    std::span<const DrawLine> lines;
    std::span<const DrawCircle> circles;
    std::span<const DrawArc> arcs;
    std::span<const DrawFill> fills;
    std::span<const DrawArrow> arrows;
    std::span<const DrawText> texts;
};

/// Appends the Shift_JIS bytes of a drawing command file straight from its
/// parts, `points` numbered from 1: for valid UTF-8 texts the same bytes as
/// ToShiftJis(DrawingCommandFileText(f)) of the same drawing. Only the texts
/// are converted, each on its own. Throws Error as DrawingCommandFileText
/// does, with part of the file appended.
void AppendDrawingCommandFileBytes(std::string& out, std::string_view title1,
                                   std::string_view title2, const DrawingExtents& extents,
                                   std::span<const DrawPoint> points,
                                   const DrawingSections& sections);

/// Appends the Shift_JIS bytes of a UTF-8 text (as AppendShiftJis does).
using ShiftJisAppender = std::function<void(std::string& out, std::string_view utf8)>;
/// The same with the texts converted by `appendText`, which must append what
/// AppendShiftJis appends (a writer that knows its texts keeps them converted).
void AppendDrawingCommandFileBytes(std::string& out, std::string_view title1,
                                   std::string_view title2, const DrawingExtents& extents,
                                   std::span<const DrawPoint> points,
                                   const DrawingSections& sections,
                                   const ShiftJisAppender& appendText);

/// The file's text (UTF-8; the caller converts it to Shift_JIS). The extents
/// line is written from `file.extents`; `hasExtents` and `warnings` are not
/// written. Throws Error when a coordinate, a radius, an angle or an extent is
/// not finite.
std::string DrawingCommandFileText(const DrawingCommandFile& file);

/// The six numbers of an extents line: list-input numeric fields (separated
/// by commas or blanks), each finite; whatever follows the sixth is ignored.
/// False, `extents` untouched, for a line that does not hold them.
bool ParseExtentsLine(std::string_view line, DrawingExtents& extents) noexcept;

/// Reads drawing command file bytes (Shift_JIS). False, with `error` set,
/// only for an empty or oversized file; never throws.
bool ParseDrawingCommandFile(std::string_view bytes, DrawingCommandFile& out, Error* error);

/// Reads and parses a drawing command file; the same, and false when the file
/// cannot be read.
bool LoadDrawingCommandFile(const std::string& path, DrawingCommandFile& out, Error* error);

/// Throws Error "a drawing value is not a finite number: " + `what` for a
/// value that is not finite: nothing non-finite is ever written into a file.
void RequireFinite(double value, const char* what);

/// False, with `error` set ("the <kind> is empty", "the <kind> is too large
/// (N bytes)"), for no bytes or more than `limit`: a reader's whole-file check.
bool CheckFileSize(std::string_view bytes, std::size_t limit, const char* kind, Error* error);

/// Adds a warning unless the list is full; the one past the limit says that
/// more were left out.
void AddWarning(std::vector<std::string>& warnings, std::string text);

} // namespace ormavex
