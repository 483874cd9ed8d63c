#pragma once
// Legibility check of a drawing buffer: which texts overlap one another and
// which texts a line runs through.
//
// A text's box is the one the drawing writer measures (TextWidth along the
// reading direction, the style's height across it): a horizontal text
// (Direction::Right) covers [x, x + w] x [y, y + h], an upward one
// (Direction::Up) [x - h, x] x [y, y + w]. Boxes that only touch, or overlap
// by less than the tolerance, are not reported; neither is a line that only
// grazes a box. Arrows are not looked at.

#include "core/drawing/basResOutPrnZ.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ormavex {

struct TextBox {
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;
};

/// Whether two boxes reach more than `tolerance` into one another.
inline bool BoxesOverlap(const TextBox& a, const TextBox& b, double tolerance = 0.05) noexcept {
    return std::min(a.right, b.right) - std::max(a.left, b.left) > tolerance &&
           std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > tolerance;
}
/// Whether the segment from `a` to `b` passes through the box shrunk by
/// `tolerance` on every side; a zero-length segment counts when its point
/// lies inside.
bool SegmentCrossesBox(DrawPoint a, DrawPoint b, const TextBox& box,
                       double tolerance = 0.05) noexcept;

/// The box text `number` (1..Texts.count()) covers on the drawing.
TextBox BoxOfText(const DrawingContext& drawing, int number);

struct DrawingOverlap {
    enum class Kind { TextOnText, LineThroughText };
    Kind kind = Kind::TextOnText;
    int text = 0;  ///< text number
    int other = 0; ///< the other text's number (TextOnText) or the line's number
};

/// Every pair of texts whose boxes overlap (each pair once, the lower number
/// first) and every text a line crosses, in text order. `tolerance` (mm) is
/// how far boxes may reach into one another before it counts.
std::vector<DrawingOverlap> FindOverlaps(const DrawingContext& drawing, double tolerance = 0.05);

/// True when the box overlaps any text of the buffer other than `skip`, or
/// any line crosses it.
bool BoxIsOccupied(const DrawingContext& drawing, const TextBox& box, int skip = 0,
                   double tolerance = 0.05);

/// The texts and lines of a drawing buffer that reach into an area, kept
/// apart so that a box within the area is checked against those only: a text
/// moved along a path looks at what lies along its path. A snapshot: later
/// changes to the buffer are not seen.
class NearbyItems {
public:
    NearbyItems(const DrawingContext& drawing, const TextBox& area);
    /// What BoxIsOccupied answers for a box within the area, for the buffer
    /// as it was.
    bool occupied(const TextBox& box, int skip = 0, double tolerance = 0.05) const;

private:
    struct Item {
        TextBox bounds; ///< a text's box, or a line's bounding box
        int text = 0;   ///< the text's number; 0 for a line
        DrawPoint a;    ///< a line's ends
        DrawPoint b;
    };
    std::vector<Item> m_items;
};

/// One finding in words, with the texts quoted and the line's end points.
std::string DescribeOverlap(const DrawingContext& drawing, const DrawingOverlap& overlap);

} // namespace ormavex
