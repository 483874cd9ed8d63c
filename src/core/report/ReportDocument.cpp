#include "core/report/ReportDocument.h"

#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

namespace ormavex::printfile {

namespace {

namespace fs = std::filesystem;

// Height of the note that stands in for a figure whose area is unknown.
constexpr double kNoteLines = 3.0;
// A figure never reaches closer than this to the paper's right edge.
constexpr double kRightClearance = 5.0;

std::string ResolvePath(const std::string& path, const std::string& baseFolder) {
    fs::path p(path);
    if (p.is_relative() && !baseFolder.empty()) {
        p = fs::path(baseFolder) / p;
    }
    return p.string();
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

// A file name written in Shift_JIS: try its UTF-8 form first (names made on
// this system), then the bytes as they stand.
std::string ResolveSjisPath(const std::string& sjis, const std::string& baseFolder) {
    std::string utf8 = ResolvePath(FromShiftJis(sjis), baseFolder);
    if (Exists(utf8)) {
        return utf8;
    }
    std::string raw = ResolvePath(sjis, baseFolder);
    return Exists(raw) ? raw : utf8;
}

std::string FolderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

// The key under which a file is loaded once: its canonical path (the path
// itself when that cannot be made).
std::string CanonicalKey(const std::string& path) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::path(path), ec);
    return ec ? path : canonical.string();
}

class Paginator {
public:
    Paginator(const PageSetup& setup, const FigureLoader& loader)
        : m_setup(setup), m_loader(loader) {
        m_pages.emplace_back();
        m_y = setup.topMargin;
    }

    void add(const PrintLine& line) {
        switch (line.kind) {
        case PrintLine::Kind::PageBreak:
            // A form feed on a page that an overflow has just begun would
            // only leave it blank.
            if (m_pageEmpty && m_autoStarted) {
                return;
            }
            newPage(false);
            return;
        case PrintLine::Kind::Text:
            if (m_y + m_setup.linePitch > m_setup.contentBottom() + 1e-9) {
                newPage(true);
            }
            m_pages.back().texts.push_back(PlacedText{m_y, line.heading, line.runs});
            m_y += m_setup.linePitch;
            m_pageEmpty = false;
            return;
        case PrintLine::Kind::Figure: addFigure(line); return;
        }
    }

    // A page has been begun past the limit: by a form feed, so that the line
    // after it is one too many, or by an overflow.
    bool full() const noexcept { return m_pages.size() > kMaxPages; }

    std::vector<Page> finish(bool truncated) {
        if (m_pageEmpty && m_pages.size() > 1 && m_pages.back().texts.empty() &&
            m_pages.back().figures.empty()) {
            m_pages.pop_back();
        }
        if (m_pages.size() > kMaxPages) {
            m_pages.resize(kMaxPages);
            truncated = true;
        }
        if (truncated) {
            m_pages.back().note = "このﾌｧｲﾙは大きすぎるため，" + std::to_string(m_pages.size()) +
                                  "ﾍﾟｰｼﾞ以降を省略しました。";
        }
        return std::move(m_pages);
    }

private:
    void newPage(bool automatic) {
        m_pages.emplace_back();
        m_y = m_setup.topMargin;
        m_pageEmpty = true;
        m_autoStarted = automatic;
    }

    void addFigure(const PrintLine& line) {
        std::shared_ptr<const LoadedFigure> fig = m_loader(line);
        PlacedFigure placed;
        placed.figure = fig;
        placed.x = m_setup.columnX(line.figureColumn);
        const double maxWidth = m_setup.paperWidth - kRightClearance - placed.x;
        const double pageHeight = m_setup.contentBottom() - m_setup.topMargin;
        if (fig && fig->error.empty()) {
            placed.width = fig->file.width;
            placed.height = fig->file.height;
        } else {
            placed.width = std::max(m_setup.columnX(80) - placed.x, 40.0);
            placed.height = kNoteLines * m_setup.linePitch;
        }
        // Scale down only what no page could hold.
        double scale = std::min(1.0, pageHeight / placed.height);
        if (maxWidth > 0.0) {
            scale = std::min(scale, maxWidth / placed.width);
        }
        placed.scale = scale;
        placed.width *= scale;
        placed.height *= scale;
        if (m_y + placed.height > m_setup.contentBottom() + 1e-9 && !m_pageEmpty) {
            newPage(true);
        }
        placed.y = m_y;
        m_pages.back().figures.push_back(std::move(placed));
        m_y += m_pages.back().figures.back().height;
        m_pageEmpty = false;
    }

    const PageSetup& m_setup;
    const FigureLoader& m_loader;
    std::vector<Page> m_pages;
    double m_y = 0.0;
    bool m_pageEmpty = true;
    bool m_autoStarted = true; // the first page behaves as one an overflow began
};

} // namespace

std::vector<std::string> LoadedFigure::problems() const {
    std::vector<std::string> out;
    for (const std::string& w : file.warnings) {
        out.push_back(w);
    }
    for (const LoadedDrawing& d : drawings) {
        const std::string name = fs::path(d.path).filename().string();
        if (!d.error.empty()) {
            out.push_back(name + ": " + d.error);
        }
        for (const std::string& w : d.drawing.warnings) {
            out.push_back(name + ": " + w);
        }
    }
    return out;
}

