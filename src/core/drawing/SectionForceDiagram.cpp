#include "core/drawing/SectionForceDiagram.h"

#include "core/drawing/DrawingOverlaps.h"
#include "core/drawing/FixedNumber.h"
#include "core/text/Error.h"
#include "core/text/NumberPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ormavex {

namespace {

constexpr const char* DiagramSeriesTitle = "ｹｰｿﾝ式防波堤";
constexpr std::array<const char*, 9> PointLabels = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨"};

constexpr std::int32_t OutlineStyle = 3;       // member outline and load base line
constexpr std::int32_t CentreStyle = 7;        // centre line
constexpr std::int32_t ThinStyle = 1;          // grid, load line, hatching, arrows
constexpr std::int32_t TextStyleNo = 2;        // every text of a diagram but long moments
constexpr std::int32_t SmallTextStyleNo = 3;   // moments too long for their grid
constexpr std::int32_t CaptionTextStyleNo = 1; // the diagram's name

constexpr std::string_view LoadPicture = "###0.00\\k\\N\\/\\㎡";
constexpr const char* DimensionFlags = "11111U";

// What tells the two members apart besides their orientation.
struct MemberRules {
    const char* title;
    std::array<const char*, 5> rowLabels; // row lines i = 1..5
};

const MemberRules& RulesOf(Member member) {
    static const MemberRules frontWall{"前壁断面力図", {"Ⅲ", "Ⅱ", "Ⅰ", "Ⅱ", "Ⅲ"}};
    static const MemberRules bottomSlab{"底版断面力図", {"Ⅲ", "Ｍy  Ⅱ", "Ⅰ", "Ｍx  Ⅱ", "Ⅲ"}};
    return member == Member::FrontWall ? frontWall : bottomSlab;
}

std::string SpanText(char axis, double span, int keta) {
    std::string picture = std::string("\\Ｌ\\") + axis + "\\ \\＝\\ ";
    picture += keta == 2 ? "##0.00" : "##0.000";
    picture += "\\ｍ";
    return FormatNumber(span, picture);
}

void RequireFiniteInput(double v, const char* what, int caseNo) {
    if (!std::isfinite(v)) {
        throw Error(std::string(what) + " of case " + std::to_string(caseNo) +
                    " is not a finite number");
    }
}

// One diagram in the making. Each step below adds one part of the drawing,
// in the order the drawing holds them, and keeps clear of what the earlier
// steps placed; the moment texts are planned before anything is drawn.
class DiagramBuilder {
public:
    DiagramBuilder(Member member, DrawingContext& drawing, const CalcArrays& calc, int caseNo)
        : rules(RulesOf(member)), upright(member == Member::FrontWall), d(drawing), calc(calc),
          caseNo(caseNo), Lx(calc.CalcLx[caseNo]), Ly(calc.CalcLy[caseNo]), QA(calc.CalcQA[caseNo]),
          QB(calc.CalcQB[caseNo]), n(calc.CalcPointCount[caseNo]) {}

    /// Sizes the tables, reads the style files from `dataFolder`, makes the
    /// dimension settings and empties the buffer; then refuses a case whose
    /// spans, point count, loads or moments cannot be drawn.
    void prepare(const std::string& dataFolder) {
        d.SizeTables();
        d.ReadLineStyles(dataFolder + "/LINE_PRN.DEF");
        d.ReadTextStyles(dataFolder + "/STR_PRN.DEF");
        d.Figures.clear();
        d.DimOffset = 10.0;
        d.DimPitch = 5.0;
        d.ExtGap = 1.0;
        d.TextGap = 1.0;
        d.CurrentLineStyle = 1;
        d.CurrentTextStyle = 2;
        d.ClearBuffer();
        // A zero span would divide by zero in the scale; the result would be
        // infinite coordinates. The diagram cannot be formed: fail it.
        if (!(std::isfinite(Lx) && Lx > 0.0)) {
            throw Error("the span Lx of case " + std::to_string(caseNo) +
                        " is not positive: the diagram's scale cannot be formed");
        }
        if (!(std::isfinite(Ly) && Ly > 0.0)) {
            throw Error("the span Ly of case " + std::to_string(caseNo) +
                        " is not positive: the diagram's scale cannot be formed");
        }
        if (n < 2 || n > MaxPoints) {
            throw Error("case " + std::to_string(caseNo) + " has no result points");
        }
        RequireFiniteInput(QA, "QA", caseNo);
        RequireFiniteInput(QB, "QB", caseNo);
        for (int j = 1; j <= 3; ++j) {
            for (int k = 1; k <= n; ++k) {
                RequireFiniteInput(calc.CalcMx[caseNo](j, k), "a moment Mx", caseNo);
                RequireFiniteInput(calc.CalcMy[caseNo](j, k), "a moment My", caseNo);
            }
        }
        h = d.TextHeight(TextStyleNo);
        gap = d.TextGap;
    }

