#pragma once
// Paints the pages of a ReportDocument with QPainter, on any paint device:
// a screen widget, a printer, a PDF writer or an image.
//
// The painter is expected in device coordinates with the paper's top left
// corner at (0, 0); paint() maps millimetres to the device itself. Text is
// drawn in the report font (IPAGothic, a Japanese monospaced font), each run
// of characters from its own column, so the fixed-pitch columns hold whatever
// the font's metrics.

#include "core/report/ReportDocument.h"

#include <QFont>
#include <QString>

class QPainter;

namespace ormavex::render {

// The page model the renderer paints: the core's, read from the print file.
using printfile::Dash;
using printfile::DashPattern;
using printfile::LoadedDrawing;
using printfile::LoadedFigure;
using printfile::Page;
using printfile::PageSetup;
using printfile::PlacedFigure;
using printfile::PlacedText;
using printfile::ReportDocument;
using printfile::StyleTables;
using printfile::TextRun;

class PagePainter {
public:
    explicit PagePainter(const ReportDocument& doc);

    /// The family used for every text; IPAGothic when it is installed.
    static QString FontFamily();

    /// Paints page `index` (0-based; nothing for an index out of range).
    /// `dotsPerMm` is the device's resolution.
    void paint(QPainter& painter, int index, double dotsPerMm) const;

private:
    void paintText(QPainter& p, const PlacedText& t) const;
    void paintFigure(QPainter& p, const PlacedFigure& f) const;
    void paintDrawing(QPainter& p, const PlacedFigure& f, const LoadedDrawing& d) const;
    void paintNote(QPainter& p, const PlacedFigure& f) const;
    void paintFooter(QPainter& p, int index) const;

    const ReportDocument& m_doc;
    QFont m_textFont;
    QFont m_heading1Font;
    QFont m_heading2Font;
    double m_baselineOffset = 0.0; // top of line box to base line, in painter units
};

} // namespace ormavex::render
