#include "render/PagePainter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ormavex::render {

namespace {

// Painter units per millimetre: the page is painted in 1/100 mm, so that font
// pixel sizes (whole numbers) hold text heights to 0.01 mm.
constexpr double kUnit = 100.0;

constexpr double kArrowLength = 2.2;    // mm
constexpr double kArrowHalfWidth = 0.6; // mm
constexpr double kMinPenWidth = 0.05;   // mm
constexpr double kNoteFontHeight = 2.8; // mm
const QColor kNoteColor(160, 0, 0);

double U(double mm) noexcept { return mm * kUnit; }

QFont MakeFont(double heightMm) {
    QFont f(PagePainter::FontFamily());
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(U(heightMm)))));
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Share of the em box below the base line; a text anchored at the start of
// its base line is drawn so that its em box spans exactly its height.
double DescentShare() {
    static const double share = [] {
        QFontMetricsF fm(MakeFont(10.0));
        const double total = fm.ascent() + fm.descent();
        return total > 0.0 ? fm.descent() / total : 0.12;
    }();
    return share;
}

QPen PenFor(const LineStyle& style, double scale) {
    const double widthMm = std::max(style.width / 100.0, kMinPenWidth) * scale;
    QPen pen(Qt::black, U(widthMm));
    pen.setJoinStyle(Qt::MiterJoin);
    // Dash lengths in millimetres; Qt counts them in pen widths.
    std::vector<double> mm;
    switch (Dash(style)) {
    case DashPattern::Solid: pen.setCapStyle(Qt::SquareCap); return pen;
    case DashPattern::Dashed: mm = {3.0, 1.5}; break;
    case DashPattern::Dotted: mm = {0.5, 1.0}; break;
    case DashPattern::Chain: mm = {6.0, 1.0, 0.8, 1.0}; break;
    case DashPattern::TwoDotChain: mm = {6.0, 1.0, 0.8, 1.0, 0.8, 1.0}; break;
    }
    QList<qreal> pattern;
    for (double v : mm) {
        pattern.append(v * scale / widthMm);
    }
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(pattern);
    return pen;
}

} // namespace

PagePainter::PagePainter(const ReportDocument& doc) : m_doc(doc) {
    const PageSetup& s = doc.setup;
    m_textFont = MakeFont(s.fontHeight);
    m_heading1Font = m_textFont;
    m_heading1Font.setBold(true);
    m_heading1Font.setUnderline(true);
    m_heading2Font = m_textFont;
    m_heading2Font.setBold(true);
    const double em = U(s.fontHeight);
    m_baselineOffset = (U(s.linePitch) - em) / 2.0 + em * (1.0 - DescentShare());
}

QString PagePainter::FontFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* name :
             {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "Monospace"}) {
            const QString n = QString::fromUtf8(name);
            if (families.contains(n)) {
                return n;
            }
        }
        return QString::fromUtf8("Monospace");
    }();
    return family;
}

void PagePainter::paint(QPainter& p, int index, double dotsPerMm) const {
    if (index < 0 || index >= static_cast<int>(m_doc.pages.size())) {
        return;
    }
    const Page& page = m_doc.pages[static_cast<std::size_t>(index)];
    p.save();
    p.scale(dotsPerMm / kUnit, dotsPerMm / kUnit);
    p.setClipRect(QRectF(0, 0, U(m_doc.setup.paperWidth), U(m_doc.setup.paperHeight)));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Qt::black);
    for (const PlacedText& t : page.texts) {
        paintText(p, t);
    }
    for (const PlacedFigure& f : page.figures) {
        paintFigure(p, f);
    }
    paintFooter(p, index);
    p.restore();
}

void PagePainter::paintText(QPainter& p, const PlacedText& t) const {
    p.setFont(t.heading == 1 ? m_heading1Font : t.heading == 2 ? m_heading2Font : m_textFont);
    p.setPen(Qt::black);
    const double baseline = U(t.y) + m_baselineOffset;
    for (const TextRun& run : t.runs) {
        p.drawText(QPointF(U(m_doc.setup.columnX(run.column)), baseline),
                   QString::fromStdString(run.text));
    }
}