    /// The scales of a `W` x `H` area: the common scale S, each axis raised to
    /// its minimum drawn size (60 mm across the member, 15 mm per point
    /// interval along the span). Then the outline, points 1..4 clockwise from
    /// the upper left.
    void scaleAndOutline(double W, double H) {
        if (upright) {
            const double S = std::min((W - 45.0) / Ly, (H - 35.0) / Lx);
            sx = std::max(60.0 / Ly, S);
            sy = std::max((n - 1) * 15.0 / Lx, S);
            d.AddPoint(-Ly / 2.0 * sx, 0.0);
            d.AddPoint(Ly / 2.0 * sx, 0.0);
            d.AddPoint(Ly / 2.0 * sx, -Lx * sy);
            d.AddPoint(-Ly / 2.0 * sx, -Lx * sy);
        } else {
            const double S = std::min((W - 35.0) / Lx, (H - 45.0) / Ly);
            sx = std::max((n - 1) * 15.0 / Lx, S);
            sy = std::max(60.0 / Ly, S);
            d.AddPoint(0.0, Ly / 2.0 * sy);
            d.AddPoint(Lx * sx, Ly / 2.0 * sy);
            d.AddPoint(Lx * sx, -Ly / 2.0 * sy);
            d.AddPoint(0.0, -Ly / 2.0 * sy);
        }
        d.AddLine(1, 2, OutlineStyle);
        d.AddLine(2, 3, OutlineStyle);
        d.AddLine(3, 4, OutlineStyle);
        d.AddLine(4, 1, OutlineStyle);
        x1 = d.Points[1].x;
        y1 = d.Points[1].y;
        x2 = d.Points[2].x;
        y4 = d.Points[4].y;
        pointLabelsLeft = x1;
    }

    /// Plans the moment texts, so that labels, dimensions and the load diagram
    /// can keep clear of them. Each runs from 1 mm past its node toward the
    /// next grid line: Mx along the span, My across the member. When the
    /// longest of a kind does not fit between its node and the next line (1 mm
    /// to spare at each end), that kind is set in the smaller text style 3.
    /// The front wall's row labels, headings and centre line then rise above
    /// the tallest moment written upward from its top edge.
    void planMoments() {
        const MomentGrid* grids[] = {&calc.CalcMx[caseNo], &calc.CalcMy[caseNo]};
        // Each moment's text, formatted once: all Mx, then all My.
        std::vector<std::string> texts;
        texts.reserve(static_cast<std::size_t>(6 * n));
        for (const MomentGrid* grid : grids) {
            for (int j = 1; j <= 3; ++j) {
                for (int k = 1; k <= n; ++k) {
                    // The picture "####0.00" without its general formatter.
                    std::string& t = texts.emplace_back();
                    AppendFixedNumber(t, (*grid)(j, k), 2);
                }
            }
        }
        const auto perGrid = static_cast<std::ptrdiff_t>(3 * n);
        const std::int32_t styles[] = {
            styleFor(texts.begin(), texts.begin() + perGrid, Lx / (n - 1) * (upright ? sy : sx)),
            styleFor(texts.begin() + perGrid, texts.end(), Ly / 4.0 * (upright ? sx : sy))};
        moments.reserve(static_cast<std::size_t>(6 * n));
        auto next = texts.begin();
        for (int g = 0; g < 2; ++g) { // all Mx, then all My
            const std::int32_t style = styles[g];
            for (int j = 1; j <= 3; ++j) {
                const double offset = Ly / 4.0 * (j - 1) * (upright ? sx : sy);
                for (int k = 1; k <= n; ++k) {
                    std::string s = std::move(*next++);
                    const double p = along(k);
                    if (g == 0) {
                        moments.push_back(upright ? DrawText{std::move(s), style, Direction::Up,
                                                             -offset - gap, p + gap}
                                                  : DrawText{std::move(s), style, Direction::Right,
                                                             p + gap, offset + gap});
                    } else if (upright) {
                        moments.push_back(
                            {std::move(s), style, Direction::Right, offset + gap, p + gap});
                    } else {
                        // The slab's My runs upward, ending 1 mm below the node.
                        const double ws = d.TextWidth(style, s);
                        moments.push_back(
                            {std::move(s), style, Direction::Up, p - gap, -offset - gap - ws});
                    }
                }
            }
        }
        momentBoxes.reserve(moments.size());
        for (const DrawText& t : moments) {
            const double tw = d.TextWidth(t.style, t.text);
            const double th = d.TextHeight(t.style);
            momentBoxes.push_back(t.direction == Direction::Up
                                      ? TextBox{t.x - th, t.y, t.x, t.y + tw}
                                      : TextBox{t.x, t.y, t.x + tw, t.y + th});
        }
        if (upright) {
            for (const TextBox& b : momentBoxes) {
                labelRise = std::max(labelRise, b.top - y1 + gap);
            }
        }
    }

