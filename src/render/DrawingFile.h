#pragma once
// Drawing command files: the primitives of one diagram in millimetres, x to
// the right and y upward.
//
// Layout: first title, second title, the extents line (width, height, least x,
// least y, greatest x, greatest y), then sections, each a header line, its
// records and a line "END":
//   座標情報  number, x, y
//   矩形情報  number, four integers (two point numbers, line style, unused)
//   線分情報  number, first point, second point, line style
//   円情報    number, centre point, radius (mm), line style
//   円弧情報  number, centre x, centre y, radius, start and end angle
//            (degrees, counter-clockwise from +x), line style
//   塗潰情報  number, two integers, text (read, not drawn)
//   矢印(1)   number, point, direction code, line style
//   文字情報  two lines per record: the text; then x, y, text style, direction
// Direction codes are compass numbers: 1 up, 3 right, 5 down, 7 left (the
// even codes are the diagonals between them).
//
// Guarantees: parsing never throws and never gives up on the whole file for a
// bad part. A record with a bad or missing number is skipped, an unknown
// section is skipped up to its "END", a section that is not closed ends at
// the end of the file; each such problem adds a warning (at most
// kMaxWarnings, then one that counts the rest). Only an empty file, or one
// too large to be a drawing, fails as a whole. Numbers are finite; a table
// holds at most kMaxRecords records.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ormavex::render {

struct DrawingPoint {
    double x = 0.0;
    double y = 0.0;
};

struct DrawingLine {
    int first = 0;
    int second = 0;
    int style = 1;
};

struct DrawingRect {
    int first = 0;
    int second = 0;
    int style = 1;
    int extra = 0;
};

struct DrawingCircle {
    int centre = 0;
    double radius = 0.0;
    int style = 1;
};

struct DrawingArc {
    double cx = 0.0;
    double cy = 0.0;
    double radius = 0.0;
    double startDeg = 0.0;
    double endDeg = 0.0;
    int style = 1;
};

struct DrawingArrow {
    int point = 0;
    int direction = 3;
    int style = 1;
};

struct DrawingText {
    std::string text;  ///< UTF-8
    double x = 0.0;
    double y = 0.0;
    int style = 1;
    int direction = 3;
};

struct Drawing {
    std::string title1;
    std::string title2;
    double extents[6] = {};  ///< width, height, least x, least y, greatest x, greatest y
    bool hasExtents = false;
    /// Points by their record number.
    std::unordered_map<int, DrawingPoint> points;
    std::vector<DrawingRect> rects;
    std::vector<DrawingLine> lines;
    std::vector<DrawingCircle> circles;
    std::vector<DrawingArc> arcs;
    std::vector<DrawingArrow> arrows;
    std::vector<DrawingText> texts;
    std::size_t fillCount = 0;
    std::vector<std::string> warnings;

    /// The point of a record number, or nullptr.
    const DrawingPoint* point(int n) const noexcept;
};

inline constexpr std::size_t kMaxDrawingFileBytes = 16u << 20;
inline constexpr std::size_t kMaxRecords = 100000;
inline constexpr std::size_t kMaxWarnings = 8;

/// Parses drawing command file bytes (Shift_JIS). False with `error` set only
/// for an empty or oversized file.
bool ParseDrawingFile(std::string_view bytes, Drawing& out, std::string* error);

/// Reads and parses a drawing command file.
bool LoadDrawingFile(const std::string& path, Drawing& out, std::string* error);

/// Adds a warning unless the list is full; the one past the limit says that
/// more were left out.
void AddWarning(std::vector<std::string>& warnings, std::string text);

/// The angle of a direction code in degrees counter-clockwise from +x
/// (3 -> 0, 1 -> 90, 7 -> 180, 5 -> 270); false for a code outside 1..8.
bool DirectionAngle(int code, double& degrees) noexcept;

} // namespace ormavex::render