void PagePainter::paintFigure(QPainter& p, const PlacedFigure& f) const {
    if (!f.figure || !f.figure->error.empty()) {
        paintNote(p, f);
        return;
    }
    for (const LoadedDrawing& d : f.figure->drawings) {
        if (d.error.empty()) {
            paintDrawing(p, f, d);
        }
    }
    const std::vector<std::string> problems = f.figure->problems();
    if (!problems.empty()) {
        // What could not be drawn is listed at the foot of the figure area.
        QString text = QString::fromUtf8("※ 図の一部を描けません：");
        const std::size_t shown = std::min<std::size_t>(problems.size(), 4);
        for (std::size_t i = 0; i < shown; ++i) {
            text += QString::fromUtf8("\n") + QString::fromStdString(problems[i]);
        }
        p.setPen(kNoteColor);
        p.setFont(MakeFont(kNoteFontHeight));
        const double h = U(kNoteFontHeight * 1.25 * static_cast<double>(shown + 1));
        p.drawText(QRectF(U(f.x), U(f.y + f.height) - h, U(f.width), h),
                   Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, text);
    }
}

void PagePainter::paintNote(QPainter& p, const PlacedFigure& f) const {
    const QRectF area(U(f.x), U(f.y), U(f.width), U(f.height));
    QPen frame(kNoteColor, U(0.2));
    frame.setStyle(Qt::DashLine);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    QString text = QString::fromUtf8("図を表示できません：");
    if (!f.figure) {
        text += QString::fromUtf8("no figure");
    } else {
        text += QString::fromStdString(f.figure->error);
        if (!f.figure->path.empty()) {
            text += QString::fromUtf8("\n") + QString::fromStdString(f.figure->path);
        }
    }
    p.setPen(kNoteColor);
    p.setFont(MakeFont(kNoteFontHeight));
    p.drawText(area.adjusted(U(2), U(1), -U(2), -U(1)),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere, text);
}