    /// The centre line, stopping 1 mm short of the row label "Ⅰ" on it, and
    /// on the front wall the headings "Mx" and "My" over its two halves (the
    /// slab names its rows instead).
    void centreLineAndHeadings() {
        if (upright) {
            segment(0.0, labelRise + 10.0, 0.0, labelRise + h + gap, CentreStyle);
            text("CL", Direction::Right, -w("CL") / 2.0, labelRise + 10.0 + gap);
            text("Mx", Direction::Right, x1 * 0.5 - w("Mx") / 2.0, y1 + labelRise + 5.0);
            text("My", Direction::Right, x2 * 0.5 - w("My") / 2.0, y1 + labelRise + 5.0);
        } else {
            segment(-15.0, 0.0, x1 - 5.0 - w(rules.rowLabels[2]) - gap, 0.0, CentreStyle);
            text("CL", Direction::Right, -15.0 - w("CL") - gap, -h / 2.0);
        }
    }

    /// Point lines (labels at every point, grid lines between the edges),
    /// then row lines (labels at the edges, quarter lines and centre line,
    /// grid lines inside).
    void gridAndLabels() {
        for (int k = 1; k <= n; ++k) {
            const std::string label = PointLabels[static_cast<std::size_t>(k - 1)];
            const double p = along(k);
            if (upright) {
                pointLabelsLeft = std::min(pointLabelsLeft, x1 - 5.0 - w(label));
                text(label, Direction::Right, x1 - 5.0 - w(label), p - h / 2.0);
                if (k >= 2 && k <= n - 1) {
                    segment(x1, p, x2, p, ThinStyle);
                }
            } else {
                text(label, Direction::Right, p - w(label) / 2.0, y1 + 5.0);
                if (k >= 2 && k <= n - 1) {
                    segment(p, y1, p, y4, ThinStyle);
                }
            }
        }
        for (int i = 1; i <= 5; ++i) {
            const std::string label = rules.rowLabels[static_cast<std::size_t>(i - 1)];
            const double p = across(i);
            if (upright) {
                text(label, Direction::Right, p - w(label) / 2.0, y1 + labelRise);
                if (i >= 2 && i <= 4) {
                    segment(p, y1, p, y4, ThinStyle);
                }
            } else {
                text(label, Direction::Right, x1 - 5.0 - w(label), p - h / 2.0);
                if (i >= 2 && i <= 4) {
                    segment(x1, p, x2, p, ThinStyle);
                }
            }
        }
    }

