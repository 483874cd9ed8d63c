#include "DrawingOverlaps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ormavex {

namespace {

std::string Coordinates(double x, double y) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%.2f, %.2f)", x, y);
    return buf;
}

} // namespace

bool BoxesOverlap(const TextBox& a, const TextBox& b, double tol) noexcept {
    return std::min(a.right, b.right) - std::max(a.left, b.left) > tol &&
           std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > tol;
}

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
    const double w = drawing.TextWidth(t.style, t.text);
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

OccupancyIndex::OccupancyIndex(const DrawingContext& drawing, double cellSize)
    : m_cellSize(cellSize) {
    for (int i = 1; i <= drawing.Texts.count(); ++i) {
        m_items.push_back({BoxOfText(drawing, i), i, {}, {}});
    }
    for (int l = 1; l <= drawing.Lines.count(); ++l) {
        const DrawLine& line = drawing.Lines[l];
        const DrawPoint a = drawing.Points[line.point1];
        const DrawPoint b = drawing.Points[line.point2];
        const TextBox bounds{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                             std::max(a.y, b.y)};
        m_items.push_back({bounds, 0, a, b});
    }
    if (m_items.empty()) {
        return;
    }
    TextBox all = m_items.front().bounds;
    for (const Item& item : m_items) {
        all = {std::min(all.left, item.bounds.left), std::min(all.bottom, item.bounds.bottom),
               std::max(all.right, item.bounds.right), std::max(all.top, item.bounds.top)};
    }
    if (!(std::isfinite(all.left) && std::isfinite(all.bottom) && std::isfinite(all.right) &&
          std::isfinite(all.top))) {
        return; // no grid: every query looks at everything
    }
    m_left = all.left;
    m_bottom = all.bottom;
    // A drawing is at most a page; a larger one gets larger cells.
    constexpr double kMaxCells = 64.0;
    m_cellSize = std::max(
        {m_cellSize, (all.right - all.left) / kMaxCells, (all.top - all.bottom) / kMaxCells});
    m_columns = static_cast<int>((all.right - all.left) / m_cellSize) + 1;
    m_rows = static_cast<int>((all.top - all.bottom) / m_cellSize) + 1;
    m_cells.resize(static_cast<std::size_t>(m_columns * m_rows));
    for (std::size_t k = 0; k < m_items.size(); ++k) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        cellRange(m_items[k].bounds, x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                m_cells[static_cast<std::size_t>(y * m_columns + x)].push_back(static_cast<int>(k));
            }
        }
    }
    m_seen.assign(m_items.size(), 0);
}

// The cells a box touches, clamped to the grid: a box beyond the grid looks
// at its edge cells, which only adds items to test.
void OccupancyIndex::cellRange(const TextBox& box, int& x0, int& y0, int& x1,
                               int& y1) const noexcept {
    auto cell = [&](double v, double from, int count) {
        const double c = std::floor((v - from) / m_cellSize);
        return c < 0.0 ? 0 : c >= count - 1 ? count - 1 : static_cast<int>(c);
    };
    x0 = cell(box.left, m_left, m_columns);
    x1 = cell(box.right, m_left, m_columns);
    y0 = cell(box.bottom, m_bottom, m_rows);
    y1 = cell(box.top, m_bottom, m_rows);
}

bool OccupancyIndex::occupied(const TextBox& box, int skip, double tolerance) const {
    auto hits = [&](const Item& item) {
        return item.text != 0 ? item.text != skip && BoxesOverlap(box, item.bounds, tolerance)
                              : SegmentCrossesBox(item.a, item.b, box, tolerance);
    };
    if (m_cells.empty() || !(box.left <= box.right && box.bottom <= box.top) ||
        !(std::isfinite(box.left) && std::isfinite(box.right) && std::isfinite(box.bottom) &&
          std::isfinite(box.top))) {
        // No grid, or a box no cell range describes: look at everything.
        return std::any_of(m_items.begin(), m_items.end(), hits);
    }
    if (++m_query == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_query = 1;
    }
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cellRange(box, x0, y0, x1, y1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            for (int k : m_cells[static_cast<std::size_t>(y * m_columns + x)]) {
                const auto pos = static_cast<std::size_t>(k);
                if (m_seen[pos] != m_query) {
                    m_seen[pos] = m_query;
                    if (hits(m_items[pos])) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
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
