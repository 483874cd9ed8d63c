#include "SectionForceDiagram.h"

#include "text/NumberPicture.h"

#include <array>
#include <cmath>

namespace ormavex {

namespace {

constexpr const char* DiagramSeriesTitle = "ｹｰｿﾝ式防波堤";
constexpr std::array<const char*, 9> PointLabels = {"①", "②", "③", "④", "⑤",
                                                    "⑥", "⑦", "⑧", "⑨"};

constexpr std::int32_t OutlineStyle = 3;  // member outline and load base line
constexpr std::int32_t CentreStyle = 7;   // centre line
constexpr std::int32_t ThinStyle = 1;     // grid, load line, hatching, arrows
constexpr std::int32_t TextStyleNo = 2;   // every text of a diagram

constexpr std::string_view MomentPicture = "####0.00";
constexpr std::string_view LoadPicture = "###0.00\\k\\N\\/\\㎡";
constexpr const char* DimensionFlags = "11111U";

// What tells the two members apart besides their orientation.
struct MemberRules {
    const char* title;
    std::array<const char*, 5> rowLabels;  // row lines i = 1..5
};

const MemberRules& RulesOf(Member member) {
    static const MemberRules frontWall{"前壁断面力図", {"Ⅲ", "Ⅱ", "Ⅰ", "Ⅱ", "Ⅲ"}};
    static const MemberRules bottomSlab{"底版断面力図",
                                        {"Ⅲ", "Ｍy  Ⅱ", "Ⅰ", "Ｍx  Ⅱ", "Ⅲ"}};
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
        throw ReportError(std::string(what) + " of case " + std::to_string(caseNo) +
                          " is not a finite number");
    }
}

} // namespace

std::string DrawSectionForceDiagram(Member member, DrawingContext& drawing, PrintFileLists& lists,
                                    const CalcArrays& calc, const std::string& programFolder,
                                    int loadFlag, int caseNo, double width, double height) {
    FillSectionForceDiagram(member, drawing, calc, programFolder, loadFlag, caseNo, width, height);
    const MemberRules& rules = RulesOf(member);
    DrawingContext& d = drawing;

    // 14. Output: the drawing command file as figure entry 1, then the figure
    // file that centres it on the area. Each is written through the
    // descriptor that created it.
    TextOutFile file;
    FigureEntry entry;
    entry.path = NewDrawingPrintFile(lists, file);
    d.Figures.add(entry, "figures");
    d.WriteDrawingFile(file, DiagramSeriesTitle, rules.title);
    const std::string figurePath = NewDrawingPrintFile(lists, file);
    d.PlaceFigures(file, rules.title, width, height);
    return figurePath;
}