std::size_t ApproximateBytes(const DrawingCommandFile& d) {
    std::size_t n = sizeof(DrawingCommandFile) + d.title1.size() + d.title2.size();
    // A map node: the value, the key, three pointers and the colour, rounded
    // up by the allocator.
    n += d.points.size() * (sizeof(DrawPoint) + 48);
    n += d.rectangles.capacity() * sizeof(DrawRectangle) + d.lines.capacity() * sizeof(DrawLine);
    n += d.circles.capacity() * sizeof(DrawCircle) + d.arcs.capacity() * sizeof(DrawArc);
    n += d.arrows.capacity() * sizeof(DrawArrow) + d.texts.capacity() * sizeof(DrawText);
    n += d.fills.capacity() * sizeof(DrawFill);
    for (const DrawText& t : d.texts) {
        n += t.text.capacity() > 15 ? t.text.capacity() + 1 : 0;
    }
    for (const DrawFill& f : d.fills) {
        n += f.text.capacity() > 15 ? f.text.capacity() + 1 : 0;
    }
    for (const std::string& w : d.warnings) {
        n += sizeof(std::string) + w.capacity();
    }
    return n;
}

std::shared_ptr<const LoadedFigure> LoadFigure(const std::string& path) {
    std::size_t budget = kMaxDocumentBytes;
    return LoadFigure(path, budget);
}

std::shared_ptr<const LoadedFigure> LoadFigure(const std::string& path, std::size_t& budgetLeft) {
    auto fig = std::make_shared<LoadedFigure>();
    fig->path = path;
    std::string bytes;
    Error error;
    if (!ReadFileBytes(path, bytes, error, kMaxFigureFileBytes)) {
        fig->error = "figure file not read (error " + std::to_string(error.code()) + ")";
        return fig;
    }
    if (Error error; !ParseFigureFile(bytes, fig->file, &error)) {
        fig->error = error.message();
        return fig;
    }
    const std::string folder = FolderOf(path);
    for (const FigureFile::Entry& e : fig->file.entries) {
        LoadedDrawing d;
        d.path = ResolvePath(e.path, folder);
        d.offsetX = e.offsetX;
        d.offsetY = e.offsetY;
        if (budgetLeft == 0) {
            d.error = kBudgetExceeded;
        } else if (Error error; !LoadDrawingCommandFile(d.path, d.drawing, &error)) {
            d.error = error.message();
        } else {
            const std::size_t bytes = ApproximateBytes(d.drawing);
            if (bytes > budgetLeft) {
                // The drawing is dropped, and no later one is read.
                d.drawing = DrawingCommandFile{};
                d.error = kBudgetExceeded;
                budgetLeft = 0;
            } else {
                budgetLeft -= bytes;
            }
        }
        fig->drawings.push_back(std::move(d));
    }
    if (fig->file.entries.empty()) {
        AddWarning(fig->file.warnings, "the figure file names no drawing");
    }
    return fig;
}

std::vector<Page> Paginate(const PrintFileContent& content, const FigureLoader& loadFigure,
                           const PageSetup& setup) {
    Paginator p(setup, loadFigure);
    bool truncated = content.truncated;
    for (const PrintLine& line : content.lines) {
        if (p.full()) {
            truncated = true;
            break;
        }
        p.add(line);
    }
    return p.finish(truncated);
}

bool BuildReportDocument(const std::string& printFile, const std::string& programFolder,
                         ReportDocument& doc, std::string* error) {
    doc = ReportDocument{};
    std::string bytes;
    Error readError;
    if (!ReadFileBytes(printFile, bytes, readError, kMaxPrintFileBytes)) {
        if (error != nullptr) {
            const std::string why = DescribeUnreadableFile(printFile, kMaxPrintFileBytes);
            *error = "the print file cannot be read (error " + std::to_string(readError.code()) +
                     ")" + (why.empty() ? std::string() : ": it " + why);
        }
        return false;
    }
    doc.title = fs::path(printFile).filename().string();
    doc.styles.load(programFolder, &doc.notes);

    const std::string folder = FolderOf(printFile);
    std::map<std::string, std::shared_ptr<const LoadedFigure>> cache;
    std::size_t budget = kMaxDocumentBytes;
    FigureLoader loader = [&](const PrintLine& line) -> std::shared_ptr<const LoadedFigure> {
        if (line.figurePath.empty()) {
            auto bad = std::make_shared<LoadedFigure>();
            bad->error = "the figure line names no figure file";
            return bad;
        }
        // One load per file, however its path is spelt.
        const std::string path = ResolveSjisPath(line.figurePath, folder);
        auto& slot = cache[CanonicalKey(path)];
        if (!slot) {
            slot = LoadFigure(path, budget);
        }
        return slot;
    };
    doc.pages = Paginate(ParsePrintFile(bytes), loader, doc.setup);
    return true;
}

} // namespace ormavex::printfile