    /// The spans as dimension lines, 15 mm right of the member and 10 mm
    /// (front wall) or 15 mm (bottom slab) below it, each moved out past the
    /// moments written beyond its edge.
    void dimensions() {
        const int keta = calc.CalcKeta[caseNo];
        const std::string lxText = SpanText('x', Lx, keta);
        const std::string lyText = SpanText('y', Ly, keta);
        const double right = x2 + d.DimOffset + d.DimPitch;
        if (upright) {
            d.AddVerticalDimension(3, 2, clearDimension(right, true, lxText), 1, lxText,
                                   DimensionFlags);
            lowerDimensionAt = clearDimension(y4 - d.DimOffset, false, lyText);
            d.AddHorizontalDimension(4, 3, lowerDimensionAt, 1, lyText, DimensionFlags);
        } else {
            lowerDimensionAt = clearDimension(y4 - d.DimOffset - d.DimPitch, false, lxText);
            d.AddHorizontalDimension(4, 3, lowerDimensionAt, 1, lxText, DimensionFlags);
            d.AddVerticalDimension(3, 2, clearDimension(right, true, lyText), 1, lyText,
                                   DimensionFlags);
        }
    }

    /// The planned moments at every node: row 1 on the centre line, row 2 on
    /// the quarter line, row 3 on the edge; Mx on one half, My on the other.
    void placeMoments() {
        for (DrawText& t : moments) {
            d.AddText(std::move(t.text), t.style, t.direction, t.x, t.y);
        }
    }

    /// The load diagram: the larger load (by magnitude, a tie takes QB) is
    /// drawn 15 mm long; the base line stands 15 mm off the member, or 30 mm
    /// when that load is not positive so that the load line clears the
    /// member. A load of the other sign is drawn toward the member; when that
    /// part would reach the point labels (front wall) or the span's dimension
    /// (bottom slab), the base line moves out until it keeps 1 mm clear.
    /// Hatch lines about every 5 mm, with arrows where longer than 0.5 mm.
    void loadDiagram() {
        const double qmax = std::fabs(QB) >= std::fabs(QA) ? QB : QA;
        const double qs = std::fabs(qmax) > 0.001 ? 15.0 / std::fabs(qmax) : 0.0;
        const double inward = qs * std::max(0.0, -std::min(QA, QB));
        const std::string qaText = "QA=" + FormatNumber(QA, LoadPicture);
        const std::string qbText = "QB=" + FormatNumber(QB, LoadPicture);
        const double span = upright ? sy * Lx : sx * Lx;
        const double mf = std::floor(span / 5.0); // one hatch line about every 5 mm
        if (!(mf >= 1.0 && mf < MaxDrawLines)) {
            throw Error("case " + std::to_string(caseNo) +
                        ": the load diagram needs more hatch lines than a drawing holds");
        }
        const int m = static_cast<int>(mf);
        if (upright) {
            double x0 =
                qmax > 0.0 ? x1 - d.DimOffset - d.DimPitch : x1 - d.DimOffset - d.DimPitch - 15.0;
            x0 = std::min(x0, pointLabelsLeft - gap - inward);
            const int p = d.AddPoint(x0, y1);
            d.AddPoint(x0, y4);
            d.AddPoint(x0 - qs * QA, y4);
            d.AddPoint(x0 - qs * QB, y1);
            d.AddLine(p, p + 1, OutlineStyle);
            d.AddLine(p + 2, p + 3, ThinStyle);
            placeClear(qaText, Direction::Right, qmax > 0.0 ? x0 - w(qaText) : x0, y4 - gap - h,
                       -0.5, 0.0);
            placeClear(qbText, Direction::Right, qmax > 0.0 ? x0 - w(qbText) : x0, y1 + gap, -0.5,
                       0.0);
            for (int t = 1; t <= m + 1; ++t) {
                const double dist = (t - 1) * Lx / m;
                const double q = ((QB - QA) * dist / Lx + QA) * qs;
                const int hp = segment(x0, dist * sy + y4, x0 - q, dist * sy + y4, ThinStyle);
                if (std::fabs(q) > 0.5) {
                    d.AddArrow(hp, q > 0.0 ? Direction::Right : Direction::Left, ThinStyle);
                }
            }
        } else {
            double y0 = qmax > 0.0 ? y4 - d.DimOffset - d.DimPitch - d.DimPitch
                                   : y4 - d.DimOffset - d.DimPitch - d.DimPitch - 15.0;
            y0 = std::min(y0, lowerDimensionAt - d.ExtGap - gap - inward);
            const int p = d.AddPoint(x1, y0);
            d.AddPoint(x2, y0);
            d.AddPoint(x1, y0 - qs * QA);
            d.AddPoint(x2, y0 - qs * QB);
            d.AddLine(p, p + 1, OutlineStyle);
            d.AddLine(p + 2, p + 3, ThinStyle);
            placeClear(qaText, Direction::Up, x1 - gap, qmax > 0.0 ? y0 - w(qaText) : y0, 0.0,
                       -0.5);
            placeClear(qbText, Direction::Up, x2 + gap + h, qmax > 0.0 ? y0 - w(qbText) : y0, 0.0,
                       -0.5);
            for (int t = 1; t <= m + 1; ++t) {
                const double dist = (t - 1) * Lx / m;
                const double q = ((QB - QA) * dist / Lx + QA) * qs;
                const int hp = segment(dist * sx, y0, dist * sx, y0 - q, ThinStyle);
                if (std::fabs(q) > 0.5) {
                    d.AddArrow(hp, q > 0.0 ? Direction::Up : Direction::Down, ThinStyle);
                }
            }
        }
    }

