#pragma once
// Output of a whole report: to PDF and to a printer, through PagePainter.

#include "core/report/ReportDocument.h"

#include <string>

class QPrinter;

namespace ormavex::render {

using printfile::ReportDocument;

/// For programs without a window: drops Qt's remark that XDG_RUNTIME_DIR is
/// not set (harmless on a server, but noise on stderr); every other message
/// passes to the handler that was installed before.
void FilterHeadlessQtMessages();

/// Sets a printer to full-page A4 portrait, as the pages are laid out.
void SetUpA4Printer(QPrinter& printer);

/// Prints the document on a printer set up by SetUpA4Printer (any
/// resolution). Honours the printer's page range. False when the printer
/// cannot be started.
bool PrintReport(const ReportDocument& doc, QPrinter& printer);

/// Writes the document as a PDF file (A4 portrait, fonts embedded), made in
/// memory and then replacing `pdfPath` as a whole. False with `error` (the
/// file and the reason) and `code` (the file error code) set when the file
/// cannot be written; an old file at `pdfPath` then stays as it was.
bool WriteReportPdf(const ReportDocument& doc, const std::string& pdfPath, std::string* error,
                    int* code = nullptr);

/// The whole path from a text print file to a PDF: reads the print file, its
/// figures and drawing command files and the style files of `programFolder`
/// (LINE_PRN.DEF, STR_PRN.DEF), and writes the PDF. Figures that cannot be
/// drawn become notes in the pages; false with `error` set only when the
/// print file cannot be read or the PDF cannot be written.
///
/// Needs a QGuiApplication for its fonts; when none exists, one is made for
/// the duration of the call (on the "offscreen" platform when no display is
/// set), so command-line programs can call it directly.
bool ExportPrintFileToPdf(const std::string& printFile, const std::string& pdfPath,
                          const std::string& programFolder, std::string* error);

} // namespace ormavex::render
