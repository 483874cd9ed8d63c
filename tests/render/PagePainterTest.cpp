// Painting: a small drawing rendered to an image, with pixels checked at the
// positions the offsets, the y flip, the text directions and the arrow
// directions put them; the writer's real diagrams read back without a
// problem; PDF output through the library and the command line.

#include "render/PagePainter.h"
#include "core/app/Version.h"
#include "core/drawing/basResOutZuMdS.h"
#include "core/drawing/basResOutZuMdT.h"
#include "core/report/ReportDocument.h"
#include "core/report/basResOutPrn.h"
#include "core/text/ShiftJis.h"
#include "render/PdfExport.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

namespace ormavex::render {
namespace {

using namespace printfile;
using printfile::PrintLine; // not the report writer's function of that name

constexpr double kDotsPerMm = 8.0;

class PixelPage {
public:
    explicit PixelPage(const ReportDocument& doc, int page = 0)
        : m_image(static_cast<int>(210 * kDotsPerMm), static_cast<int>(297 * kDotsPerMm),
                  QImage::Format_RGB32) {
        m_image.fill(Qt::white);
        QPainter p(&m_image);
        PagePainter(doc).paint(p, page, kDotsPerMm);
    }

    /// Share of dark pixels in a rectangle given in page millimetres.
    double ink(double x, double y, double w, double h) const {
        int dark = 0;
        int all = 0;
        for (int py = static_cast<int>(y * kDotsPerMm); py < static_cast<int>((y + h) * kDotsPerMm);
             ++py) {
            for (int px = static_cast<int>(x * kDotsPerMm);
                 px < static_cast<int>((x + w) * kDotsPerMm); ++px) {
                ++all;
                dark += qGray(m_image.pixel(px, py)) < 128 ? 1 : 0;
            }
        }
        return all == 0 ? 0.0 : static_cast<double>(dark) / all;
    }
    /// Reddish pixels (the colour of notes) in a rectangle.
    bool hasNoteColour(double x, double y, double w, double h) const {
        for (int py = static_cast<int>(y * kDotsPerMm); py < static_cast<int>((y + h) * kDotsPerMm);
             ++py) {
            for (int px = static_cast<int>(x * kDotsPerMm);
                 px < static_cast<int>((x + w) * kDotsPerMm); ++px) {
                QColor c = m_image.pixelColor(px, py);
                if (c.red() > 120 && c.green() < 80 && c.blue() < 80) {
                    return true;
                }
            }
        }
        return false;
    }

    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// One figure of area 100 x 50 mm placed at the top of the page at column 0,
// holding one drawing with offsets (10, 5).
struct OneFigure {
    ReportDocument doc;
    double fx = 0.0; // area's left edge on the page
    double fy = 0.0; // area's top edge on the page

    explicit OneFigure(const DrawingCommandFile& d) {
        auto fig = std::make_shared<LoadedFigure>();
        fig->file.width = 100.0;
        fig->file.height = 50.0;
        LoadedDrawing ld;
        ld.drawing = d;
        ld.offsetX = 10.0;
        ld.offsetY = 5.0;
        fig->drawings.push_back(ld);
        PrintLine line;
        line.kind = PrintLine::Kind::Figure;
        PrintFileContent c;
        c.lines = {line};
        doc.pages = Paginate(
            c, [fig](const PrintLine&) { return fig; }, doc.setup);
        fx = doc.setup.leftMargin;
        fy = doc.setup.topMargin;
    }