    /// Support conditions: every fixed edge gets short strokes on its outer
    /// side, as supports are drawn in structural drawings; the free edge of
    /// the tables with one free edge (the edge of the last point: the top of
    /// the front wall, the right end of the slab) stays plain. Beside a text
    /// the strokes leave off, so that at least 0.5 mm of paper separates any
    /// text from their ink: a minus sign next to the edge stays a minus sign.
    void fixedEdgeStrokes() {
        const TableTypeInfo* info = TableType(calc.CalcType[caseNo]);
        const bool freeLastEdge = info != nullptr && info->freeEdge;
        const DrawPoint p1 = d.Points[1];
        const DrawPoint p2 = d.Points[2];
        const DrawPoint p3 = d.Points[3];
        const DrawPoint p4 = d.Points[4];
        std::vector<TextBox> texts;
        texts.reserve(static_cast<std::size_t>(d.Texts.count()));
        for (int i = 1; i <= d.Texts.count(); ++i) {
            texts.push_back(BoxOfText(d, i));
        }
        // Outline clockwise 1 -> 2 -> 3 -> 4, so the outer side is on the
        // right of 2 -> 1, 3 -> 2, 4 -> 3 and 1 -> 4.
        if (!(upright && freeLastEdge)) {
            strokeEdge(p2, p1, texts);
        }
        if (!(!upright && freeLastEdge)) {
            strokeEdge(p3, p2, texts);
        }
        strokeEdge(p4, p3, texts);
        strokeEdge(p1, p4, texts);
    }

    /// Caption, unit and scale note above the drawing: the diagram's name in
    /// the heading style, centred over the member; the moments' unit at the
    /// drawing's right end; "縮尺不同" at its left end when the two axes are
    /// drawn to scales more than 10 % apart.
    void caption() {
        const DrawingContext::Extents e = d.DrawingExtents();
        const double top = e.maxY + 2.0;
        const std::string caption = rules.title;
        const double wc = d.TextWidth(CaptionTextStyleNo, caption);
        d.AddText(caption, CaptionTextStyleNo, Direction::Right, (x1 + x2) / 2.0 - wc / 2.0, top);
        const std::string unit = "単位：kN・m/m";
        d.AddText(unit, TextStyleNo, Direction::Right, e.maxX - w(unit), top);
        if (std::max(sx, sy) > 1.1 * std::min(sx, sy)) {
            d.AddText("縮尺不同", TextStyleNo, Direction::Right, e.minX, top);
        }
    }

private:
    double w(const std::string& s) const { return d.TextWidth(TextStyleNo, s); }
    void text(const std::string& s, std::int32_t dir, double x, double y) {
        d.AddText(s, TextStyleNo, dir, x, y);
    }
    int segment(double xa, double ya, double xb, double yb, std::int32_t style) {
        const int p = d.AddPoint(xa, ya);
        d.AddPoint(xb, yb);
        d.AddLine(p, p + 1, style);
        return p;
    }
    // Position of point k along the span and of row line i across the member.
    double along(int k) const {
        return upright ? Lx / (n - 1) * (k - 1) * sy + y4 : Lx / (n - 1) * (k - 1) * sx + x1;
    }
    double across(int i) const {
        return upright ? Ly / 4.0 * (i - 1) * sx + x1 : Ly / 4.0 * (i - 1) * sy + y4;
    }

