#include "core/drawing/DrawingOverlaps.h"

#include <algorithm>
#include <cstdio>

namespace ormavex {

namespace {

std::string Coordinates(double x, double y) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%.2f, %.2f)", x, y);
    return buf;
}

} // namespace

// Liang-Barsky clipping against the shrunk box.
bool SegmentCrossesBox(DrawPoint a, DrawPoint b, const TextBox& box, double tol) noexcept {
    const double left = box.left + tol;
    const double right = box.right - tol;
    const double bottom = box.bottom + tol;
    const double top = box.top - tol;
    if (left >= right || bottom >= top) {
        return false;
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - bottom, top - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] <= 0.0) {
                return false; // parallel to this side and outside it
            }
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

TextBox BoxOfText(const DrawingContext& drawing, int number) {
    const DrawText& t = drawing.Texts[number];
    const double w = drawing.TextWidth(t);
    const double h = drawing.TextHeight(t.style);
    if (t.direction == Direction::Up) {
        return {t.x - h, t.y, t.x, t.y + w};
    }
    return {t.x, t.y, t.x + w, t.y + h};
}

std::vector<DrawingOverlap> FindOverlaps(const DrawingContext& drawing, double tolerance) {
    std::vector<DrawingOverlap> found;
    const int texts = drawing.Texts.count();
    std::vector<TextBox> boxes;
    boxes.reserve(static_cast<std::size_t>(texts));
    for (int i = 1; i <= texts; ++i) {
        boxes.push_back(BoxOfText(drawing, i));
    }
    for (int i = 1; i <= texts; ++i) {
        const TextBox& box = boxes[static_cast<std::size_t>(i - 1)];
        for (int j = i + 1; j <= texts; ++j) {
            if (BoxesOverlap(box, boxes[static_cast<std::size_t>(j - 1)], tolerance)) {
                found.push_back({DrawingOverlap::Kind::TextOnText, i, j});
            }
        }
        for (int l = 1; l <= drawing.Lines.count(); ++l) {
            const DrawLine& line = drawing.Lines[l];
            if (SegmentCrossesBox(drawing.Points[line.point1], drawing.Points[line.point2], box,
                                  tolerance)) {
                found.push_back({DrawingOverlap::Kind::LineThroughText, i, l});
            }
        }
    }
    return found;
}

bool BoxIsOccupied(const DrawingContext& drawing, const TextBox& box, int skip, double tolerance) {
    for (int i = 1; i <= drawing.Texts.count(); ++i) {
        if (i != skip && BoxesOverlap(box, BoxOfText(drawing, i), tolerance)) {
            return true;
        }
    }
    for (int l = 1; l <= drawing.Lines.count(); ++l) {
        const DrawLine& line = drawing.Lines[l];
        if (SegmentCrossesBox(drawing.Points[line.point1], drawing.Points[line.point2], box,
                              tolerance)) {
            return true;
        }
    }
    return false;
}

NearbyItems::NearbyItems(const DrawingContext& drawing, const TextBox& area) {
    // Anything that overlaps or crosses a box within the area reaches into
    // the area; a value that is not finite keeps its item, to be safe.
    auto near = [&](const TextBox& b) {
        return !(b.right < area.left || b.left > area.right || b.top < area.bottom ||
                 b.bottom > area.top);
    };
    for (int i = 1; i <= drawing.Texts.count(); ++i) {
        const TextBox box = BoxOfText(drawing, i);
        if (near(box)) {
            m_items.push_back({box, i, {}, {}});
        }
    }
    for (int l = 1; l <= drawing.Lines.count(); ++l) {
        const DrawLine& line = drawing.Lines[l];
        const DrawPoint a = drawing.Points[line.point1];
        const DrawPoint b = drawing.Points[line.point2];
        const TextBox bounds{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                             std::max(a.y, b.y)};
        if (near(bounds)) {
            m_items.push_back({bounds, 0, a, b});
        }
    }
}

bool NearbyItems::occupied(const TextBox& box, int skip, double tolerance) const {
    return std::any_of(m_items.begin(), m_items.end(), [&](const Item& item) {
        return item.text != 0 ? item.text != skip && BoxesOverlap(box, item.bounds, tolerance)
                              : SegmentCrossesBox(item.a, item.b, box, tolerance);
    });
}

std::string DescribeOverlap(const DrawingContext& drawing, const DrawingOverlap& overlap) {
    const DrawText& t = drawing.Texts[overlap.text];
    std::string s =
        "text " + std::to_string(overlap.text) + " \"" + t.text + "\" at " + Coordinates(t.x, t.y);
    if (overlap.kind == DrawingOverlap::Kind::TextOnText) {
        const DrawText& o = drawing.Texts[overlap.other];
        return s + " overlaps text " + std::to_string(overlap.other) + " \"" + o.text + "\" at " +
               Coordinates(o.x, o.y);
    }
    const DrawLine& l = drawing.Lines[overlap.other];
    const DrawPoint& a = drawing.Points[l.point1];
    const DrawPoint& b = drawing.Points[l.point2];
    return s + " is crossed by line " + std::to_string(overlap.other) + " " +
           Coordinates(a.x, a.y) + "-" + Coordinates(b.x, b.y);
}

} // namespace ormavex