    // Page position of a drawing point.
    double px(double x) const { return fx + x + 10.0; }
    double py(double y) const { return fy + 50.0 - (y + 5.0); }
};

DrawingCommandFile WithPoints(std::initializer_list<std::pair<int, DrawPoint>> pts) {
    DrawingCommandFile d;
    for (const auto& [n, p] : pts) {
        d.points[n] = p;
    }
    return d;
}

TEST(PagePainterTest, LinesAreOffsetAndDrawnWithYUpward) {
    DrawingCommandFile d = WithPoints({{1, {0, 0}}, {2, {50, 0}}});
    d.lines.push_back(DrawLine{1, 2, 3}); // 0.5 mm
    OneFigure f(d);
    PixelPage page(f.doc);
    EXPECT_GT(page.ink(f.px(20), f.py(0) - 0.2, 10, 0.4), 0.8); // 45 mm below the area's top
    EXPECT_EQ(page.ink(f.px(20), f.fy + 4, 10, 2), 0.0);        // where an unflipped y would put it
    EXPECT_EQ(page.ink(f.px(55), f.py(0) - 0.2, 5, 0.4), 0.0);  // beyond its end
}

TEST(PagePainterTest, ADrawingTallerThanItsAreaIsShrunkIntoIt) {
    // 90 mm of line on a 50 mm area: drawn 50 mm long, centred, nothing above
    // or below the area.
    DrawingCommandFile d = WithPoints({{1, {40, -20}}, {2, {40, 70}}});
    d.lines.push_back(DrawLine{1, 2, 3});
    d.hasExtents = true;
    d.extents = {0.0, 90.0, {40.0, -20.0, 40.0, 70.0}};
    OneFigure f(d);
    PixelPage page(f.doc);
    const double x = f.fx + 50.0; // the area's centre line
    EXPECT_EQ(page.ink(x - 2, f.fy - 10, 4, 9.5), 0.0);
    EXPECT_EQ(page.ink(x - 2, f.fy + 50.5, 4, 9.5), 0.0);
    EXPECT_GT(page.ink(x - 2, f.fy + 1, 4, 48), 0.05);
}

TEST(PagePainterTest, AnArcEndingAtItsStartIsAWholeCircle) {
    DrawingCommandFile d;
    d.arcs.push_back(DrawArc{{40, 20}, 10.0, 90.0, 90.0, 3});
    d.arcs.push_back(DrawArc{{70, 20}, 10.0, 0.0, 180.0, 3}); // the upper half
    OneFigure f(d);
    PixelPage page(f.doc);
    EXPECT_GT(page.ink(f.px(40) - 0.5, f.py(10) - 0.2, 1, 0.4), 0.3); // lowest point
    EXPECT_GT(page.ink(f.px(70) - 0.5, f.py(30) - 0.2, 1, 0.4), 0.3);
    EXPECT_EQ(page.ink(f.px(70) - 0.5, f.py(10) - 0.5, 1, 1), 0.0);
}

TEST(PagePainterTest, DashedStyleLeavesGaps) {
    DrawingCommandFile d = WithPoints({{1, {0, 10}}, {2, {60, 10}}});
    d.lines.push_back(DrawLine{1, 2, 7}); // chain line
    OneFigure f(d);
    PixelPage page(f.doc);
    const double share = page.ink(f.px(0), f.py(10) - 0.3, 60, 0.6);
    EXPECT_GT(share, 0.1);
    EXPECT_LT(share, 0.6);
}

TEST(PagePainterTest, TextsRunInTheirDirectionFromTheStartOfTheBaseLine) {
    const double h = StyleTables().textHeightMm(2); // 3.175 mm
    DrawingCommandFile d;
    d.texts.push_back(DrawText{"ＭＭＭＭ", 2, 3, 0.0, 20.0}); // 4h wide, to the right
    d.texts.push_back(DrawText{"ＭＭＭＭ", 2, 1, 80.0, 0.0}); // 4h long, upward, left of x
    OneFigure f(d);
    PixelPage page(f.doc);
    // Direction 3: x .. x + 4h, y .. y + h (page: above the base line).
    EXPECT_GT(page.ink(f.px(0.5), f.py(20 + h) + 0.3, 4 * h - 1, h - 0.6), 0.2);
    EXPECT_EQ(page.ink(f.px(4 * h + 0.5), f.py(20 + h), 5, h), 0.0);
    EXPECT_EQ(page.ink(f.px(0.5), f.py(20) + 0.8, 4 * h, 3), 0.0);
    // Direction 1: x - h .. x, y .. y + 4h.
    EXPECT_GT(page.ink(f.px(80 - h) + 0.3, f.py(4 * h) + 0.5, h - 0.6, 4 * h - 1), 0.2);
    EXPECT_EQ(page.ink(f.px(80) + 0.8, f.py(4 * h), 3, 4 * h), 0.0);
    EXPECT_EQ(page.ink(f.px(80 - h), f.py(0) + 0.8, h, 3), 0.0);
}

TEST(PagePainterTest, ArrowHeadsPointAlongTheirDirection) {
    DrawingCommandFile d = WithPoints({{1, {20, 20}}, {2, {60, 20}}, {3, {40, 5}}, {4, {40, 40}}});
    d.arrows = {DrawArrow{1, 7, 1}, DrawArrow{2, 3, 1}, DrawArrow{3, 1, 1}, DrawArrow{4, 5, 1}};
    OneFigure f(d);
    PixelPage page(f.doc);
    // Left-pointing head at point 1: ink to the right of the tip, none to the left.
    EXPECT_GT(page.ink(f.px(21.2), f.py(20) - 0.2, 0.8, 0.4), 0.5);
    EXPECT_EQ(page.ink(f.px(17.5), f.py(20) - 0.5, 2, 1), 0.0);
    // Right-pointing at point 2: ink to its left.
    EXPECT_GT(page.ink(f.px(58.0), f.py(20) - 0.2, 0.8, 0.4), 0.5);
    EXPECT_EQ(page.ink(f.px(60.5), f.py(20) - 0.5, 2, 1), 0.0);
    // Up at point 3: ink below the tip (larger page y).
    EXPECT_GT(page.ink(f.px(40) - 0.2, f.py(5) + 1.2, 0.4, 0.8), 0.5);
    EXPECT_EQ(page.ink(f.px(40) - 0.5, f.py(5) - 2.5, 1, 2), 0.0);
    // Down at point 4: ink above the tip.
    EXPECT_GT(page.ink(f.px(40) - 0.2, f.py(40) - 2.0, 0.4, 0.8), 0.5);
    EXPECT_EQ(page.ink(f.px(40) - 0.5, f.py(40) + 0.5, 1, 2), 0.0);
}

TEST(PagePainterTest, TextLinesSitInTheirColumns) {
    PrintFileContent c = ParsePrintFile(ToShiftJis("          ■") + "\r\n"); // column 10
    ReportDocument doc;
    doc.pages = Paginate(c, nullptr, doc.setup);
    PixelPage page(doc);
    const PageSetup& s = doc.setup;
    EXPECT_GT(page.ink(s.columnX(10) + 0.3, s.topMargin + 1.0, 2 * s.columnWidth - 0.6, 3.0), 0.5);
    EXPECT_EQ(page.ink(s.leftMargin, s.topMargin, 10 * s.columnWidth - 0.3, s.linePitch), 0.0);
    EXPECT_EQ(page.ink(s.columnX(12) + 0.3, s.topMargin, 20, s.linePitch), 0.0);
}

TEST(PagePainterTest, FigureThatCannotBeDrawnShowsANoteInItsPlace) {
    test::TempDir dir;
    test::WriteSjisLines(dir.file("p.tmp"), {"  ?FG;000;000;" + dir.file("missing.tmp")});
    ReportDocument doc;
    ASSERT_TRUE(BuildReportDocument(dir.file("p.tmp"), dir.path(), doc, nullptr));
    PixelPage page(doc);
    const PlacedFigure& f = doc.pages[0].figures[0];
    EXPECT_TRUE(page.hasNoteColour(f.x, f.y, f.width, f.height));
}

// The section force diagrams of the drawing writer, read back and painted:
// no warning, every primitive placed inside the figure area.
struct CaseArrays {
    std::unique_ptr<CalcArrays> calc = std::make_unique<CalcArrays>();