    // The style of one kind of moment texts, [first, last).
    template <typename It> std::int32_t styleFor(It first, It last, double pitch) const {
        double longest = 0.0;
        for (It t = first; t != last; ++t) {
            longest = std::max(longest, w(*t));
        }
        return longest + 2.0 * gap > pitch && d.TextStyles.count() >= SmallTextStyleNo
                   ? SmallTextStyleNo
                   : TextStyleNo;
    }
    bool clearOfMoments(const TextBox& box) const {
        return std::none_of(momentBoxes.begin(), momentBoxes.end(),
                            [&](const TextBox& m) { return BoxesOverlap(box, m); });
    }
    bool lineClearOfMoments(DrawPoint a, DrawPoint b) const {
        return std::none_of(momentBoxes.begin(), momentBoxes.end(),
                            [&](const TextBox& m) { return SegmentCrossesBox(a, b, m); });
    }

    // Where a dimension line starting at `pos` ends up: right of the member
    // (`vertical`) or below it, moved out in 0.5 mm steps until its line and
    // its text, with 1 mm to spare, touch no moment.
    double clearDimension(double pos, bool vertical, const std::string& label) const {
        const double wl = w(label);
        const double yMid = (y1 + y4) / 2.0;
        const double xMid = (x1 + x2) / 2.0;
        for (int step = 0; step < 400; ++step, pos += vertical ? 0.5 : -0.5) {
            const bool clear = vertical
                                   ? clearOfMoments({pos - gap - h - 1.0, yMid - wl / 2.0 - 1.0,
                                                     pos - gap + 1.0, yMid + wl / 2.0 + 1.0}) &&
                                         lineClearOfMoments({pos, y4}, {pos, y1})
                                   : clearOfMoments({xMid - wl / 2.0 - 1.0, pos + gap - 1.0,
                                                     xMid + wl / 2.0 + 1.0, pos + gap + h + 1.0}) &&
                                         lineClearOfMoments({x1, pos}, {x2, pos});
            if (clear) {
                break;
            }
        }
        return pos;
    }

    // A load text that would come within 0.5 mm of anything already drawn
    // moves away from the member in steps of (dx, dy) until it is clear.
    void placeClear(const std::string& s, std::int32_t dir, double x, double y, double dx,
                    double dy) {
        constexpr int kSteps = 400;
        const int number = d.AddText(s, TextStyleNo, dir, x, y);
        auto margin = [&]() {
            TextBox b = BoxOfText(d, number);
            return TextBox{b.left - 0.5, b.bottom - 0.5, b.right + 0.5, b.top + 0.5};
        };
        // Nothing else moves while this text does: only what lies along its
        // path is looked at.
        const TextBox first = margin();
        const double runX = kSteps * dx;
        const double runY = kSteps * dy;
        const NearbyItems along(
            d, {first.left + std::min(0.0, runX), first.bottom + std::min(0.0, runY),
                first.right + std::max(0.0, runX), first.top + std::max(0.0, runY)});
        for (int step = 0; step < kSteps && along.occupied(margin(), number); ++step) {
            d.Texts[number].x += dx;
            d.Texts[number].y += dy;
        }
    }

    // Strokes 0.5 mm long every 2 mm along the edge from a to b, on the
    // right of the direction a -> b; none within 0.5 mm of a text's box
    // (counted from the stroke's ink, half its pen wider than its line).
    // Only the texts that reach the edge's band are looked at per stroke.
    void strokeEdge(DrawPoint a, DrawPoint b, const std::vector<TextBox>& allTexts) {
        constexpr double stroke = 0.5;
        constexpr double pitch = 2.0;
        constexpr double clearance = 0.5;
        const double reach = clearance + penWidth(ThinStyle) / 2.0;
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const double ux = (b.x - a.x) / len;
        const double uy = (b.y - a.y) / len;
        const double ox = uy; // outward normal
        const double oy = -ux;
        // Every stroke's ink box lies in the edge's box widened by the
        // stroke's two legs and the reach (and a little more).
        const double band = 2.0 * stroke + reach + 1.0;
        const TextBox near{std::min(a.x, b.x) - band, std::min(a.y, b.y) - band,
                           std::max(a.x, b.x) + band, std::max(a.y, b.y) + band};
        std::vector<TextBox> texts;
        for (const TextBox& box : allTexts) {
            if (BoxesOverlap(near, box, 0.0)) {
                texts.push_back(box);
            }
        }
        for (double t = pitch / 2.0; t + stroke <= len; t += pitch) {
            const double px = a.x + ux * t;
            const double py = a.y + uy * t;
            const double qx = px + (ox + ux) * stroke;
            const double qy = py + (oy + uy) * stroke;
            const TextBox ink{std::min(px, qx) - reach, std::min(py, qy) - reach,
                              std::max(px, qx) + reach, std::max(py, qy) + reach};
            if (std::none_of(texts.begin(), texts.end(),
                             [&](const TextBox& box) { return BoxesOverlap(ink, box, 0.0); })) {
                segment(px, py, qx, qy, ThinStyle);
            }
        }
    }
    // Pen width of a line style in mm (the style table holds 1/100 mm).
    double penWidth(std::int32_t style) const {
        return style >= 1 && style <= d.LineStyles.count() ? d.LineStyles[style].width / 100.0
                                                           : 0.18;
    }

