#include "gui/cases/PlatePicture.h"

#include "core/cases/CaseTable.h"
#include "core/text/NumberPicture.h"
#include "gui/common/Widgets.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

QString Num(double v, int places) {
    return Q(FormatNumber(v, places == 3 ? "#0.000" : "#,##0.00"));
}

/// A dimension line from a to b with arrow heads and ticks.
void DimensionLine(QPainter& p, QPointF a, QPointF b) {
    p.drawLine(a, b);
    const QPointF d = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF n(-d.y(), d.x());
    for (auto [tip, dir] : {std::pair{a, d}, std::pair{b, -d}}) {
        QPainterPath head;
        head.moveTo(tip);
        head.lineTo(tip + dir * 8 + n * 3);
        head.lineTo(tip + dir * 8 - n * 3);
        head.closeSubpath();
        p.fillPath(head, p.pen().color());
        p.drawLine(tip - n * 5, tip + n * 5);
    }
}

/// Hatching outside the edge from a to b; `out` points away from the plate.
void FixedEdge(QPainter& p, QPointF a, QPointF b, QPointF out) {
    p.save();
    p.setPen(QPen(Qt::black, 2.5));
    p.drawLine(a, b);
    p.setPen(QPen(Qt::black, 1));
    const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF d = (b - a) / len;
    for (double t = 4; t < len; t += 8) {
        const QPointF s = a + d * t;
        p.drawLine(s, s + out * 7 - d * 5);
    }
    p.restore();
}

} // namespace

PlatePicture::PlatePicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(300, 300);
    setObjectName("Image1");
}

void PlatePicture::setPlate(int typeIndex, double lx, double ly, double qa, double qb, int places) {
    m_type = typeIndex;
    m_lx = lx;
    m_ly = ly;
    m_qa = qa;
    m_qb = qb;
    m_places = places;
    update();
}

void PlatePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);

    const TableTypeInfo* type = TableType(m_type + 1);
    const QFontMetrics fm(font());
    const int line = fm.height();
    if (type) {
        p.drawText(QRectF(6, 4, width() - 12, line), Qt::AlignLeft, Q(type->optionText));
    }

    // Room for the caption and load diagram above, the Lx dimension below and
    // the Ly dimension on the left; the plate keeps its proportions within
    // 1:3 and 3:1 so that a long plate still shows both spans.
    const double areaTop = 2 * line + 70;
    const QRectF area(60, areaTop, width() - 110, height() - areaTop - 50);
    double aspect = (m_lx > 0 && m_ly > 0) ? m_lx / m_ly : 1.0;
    aspect = std::clamp(aspect, 1.0 / 3.0, 3.0);
    double w = area.width();
    double h = w / aspect;
    if (h > area.height()) {
        h = area.height();
        w = h * aspect;
    }
    const QRectF plate(area.left() + (area.width() - w) / 2, area.top() + (area.height() - h) / 2,
                       w, h);
    p.fillRect(plate, QColor(235, 240, 248));

    const bool free = type && type->freeEdge;
    FixedEdge(p, plate.topLeft(), plate.bottomLeft(), {-1, 0});
    FixedEdge(p, plate.topLeft(), plate.topRight(), {0, -1});
    FixedEdge(p, plate.bottomLeft(), plate.bottomRight(), {0, 1});
    if (free) {
        p.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        p.drawLine(plate.topRight(), plate.bottomRight());
        p.setPen(Qt::black);
        p.drawText(QRectF(plate.right() + 4, plate.center().y() - line / 2.0, 60, line),
                   Qt::AlignLeft, QStringLiteral("自由"));
    } else {
        FixedEdge(p, plate.topRight(), plate.bottomRight(), {1, 0});
    }

    // Load along Lx: QA at x = 0, QB at x = Lx, drawn above the plate.
    const double peak = std::max({std::fabs(m_qa), std::fabs(m_qb), 1e-9});
    const double base = plate.top() - 14;
    const double scale = 40.0 / peak;
    const QPointF a0(plate.left(), base), b0(plate.right(), base);
    const QPointF a1(plate.left(), base - std::fabs(m_qa) * scale);
    const QPointF b1(plate.right(), base - std::fabs(m_qb) * scale);
    QPainterPath load;
    load.addPolygon(QPolygonF({a0, a1, b1, b0}));
    load.closeSubpath();
    p.fillPath(load, QColor(250, 225, 200));
    p.setPen(QPen(QColor(170, 80, 20), 1.2));
    p.drawPath(load);
    p.setPen(Qt::black);
    p.drawText(QRectF(a1.x() - 55, std::min(a1.y(), base - 2) - line - 2, 110, line),
               Qt::AlignCenter, "QA=" + Num(m_qa, 2));
    p.drawText(QRectF(b1.x() - 55, std::min(b1.y(), base - 2) - line - 2, 110, line),
               Qt::AlignCenter, "QB=" + Num(m_qb, 2));

    p.setPen(QPen(Qt::darkBlue, 1));
    const double dimY = plate.bottom() + 24;
    DimensionLine(p, {plate.left(), dimY}, {plate.right(), dimY});
    p.drawText(QRectF(plate.left(), dimY + 2, plate.width(), line), Qt::AlignCenter,
               "Lx=" + Num(m_lx, m_places));
    const double dimX = plate.left() - 26;
    DimensionLine(p, {dimX, plate.top()}, {dimX, plate.bottom()});
    p.save();
    p.translate(dimX - 4, plate.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-plate.height() / 2, -line, plate.height(), line), Qt::AlignCenter,
               "Ly=" + Num(m_ly, m_places));
    p.restore();
}

} // namespace ormavex::gui