void FillSectionForceDiagram(Member member, DrawingContext& drawing, const CalcArrays& calc,
                             const std::string& programFolder, int loadFlag, int caseNo,
                             double width, double height) {
    assert(caseNo >= 1 && caseNo <= MaxCases);
    const MemberRules& rules = RulesOf(member);
    const bool upright = member == Member::FrontWall;
    DrawingContext& d = drawing;

    // 1. Preparation.
    d.SizeTables();
    d.ReadLineStyles(programFolder + "/LINE_PRN.DEF");
    d.ReadTextStyles(programFolder + "/STR_PRN.DEF");
    d.Figures.clear();
    d.DimOffset = 10.0;
    d.DimPitch = 5.0;
    d.ExtGap = 1.0;
    d.TextGap = 1.0;
    d.CurrentLineStyle = 1;
    d.CurrentTextStyle = 2;
    d.ClearBuffer();

    const double Lx = calc.CalcLx[caseNo];
    const double Ly = calc.CalcLy[caseNo];
    const double QA = calc.CalcQA[caseNo];
    const double QB = calc.CalcQB[caseNo];
    const int n = calc.CalcPointCount[caseNo];
    // A zero span would divide by zero in the scale below; the result would be
    // infinite coordinates. The diagram cannot be formed: fail it.
    if (!(std::isfinite(Lx) && Lx > 0.0)) {
        throw ReportError("the span Lx of case " + std::to_string(caseNo) +
                          " is not positive: the diagram's scale cannot be formed");
    }
    if (!(std::isfinite(Ly) && Ly > 0.0)) {
        throw ReportError("the span Ly of case " + std::to_string(caseNo) +
                          " is not positive: the diagram's scale cannot be formed");
    }
    if (n < 2 || n > MaxPoints) {
        throw ReportError("case " + std::to_string(caseNo) + " has no result points");
    }
    RequireFiniteInput(QA, "QA", caseNo);
    RequireFiniteInput(QB, "QB", caseNo);
    for (int j = 1; j <= 3; ++j) {
        for (int k = 1; k <= n; ++k) {
            RequireFiniteInput(calc.CalcMx[caseNo](j, k), "a moment Mx", caseNo);
            RequireFiniteInput(calc.CalcMy[caseNo](j, k), "a moment My", caseNo);
        }
    }

    const double W = width;
    const double H = height;
    const double h = d.TextHeight(TextStyleNo);
    auto w = [&](const std::string& text) { return d.TextWidth(TextStyleNo, text); };
    auto text = [&](const std::string& s, std::int32_t dir, double x, double y) {
        d.AddText(s, TextStyleNo, dir, x, y);
    };
    auto segment = [&](double xa, double ya, double xb, double yb, std::int32_t style) {
        const int p = d.AddPoint(xa, ya);
        d.AddPoint(xb, yb);
        d.AddLine(p, p + 1, style);
        return p;
    };

    // 2. Scale: the common scale S, each axis raised to its minimum drawn size
    // (60 mm across the member, 15 mm per point interval along the span).
    double sx = 0.0;
    double sy = 0.0;
    if (upright) {
        const double S = std::min((W - 45.0) / Ly, (H - 35.0) / Lx);
        sx = std::max(60.0 / Ly, S);
        sy = std::max((n - 1) * 15.0 / Lx, S);
    } else {
        const double S = std::min((W - 35.0) / Lx, (H - 45.0) / Ly);
        sx = std::max((n - 1) * 15.0 / Lx, S);
        sy = std::max(60.0 / Ly, S);
    }

    // 3. Outline, points 1..4 clockwise from the upper left.
    if (upright) {
        d.AddPoint(-Ly / 2.0 * sx, 0.0);
        d.AddPoint(Ly / 2.0 * sx, 0.0);
        d.AddPoint(Ly / 2.0 * sx, -Lx * sy);
        d.AddPoint(-Ly / 2.0 * sx, -Lx * sy);
    } else {
        d.AddPoint(0.0, Ly / 2.0 * sy);
        d.AddPoint(Lx * sx, Ly / 2.0 * sy);
        d.AddPoint(Lx * sx, -Ly / 2.0 * sy);
        d.AddPoint(0.0, -Ly / 2.0 * sy);
    }
    d.AddLine(1, 2, OutlineStyle);
    d.AddLine(2, 3, OutlineStyle);
    d.AddLine(3, 4, OutlineStyle);
    d.AddLine(4, 1, OutlineStyle);
    const double x1 = d.Points[1].x;
    const double y1 = d.Points[1].y;
    const double x2 = d.Points[2].x;
    const double y4 = d.Points[4].y;

    // 4. Centre line.
    if (upright) {
        segment(0.0, 20.0, 0.0, 0.0, CentreStyle);
        text("CL", Direction::Right, -w("CL") / 2.0, 20.0 + d.TextGap);
    } else {
        segment(-15.0, 0.0, 0.0, 0.0, CentreStyle);
        text("CL", Direction::Right, -15.0 - w("CL") - d.TextGap, -h / 2.0);
    }

    // 5. Headings over the two halves (the slab names its rows instead).
    if (upright) {
        text("Mx", Direction::Right, x1 * 0.5 - w("Mx") / 2.0, y1 + 15.0);
        text("My", Direction::Right, x2 * 0.5 - w("My") / 2.0, y1 + 15.0);
    }

    // Position of point k along the span and of row line i across the member.
    auto along = [&](int k) {
        return upright ? Lx / (n - 1) * (k - 1) * sy + y4 : Lx / (n - 1) * (k - 1) * sx + x1;
    };
    auto across = [&](int i) {
        return upright ? Ly / 4.0 * (i - 1) * sx + x1 : Ly / 4.0 * (i - 1) * sy + y4;
    };

    // 6. Point lines: labels at every point, grid lines between the edges.
    for (int k = 1; k <= n; ++k) {
        const std::string label = PointLabels[static_cast<std::size_t>(k - 1)];
        const double p = along(k);
        if (upright) {
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

    // 7. Row lines: edges, quarter lines and centre line.
    for (int i = 1; i <= 5; ++i) {
        const std::string label = rules.rowLabels[static_cast<std::size_t>(i - 1)];
        const double p = across(i);
        if (upright) {
            text(label, Direction::Right, p - w(label) / 2.0, y1 + 10.0);
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

    // 8.-10. Spans as dimension lines.
    const int keta = calc.CalcKeta[caseNo];
    const std::string lxText = SpanText('x', Lx, keta);
    const std::string lyText = SpanText('y', Ly, keta);
    if (upright) {
        d.AddVerticalDimension(3, 2, x2 + d.DimOffset + d.DimPitch, 1, lxText, DimensionFlags);
        d.AddHorizontalDimension(4, 3, y4 - d.DimOffset, 1, lyText, DimensionFlags);
    } else {
        d.AddHorizontalDimension(4, 3, y4 - d.DimOffset - d.DimPitch, 1, lxText, DimensionFlags);
        d.AddVerticalDimension(3, 2, x2 + d.DimOffset + d.DimPitch, 1, lyText, DimensionFlags);
    }

    // 11., 12. Moments at every node: row 1 on the centre line, row 2 on the
    // quarter line, row 3 on the edge; Mx on one half, My on the other.
    const MomentGrid& mx = calc.CalcMx[caseNo];
    const MomentGrid& my = calc.CalcMy[caseNo];
    for (int j = 1; j <= 3; ++j) {
        const double offset = upright ? Ly / 4.0 * (j - 1) * sx : Ly / 4.0 * (j - 1) * sy;
        for (int k = 1; k <= n; ++k) {
            const std::string s = FormatNumber(mx(j, k), MomentPicture);
            const double p = along(k);
            if (upright) {
                text(s, Direction::Up, -offset - d.TextGap, p + d.TextGap);
            } else {
                text(s, Direction::Right, p + d.TextGap, offset + d.TextGap);
            }
        }
    }
    for (int j = 1; j <= 3; ++j) {
        const double offset = upright ? Ly / 4.0 * (j - 1) * sx : Ly / 4.0 * (j - 1) * sy;
        for (int k = 1; k <= n; ++k) {
            const std::string s = FormatNumber(my(j, k), MomentPicture);
            const double p = along(k);
            if (upright) {
                text(s, Direction::Right, offset + d.TextGap, p + d.TextGap);
            } else {
                // Running upward, ending 1 mm below the node.
                text(s, Direction::Up, p - d.TextGap, -offset - d.TextGap - w(s));
            }
        }
    }

    // 13. Load diagram: the larger load (by magnitude, a tie takes QB) is
    // drawn 15 mm long; the base line stands 15 mm off the member, or 30 mm
    // when that load is not positive so that the load line clears the member.
    if (loadFlag == 1) {
        const double qmax = std::fabs(QB) >= std::fabs(QA) ? QB : QA;
        const double qs = std::fabs(qmax) > 0.001 ? 15.0 / std::fabs(qmax) : 0.0;
        const std::string qaText = "QA=" + FormatNumber(QA, LoadPicture);
        const std::string qbText = "QB=" + FormatNumber(QB, LoadPicture);
        const double span = upright ? sy * Lx : sx * Lx;
        const double mf = std::floor(span / 5.0);  // one hatch line about every 5 mm
        if (!(mf >= 1.0 && mf < MaxDrawLines)) {
            throw ReportError("case " + std::to_string(caseNo) +
                              ": the load diagram needs more hatch lines than a drawing holds");
        }
        const int m = static_cast<int>(mf);
        if (upright) {
            const double x0 = qmax > 0.0 ? x1 - d.DimOffset - d.DimPitch
                                         : x1 - d.DimOffset - d.DimPitch - 15.0;
            const int p = d.AddPoint(x0, y1);
            d.AddPoint(x0, y4);
            d.AddPoint(x0 - qs * QA, y4);
            d.AddPoint(x0 - qs * QB, y1);
            d.AddLine(p, p + 1, OutlineStyle);
            d.AddLine(p + 2, p + 3, ThinStyle);
            text(qaText, Direction::Right, qmax > 0.0 ? x0 - w(qaText) : x0, y4 - d.TextGap - h);
            text(qbText, Direction::Right, qmax > 0.0 ? x0 - w(qbText) : x0, y1 + d.TextGap);
            for (int t = 1; t <= m + 1; ++t) {
                const double dist = (t - 1) * Lx / m;
                const double q = ((QB - QA) * dist / Lx + QA) * qs;
                const int hp = segment(x0, dist * sy + y4, x0 - q, dist * sy + y4, ThinStyle);
                if (std::fabs(q) > 0.5) {
                    d.AddArrow(hp, q > 0.0 ? Direction::Right : Direction::Left, ThinStyle);
                }
            }
        } else {
            const double y0 = qmax > 0.0 ? y4 - d.DimOffset - d.DimPitch - d.DimPitch
                                         : y4 - d.DimOffset - d.DimPitch - d.DimPitch - 15.0;
            const int p = d.AddPoint(x1, y0);
            d.AddPoint(x2, y0);
            d.AddPoint(x1, y0 - qs * QA);
            d.AddPoint(x2, y0 - qs * QB);
            d.AddLine(p, p + 1, OutlineStyle);
            d.AddLine(p + 2, p + 3, ThinStyle);
            text(qaText, Direction::Up, x1 - d.TextGap, qmax > 0.0 ? y0 - w(qaText) : y0);
            text(qbText, Direction::Up, x2 + d.TextGap + h, qmax > 0.0 ? y0 - w(qbText) : y0);
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

}

} // namespace ormavex
