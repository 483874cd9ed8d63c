#pragma once
// The page model of a report: a text print file read, its figures loaded and
// everything placed on A4 pages. Painting is a separate step (PagePainter);
// this part has no Qt.
//
// Page layout (millimetres, y downward from the paper's top edge): A4
// portrait; 80 columns of 2.0 mm from a 25 mm left margin; lines every
// 5.0 mm from a 20 mm top margin down to 20 mm above the bottom edge
// (51 lines). One case page - its 16 text lines, the 160 mm figure and the
// closing line - takes 245 of the 257 mm, so each case stays on one sheet.
// A form feed starts a new page; a line that does not fit continues on the
// next page; a figure that does not fit below the text starts a new page,
// and one larger than a whole page is scaled down to fit it.
//
// Guarantees: building never throws for bad input. A figure that cannot be
// read or placed becomes a note in its place on the page; problems inside a
// figure that still draws are listed with it. At most kMaxPages pages are
// made; a longer file ends with a note on the last page.

#include "core/drawing/DrawingCommandFile.h"
#include "core/drawing/FigureFile.h"
#include "core/report/PrintFile.h"
#include "core/report/StyleTables.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ormavex::printfile {

struct PageSetup {
    double paperWidth = 210.0;
    double paperHeight = 297.0;
    double leftMargin = 25.0;
    double topMargin = 20.0;
    double bottomMargin = 20.0;
    double columnWidth = 2.0; ///< one Shift_JIS byte
    double linePitch = 5.0;
    double fontHeight = 4.0; ///< em height: a double-byte character is 2 columns wide

    double contentBottom() const noexcept { return paperHeight - bottomMargin; }
    double columnX(int column) const noexcept { return leftMargin + column * columnWidth; }
};

struct LoadedDrawing {
    DrawingCommandFile drawing;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::string path;
    std::string error; ///< not empty: the drawing could not be read
};

/// A figure file with its drawings. `error` set means the figure cannot be
/// drawn at all (then the area is unknown).
struct LoadedFigure {
    std::string path;
    FigureFile file;
    std::vector<LoadedDrawing> drawings;
    std::string error;

    /// Everything that went wrong below the figure file, one line each.
    std::vector<std::string> problems() const;
};

/// One printed line on a page.
struct PlacedText {
    double y = 0.0; ///< top of the line box
    int heading = 0;
    std::vector<TextRun> runs;
};

/// A figure, or the note that stands in for it, on a page.
struct PlacedFigure {
    double x = 0.0; ///< left edge of the area
    double y = 0.0; ///< top edge of the area
    double width = 0.0;
    double height = 0.0;
    double scale = 1.0; ///< drawing mm per page mm (below 1 only for oversized figures)
    std::shared_ptr<const LoadedFigure> figure;
};

struct Page {
    std::vector<PlacedText> texts;
    std::vector<PlacedFigure> figures;
    std::string note; ///< a remark printed at the foot of the page (e.g. the file was cut)
};

struct ReportDocument {
    PageSetup setup;
    StyleTables styles;
    std::vector<Page> pages;        ///< never empty once built
    std::vector<std::string> notes; ///< remarks about the whole document (style files)
    std::string title;
};

inline constexpr std::size_t kMaxPages = 10000;
inline constexpr std::size_t kMaxPrintFileBytes = 64u << 20;

/// What the drawings of one document may take in memory once parsed; a
/// drawing past it is not kept and carries kBudgetExceeded as its error.
inline constexpr std::size_t kMaxDocumentBytes = 256u << 20;
inline constexpr const char* kBudgetExceeded =
    "not loaded: the figures of the report exceed 256 MB";

/// Loads a figure file and its drawings; never fails, the result carries the
/// errors. `path` is UTF-8; relative drawing paths are taken from the figure
/// file's folder. Files are read only when they are regular files within
/// their size limits.
std::shared_ptr<const LoadedFigure> LoadFigure(const std::string& path);
/// The same, taking what the parsed drawings need from `budgetLeft`.
std::shared_ptr<const LoadedFigure> LoadFigure(const std::string& path, std::size_t& budgetLeft);

/// About how many bytes a parsed drawing holds.
std::size_t ApproximateBytes(const DrawingCommandFile& drawing);

using FigureLoader = std::function<std::shared_ptr<const LoadedFigure>(const PrintLine& line)>;

/// Places the lines on pages. The loader is asked once per figure line.
std::vector<Page> Paginate(const PrintFileContent& content, const FigureLoader& loadFigure,
                           const PageSetup& setup = {});

/// Reads the text print file, loads its figures (relative paths from the
/// print file's folder) and the style files of `programFolder`, and lays out
/// the pages. False with `error` set only when the print file itself cannot
/// be read or is too large. Each figure file is loaded once, whatever the
/// spelling of its path, and all drawings together stay within
/// kMaxDocumentBytes.
bool BuildReportDocument(const std::string& printFile, const std::string& programFolder,
                         ReportDocument& doc, std::string* error);

} // namespace ormavex::printfile