    CaseArrays(double lx, double ly, int points) {
        CalcArrays& c = *calc;
        c.CalcType[1] = points == 9 ? 1 : 5;
        c.CalcKeta[1] = 2;
        c.CalcLx[1] = lx;
        c.CalcLy[1] = ly;
        c.CalcRamuda[1] = lx / ly;
        c.CalcQA[1] = 185.4;
        c.CalcQB[1] = 132.6;
        c.CalcRowCount[1] = 3;
        c.CalcPointCount[1] = points;
        for (int j = 1; j <= 3; ++j) {
            for (int k = 1; k <= points; ++k) {
                c.CalcMx[1](j, k) = -123.45 + 10 * j + k;
                c.CalcMy[1](j, k) = 234.56 - 10 * j - k;
            }
        }
    }
};

class WriterRoundTripTest : public ::testing::TestWithParam<bool> {};

TEST_P(WriterRoundTripTest, DiagramReadsBackWithoutProblemsAndInsideItsArea) {
    const bool slab = GetParam();
    const std::string data = std::string(ORMAVEX_SOURCE_DIR) + "/data";
    CaseArrays arrays(4.0, 5.0, 9);
    DrawingContext drawing;
    PrintFileLists lists;
    const std::string figure = slab ? DrawBottomSlabDiagram(drawing, DrawingPrintFilesOf(lists),
                                                            *arrays.calc, data, 1, 1, 140.0, 160.0)
                                    : DrawFrontWallDiagram(drawing, DrawingPrintFilesOf(lists),
                                                           *arrays.calc, data, 1, 1, 140.0, 160.0);
    std::shared_ptr<const LoadedFigure> fig = LoadFigure(figure);
    for (int i = 0; i < lists.drawingCount; ++i) {
        std::remove(lists.drawing[static_cast<std::size_t>(i)].c_str());
    }
    ASSERT_TRUE(fig->error.empty()) << fig->error;
    EXPECT_TRUE(fig->problems().empty()) << fig->problems().front();
    ASSERT_EQ(fig->drawings.size(), 1u);
    const LoadedDrawing& d = fig->drawings[0];
    EXPECT_GT(d.drawing.texts.size(), 60u); // 2 x 27 moments and the labels
    EXPECT_EQ(d.drawing.title2, slab ? "底版断面力図" : "前壁断面力図");
    // The figure file centres the drawing on the 140 x 160 area.
    ASSERT_TRUE(d.drawing.hasExtents);
    const DrawingBounds& e = d.drawing.extents.bounds;
    EXPECT_NEAR((e.minX + e.maxX) / 2 + d.offsetX, 70.0, 0.01);
    EXPECT_NEAR((e.minY + e.maxY) / 2 + d.offsetY, 80.0, 0.01);
    for (const auto& [n, p] : d.drawing.points) {
        EXPECT_GE(p.x, e.minX - 0.01) << n;
        EXPECT_LE(p.y, e.maxY + 0.01) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Members, WriterRoundTripTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BottomSlab" : "FrontWall"; });

// --- PDF output ---------------------------------------------------------------

TEST(PdfExportTest, WritesOnePdfPagePerPage) {
    test::TempDir dir;
    std::string bytes = ToShiftJis("?R1第１章") + "\r\n\f" + ToShiftJis("２ページ目") + "\r\n";
    test::WriteBytes(dir.file("p.tmp"), bytes);
    std::string error;
    ASSERT_TRUE(ExportPrintFileToPdf(dir.file("p.tmp"), dir.file("out.pdf"), dir.path(), &error))
        << error;
    const std::string pdf = test::ReadBytes(dir.file("out.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(pdf.find("IPAGothic"), std::string::npos); // the Japanese font is embedded

    // The producer is this program's version, and after it was put in every
    // object still starts where the cross-reference table says.
    EXPECT_NE(pdf.find(std::string("/Producer (Ormavex ") + kVersion + ")"), std::string::npos);
    const std::size_t xref = pdf.find("\nxref\n");
    ASSERT_NE(xref, std::string::npos);
    std::istringstream table(pdf.substr(xref + 6));
    int first = 0;
    int count = 0;
    table >> first >> count;
    ASSERT_GT(count, 2);
    for (int n = first; n < first + count; ++n) {
        std::string offset;
        std::string generation;
        std::string use;
        table >> offset >> generation >> use;
        const std::string object = std::to_string(n) + " 0 obj";
        if (use == "n") {
            EXPECT_EQ(pdf.compare(std::stoul(offset), object.size(), object), 0) << object;
        }
    }
}

TEST(PdfExportTest, FailsClearlyForAMissingPrintFileOrAnUnwritablePdf) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(ExportPrintFileToPdf(dir.file("none.tmp"), dir.file("o.pdf"), dir.path(), &error));
    EXPECT_FALSE(error.empty());
    test::WriteBytes(dir.file("p.tmp"), "x\r\n");
    error.clear();
    EXPECT_FALSE(ExportPrintFileToPdf(dir.file("p.tmp"), dir.file("no/such/folder/o.pdf"),
                                      dir.path(), &error));
    EXPECT_FALSE(error.empty());
}

// --- the command line ---------------------------------------------------------

std::string Preview() { return std::string(ORMAVEX_BIN_DIR) + "/ormavex-preview"; }

TEST(PreviewCommandTest, WritesPdfWithoutAWindowAndReportsBadInput) {
    test::TempDir dir;
    // Malformed figure and drawing files: the PDF is still written.
    test::WriteSjisLines(dir.file("d.tmp"),
                         {"a", "b", "garbage", "謎", "1, 2", "座標情報", "x, y"});
    test::WriteSjisLines(dir.file("f.tmp"), {"t", " 140  160 ", dir.file("d.tmp"), "bad", "END"});
    test::WriteSjisLines(dir.file("p.tmp"), {"text", "  ?FG;000;000;" + dir.file("f.tmp")});
    std::string out;
    std::string err;
    const std::string env = "QT_QPA_PLATFORM=offscreen ";
    EXPECT_EQ(
        test::RunCommand(env + Preview() + " --pdf " + dir.file("o.pdf") + " " + dir.file("p.tmp"),
                         &out, &err),
        0)
        << err;
    EXPECT_EQ(test::ReadBytes(dir.file("o.pdf")).rfind("%PDF", 0), 0u);

    EXPECT_EQ(test::RunCommand(env + Preview() + " --pdf " + dir.file("o2.pdf") + " " +
                                   dir.file("missing.tmp"),
                               &out, &err),
              2);
    EXPECT_NE(err.find("missing.tmp"), std::string::npos);
    EXPECT_EQ(test::RunCommand(env + Preview() + " --pdf", &out, &err), 1);
    EXPECT_EQ(test::RunCommand(env + Preview() + " --pdf /no/such/dir/o.pdf " + dir.file("p.tmp"),
                               &out, &err),
              3);
}

} // namespace
} // namespace ormavex::render
