// Page painting: the bytes are a drawing command file, placed as the one
// drawing of a figure on a page after a few lines of text, and the page is
// painted onto a small image without a crash.

#include "FuzzSupport.h"

#include "core/report/PrintFile.h"
#include "core/report/ReportDocument.h"
#include "render/PagePainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "fuzz_paint";
    static char* argv[] = {name, nullptr};
    // Made once, and destroyed at exit so that its fonts are released.
    static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    (void)platform;
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex::printfile;
    using namespace ormavex::render;
    (void)App();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto figure = std::make_shared<LoadedFigure>();
    figure->file.width = 150.0;
    figure->file.height = 100.0;
    LoadedDrawing d;
    if (ormavex::Error error; !ormavex::ParseDrawingCommandFile(bytes, d.drawing, &error)) {
        d.error = error.message();
    }
    figure->drawings.push_back(std::move(d));

    ReportDocument doc;
    const PrintFileContent content =
        ParsePrintFile("?R1 1 \x8c\x9f\x93\xa2\r\nline\r\n?FG;150;100;x.fig\r\n");
    doc.pages = Paginate(
        content, [&](const PrintLine&) { return std::shared_ptr<const LoadedFigure>(figure); },
        doc.setup);
    QImage image(210, 297, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter pagePainter(doc);
    for (int i = 0; i < static_cast<int>(doc.pages.size()); ++i) {
        pagePainter.paint(painter, i, 1.0);
    }
    return 0;
}