    const MemberRules& rules;
    const bool upright;
    DrawingContext& d;
    const CalcArrays& calc;
    const int caseNo;
    const double Lx, Ly, QA, QB;
    const int n;
    double h = 0.0;   // height of text style 2
    double gap = 0.0; // TextGap
    double sx = 0.0;  // scales, mm per m
    double sy = 0.0;
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y4 = 0.0; // outline points 1, 2, 4
    std::vector<DrawText> moments;
    std::vector<TextBox> momentBoxes;
    double labelRise = 10.0;      // front wall: row labels above the top edge
    double pointLabelsLeft = 0.0; // front wall: left end of the point labels
    double lowerDimensionAt = 0.0;
};

} // namespace

std::string DrawSectionForceDiagram(Member member, DrawingContext& drawing,
                                    const NewPrintFile& newFile, const CalcArrays& calc,
                                    const std::string& dataFolder, int loadFlag, int caseNo,
                                    double width, double height) {
    DrawnDiagram diagram;
    RenderSectionForceDiagram(member, drawing, calc, dataFolder, loadFlag, caseNo, width, height,
                              diagram);
    FigureEntry placed;
    const std::string figurePath = WriteDrawnDiagram(diagram, newFile, width, height, &placed);
    drawing.Figures.add(placed, "figures");
    return figurePath;
}

void RenderSectionForceDiagram(Member member, DrawingContext& drawing, const CalcArrays& calc,
                               const std::string& dataFolder, int loadFlag, int caseNo,
                               double width, double height, DrawnDiagram& out) {
    FillSectionForceDiagram(member, drawing, calc, dataFolder, loadFlag, caseNo, width, height);
    out.member = member;
    drawing.DrawingFileBytes(DiagramSeriesTitle, RulesOf(member).title, out.bytes, out.extents);
}

std::string WriteDrawnDiagram(const DrawnDiagram& diagram, const NewPrintFile& newFile,
                              double width, double height, FigureEntry* placed) {
    // The drawing command file, then the figure file that centres it on the
    // area; each is written through the descriptor that created it.
    TextOutFile file;
    const std::string drawingPath = newFile(file);
    WriteDrawingFileBytes(file, diagram.bytes);
    const std::string figurePath = newFile(file);
    const FigureEntry entry = CentredFigure(drawingPath, diagram.extents, width, height);
    WriteFigureFile(file, RulesOf(diagram.member).title, entry, width, height);
    if (placed != nullptr) {
        *placed = entry;
    }
    return figurePath;
}

void FillSectionForceDiagram(Member member, DrawingContext& drawing, const CalcArrays& calc,
                             const std::string& dataFolder, int loadFlag, int caseNo, double width,
                             double height) {
    assert(caseNo >= 1 && caseNo <= MaxCases);
    DiagramBuilder diagram(member, drawing, calc, caseNo);
    diagram.prepare(dataFolder);
    diagram.scaleAndOutline(width, height);
    diagram.planMoments();
    diagram.centreLineAndHeadings();
    diagram.gridAndLabels();
    diagram.dimensions();
    diagram.placeMoments();
    if (loadFlag == 1) {
        diagram.loadDiagram();
    }
    diagram.fixedEdgeStrokes();
    diagram.caption();
}

} // namespace ormavex