void PagePainter::paintDrawing(QPainter& p, const PlacedFigure& f, const LoadedDrawing& d) const {
    const double s = f.scale;
    const double areaWidth = f.figure->file.width;
    const double areaHeight = f.figure->file.height;
    const DrawingCommandFile& dr = d.drawing;
    // A drawing that reaches past its figure area (its extents, placed by
    // the offset) is shrunk about its centre to fit the area, so that it
    // never runs into the text above or below the figure.
    double k = 1.0;
    double shiftX = 0.0;
    double shiftY = 0.0;
    {
        const DrawingBounds& b = dr.extents.bounds;
        const double left = b.minX + d.offsetX;
        const double bottom = b.minY + d.offsetY;
        const double right = b.maxX + d.offsetX;
        const double top = b.maxY + d.offsetY;
        constexpr double slack = 0.01;
        if (dr.hasExtents && right >= left && top >= bottom && areaWidth > 0.0 &&
            areaHeight > 0.0 &&
            (left < -slack || bottom < -slack || right > areaWidth + slack ||
             top > areaHeight + slack)) {
            if (right > left) {
                k = std::min(k, areaWidth / (right - left));
            }
            if (top > bottom) {
                k = std::min(k, areaHeight / (top - bottom));
            }
            shiftX = areaWidth / 2.0 - k * (left + right) / 2.0;
            shiftY = areaHeight / 2.0 - k * (bottom + top) / 2.0;
        }
    }
    // Drawing millimetres (y upward) to painter units (y downward).
    auto map = [&](double x, double y) {
        const double ax = (x + d.offsetX) * k + shiftX;
        const double ay = (y + d.offsetY) * k + shiftY;
        return QPointF(U(f.x + ax * s), U(f.y + (areaHeight - ay) * s));
    };
    p.setBrush(Qt::NoBrush);

    for (const DrawLine& l : dr.lines) {
        const DrawPoint* a = dr.point(l.point1);
        const DrawPoint* b = dr.point(l.point2);
        if (a == nullptr || b == nullptr) {
            continue; // counted as a problem when the figure was loaded
        }
        p.setPen(PenFor(m_doc.styles.line(l.style), s));
        p.drawLine(map(a->x, a->y), map(b->x, b->y));
    }
    for (const DrawRectangle& r : dr.rectangles) {
        const DrawPoint* a = dr.point(r.point1);
        const DrawPoint* b = dr.point(r.point2);
        if (a != nullptr && b != nullptr) {
            p.setPen(PenFor(m_doc.styles.line(r.style), s));
            p.drawRect(QRectF(map(a->x, a->y), map(b->x, b->y)).normalized());
        }
    }
    for (const DrawCircle& c : dr.circles) {
        const DrawPoint* centre = dr.point(c.centre);
        if (centre != nullptr && c.radius > 0.0) {
            p.setPen(PenFor(m_doc.styles.line(c.style), s));
            p.drawEllipse(map(centre->x, centre->y), U(c.radius * s * k), U(c.radius * s * k));
        }
    }
    for (const DrawArc& a : dr.arcs) {
        if (a.radius > 0.0) {
            const QPointF c = map(a.centre.x, a.centre.y);
            const double r = U(a.radius * s * k);
            double span = std::fmod(a.endAngle - a.startAngle, 360.0);
            if (span <= 0.0) {
                span += 360.0;
            }
            p.setPen(PenFor(m_doc.styles.line(a.style), s));
            p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r),
                      static_cast<int>(std::lround(a.startAngle * 16)),
                      static_cast<int>(std::lround(span * 16)));
        }
    }

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const DrawArrow& a : dr.arrows) {
        const DrawPoint* at = dr.point(a.point);
        double deg = 0.0;
        if (at == nullptr || !DirectionAngle(a.direction, deg)) {
            continue;
        }
        const double rad = deg * std::numbers::pi / 180.0;
        const double ux = std::cos(rad);
        const double uy = std::sin(rad);
        // Tip at the point, the base kArrowLength back along the direction.
        const double bx = at->x - ux * kArrowLength;
        const double by = at->y - uy * kArrowLength;
        QPolygonF tri;
        tri << map(at->x, at->y) << map(bx - uy * kArrowHalfWidth, by + ux * kArrowHalfWidth)
            << map(bx + uy * kArrowHalfWidth, by - ux * kArrowHalfWidth);
        p.drawPolygon(tri);
    }
    p.setBrush(Qt::NoBrush);

    p.setPen(Qt::black);
    const double descent = DescentShare();
    for (const DrawText& t : dr.texts) {
        double deg = 0.0;
        if (!DirectionAngle(t.direction, deg)) {
            deg = 0.0;
        }
        const TextStyle& style = m_doc.styles.text(t.style);
        const double h = m_doc.styles.textHeightMm(t.style) * s * k;
        QFont font = MakeFont(h);
        font.setBold(style.weight >= 600);
        font.setItalic(style.italic != 0);
        p.setFont(font);
        p.save();
        p.translate(map(t.x, t.y));
        p.rotate(-deg);
        p.drawText(QPointF(0.0, -U(h) * descent), QString::fromStdString(t.text));
        p.restore();
    }
}

void PagePainter::paintFooter(QPainter& p, int index) const {
    const PageSetup& s = m_doc.setup;
    const Page& page = m_doc.pages[static_cast<std::size_t>(index)];
    p.setPen(Qt::black);
    p.setFont(MakeFont(3.0));
    const QRectF foot(0, U(s.paperHeight - s.bottomMargin / 2 - 2.5), U(s.paperWidth), U(5.0));
    p.drawText(foot, Qt::AlignCenter, QString::fromUtf8("- %1 -").arg(index + 1));
    if (!page.note.empty()) {
        p.setPen(kNoteColor);
        p.setFont(MakeFont(kNoteFontHeight));
        p.drawText(
            QRectF(U(s.leftMargin), U(s.contentBottom() + 1.0), U(s.columnWidth * 80), U(4.0)),
            Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(page.note));
    }
}

} // namespace ormavex::render
