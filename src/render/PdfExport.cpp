#include "render/PdfExport.h"

#include "render/PagePainter.h"

#include "core/app/Version.h"
#include "core/text/FileReplace.h"
#include "core/text/TextFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <memory>

namespace ormavex::render {

namespace {

constexpr int kPdfResolution = 600;

QPageLayout A4Layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QtMessageHandler g_previousHandler = nullptr;

void HeadlessMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtWarningMsg && msg.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, msg);
    } else {
        qt_message_output(type, context, msg);
    }
}

// The renderer needs a QGuiApplication for its fonts. Command-line callers
// have none: make one for the call, on the offscreen platform unless the
// caller chose another, so that no display is needed.
class GuiApplicationScope {
public:
    GuiApplicationScope() {
        if (QCoreApplication::instance() != nullptr) {
            return;
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        FilterHeadlessQtMessages();
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }

    bool usable() const {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    }

private:
    int m_argc = 1;
    char m_name[8] = "ormavex";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

// Qt writes its own name as the document's producer and offers no setter.
// The document information dictionary is the first object of the file: the
// producer's string there is replaced by `producer` and padded with blanks to
// the same length, so that every byte offset of the cross-reference table
// stays valid. A producer that does not fit leaves the bytes as they are.
void StampProducer(QByteArray& pdf, const QByteArray& producer) {
    const QByteArray head = pdf.left(4096);
    const QByteArray key = "\n/Producer (";
    const qsizetype keyAt = head.indexOf(key);
    if (keyAt < 0) {
        return;
    }
    const qsizetype open = keyAt + key.size() - 1;
    qsizetype close = -1;
    for (qsizetype i = open + 1; i < head.size(); ++i) {
        if (head[i] == '\\') {
            ++i; // an escaped byte, possibly a parenthesis
        } else if (head[i] == ')') {
            close = i;
            break;
        }
    }
    const QByteArray literal = "(" + producer + ")";
    const qsizetype span = close - open + 1;
    if (close < 0 || literal.size() > span) {
        return;
    }
    pdf.replace(open, span, literal + QByteArray(span - literal.size(), ' '));
}

// Paints every page onto a paged device whose painter is active, starting a
// new device page before each page after the first. The device is A4
// portrait with its origin at the paper's corner.
void PaintAllPages(const ReportDocument& doc, QPainter& painter, QPagedPaintDevice& device,
                   double dotsPerMm) {
    PagePainter pages(doc);
    for (int i = 0; i < static_cast<int>(doc.pages.size()); ++i) {
        if (i > 0) {
            device.newPage();
        }
        pages.paint(painter, i, dotsPerMm);
    }
}

} // namespace

void FilterHeadlessQtMessages() {
    static const bool installed = [] {
        g_previousHandler = qInstallMessageHandler(HeadlessMessageHandler);
        return true;
    }();
    (void)installed;
}

void SetUpA4Printer(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(A4Layout());
}

bool PrintReport(const ReportDocument& doc, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const double dotsPerMm = printer.resolution() / 25.4;
    const int count = static_cast<int>(doc.pages.size());
    int first = 0;
    int last = count - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min(printer.fromPage() - 1, count - 1);
        last = std::clamp(printer.toPage() - 1, first, count - 1);
    }
    PagePainter pages(doc);
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            printer.newPage();
        }
        pages.paint(painter, i, dotsPerMm);
    }
    return painter.end();
}

bool WriteReportPdf(const ReportDocument& doc, const std::string& pdfPath, std::string* error,
                    int* code) {
    auto fail = [&](const Error& e) {
        if (error != nullptr) {
            *error = "the PDF file was not written: " + std::string(e.message());
        }
        if (code != nullptr) {
            *code = e.code();
        }
        return false;
    };
    // A target that cannot be replaced (a FIFO, a device, a folder, a
    // read-only file) is refused before any page is painted.
    Error target;
    if (!CheckReplaceTarget(pdfPath, target)) {
        return fail(target);
    }
    // The PDF is made in memory and then written through the one file
    // replacement: a full disk or a cut write keeps the old file and fails.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(A4Layout());
        writer.setCreator(QStringLiteral("Ormavex"));
        writer.setTitle(QString::fromStdString(doc.title));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return fail(Error("the PDF could not be started", FileError::DeviceIo, pdfPath));
        }
        PaintAllPages(doc, painter, writer, kPdfResolution / 25.4);
        if (!painter.end() || pdf.isEmpty()) {
            return fail(Error("the PDF could not be completed", FileError::DeviceIo, pdfPath));
        }
    }
    StampProducer(pdf, QByteArray("Ormavex ") + kVersion);
    Error written;
    if (!ReplaceFileContents(
            pdfPath, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
            written)) {
        return fail(written);
    }
    return true;
}

bool ExportPrintFileToPdf(const std::string& printFile, const std::string& pdfPath,
                          const std::string& programFolder, std::string* error) {
    GuiApplicationScope app;
    if (!app.usable()) {
        if (error != nullptr) {
            *error = "PDF output needs a GUI application object (fonts)";
        }
        return false;
    }
    ReportDocument doc;
    if (!BuildReportDocument(printFile, programFolder, doc, error)) {
        return false;
    }
    return WriteReportPdf(doc, pdfPath, error);
}

} // namespace ormavex::render
