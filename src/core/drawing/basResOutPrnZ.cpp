#include "core/drawing/basResOutPrnZ.h"

#include "core/text/ShiftJis.h"

#include <algorithm>

namespace ormavex {

namespace {

// The error of a file that could not be read, written or created.
Error FileError(const char* failed, const char* what, const std::string& path, int code) {
    return Error(std::string("cannot ") + failed + " the " + what + " " + path + " (error " +
                     std::to_string(code) + ")",
                 code, path);
}

std::string ReadWholeFile(FileReadCache& files, const std::string& path, const char* what,
                          std::size_t limit) {
    std::string bytes;
    Error error;
    if (!files.read(path, bytes, error, limit)) {
        throw FileError("read", what, path, error.code());
    }
    return bytes;
}

// Writes the whole file's bytes into a file open for writing and closes it.
void WriteBytesAndClose(TextOutFile& out, std::string_view bytes, const char* what) {
    out.writeBytes(bytes);
    if (!out.close()) {
        throw FileError("write", what, out.path(), out.errorCode());
    }
}

TextOutFile& OpenForWriting(TextOutFile& out, const std::string& path, const char* what) {
    if (!out.open(path, TextOutFile::Mode::Truncate)) {
        throw FileError("create", what, path, out.errorCode());
    }
    return out;
}

std::size_t ShiftJisCharCount(std::string_view sjis) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i, ++n) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
            ++i;
        }
    }
    return n;
}

} // namespace

void DrawingContext::SizeTables() {
    LineStyles.reset(MaxLineStyles);
    TextStyles.reset(MaxTextStyles);
    Points.reset(MaxDrawPoints);
    Lines.reset(MaxDrawLines);
    Arrows.reset(MaxDrawArrows);
    Texts.reset(MaxDrawTexts);
    Figures.reset(MaxFigures);
    m_lastWritten = {};
}

void DrawingContext::ClearBuffer() noexcept {
    Points.clear();
    Lines.clear();
    Arrows.clear();
    Texts.clear();
}

namespace {

// A style file read before in this run is taken as parsed then. The table is
// filled record by record either way, so that a table too small fails as the
// first reading did.
template <typename Style>
void ReadStyles(FileReadCache& files, DrawTable<Style>& table, const std::string& path,
                const char* what, const char* tableName,
                StyleFile<Style> (*parse)(std::string_view)) {
    const std::string key = std::string(tableName) + "\n" + path;
    const auto* known = files.findParsed<StyleFile<Style>>(key);
    const StyleFile<Style> file =
        known != nullptr ? *known : parse(ReadWholeFile(files, path, what, FileLimit::Style));
    table.clear();
    for (const Style& s : file.records) {
        table.add(s, tableName);
    }
    if (!file.ended) {
        throw Error("the style file " + path + " ends before \"END\"", 0, path);
    }
    if (known == nullptr) {
        files.keepParsed(key, file);
    }
}

} // namespace

void DrawingContext::ReadLineStyles(const std::string& path) {
    ReadStyles(staticFiles, LineStyles, path, "line style file", "line styles", ParseLineStyles);
}

void DrawingContext::ReadTextStyles(const std::string& path) {
    ReadStyles(staticFiles, TextStyles, path, "text style file", "text styles", ParseTextStyles);
}

void DrawingContext::ThrowUndefinedTextStyle(std::int32_t style) {
    throw Error("text style " + std::to_string(style) + " is not defined");
}

namespace {

double WidthOf(double height, std::size_t bytes, std::size_t chars) {
    const auto b = static_cast<double>(bytes);
    const auto c = static_cast<double>(chars);
    const double f = b - c; // double-byte characters
    const double g = c - f; // single-byte characters
    return f * height + g * height / 2.0;
}

} // namespace

double DrawingContext::TextWidth(std::int32_t style, std::string_view text) const {
    const double h = TextHeight(style);
    const ShiftJisCounts n = Counts(text);
    return WidthOf(h, n.bytes, n.chars);
}

double DrawingContext::TextWidth(const DrawText& t) const {
    if (t.sjisBytes == 0) {
        return TextWidth(t.style, t.text);
    }
    return WidthOf(TextHeight(t.style), t.sjisBytes, t.sjisChars);
}

DrawingContext::ShiftJisCounts DrawingContext::Counts(std::string_view text) const {
    return IsAscii(text) ? ShiftJisCounts{text.size(), text.size()} : Converted(text).counts;
}

const DrawingContext::CountedText& DrawingContext::Converted(std::string_view text) const {
    // A diagram measures and writes the same few labels again and again:
    // each is kept converted and counted in a slot chosen by its length and
    // three of its bytes; a text in a taken slot takes its place.
    const auto byte = [&](std::size_t i) {
        return static_cast<std::size_t>(static_cast<unsigned char>(text[i]));
    };
    CountedText& slot = m_counts[(text.size() * 31 + byte(0) * 7 + byte(text.size() / 2) * 3 +
                                  byte(text.size() - 1)) %
                                 m_counts.size()];
    if (slot.text != text) {
        slot.text.assign(text);
        slot.sjis.clear();
        AppendShiftJis(slot.sjis, text);
        slot.counts = {slot.sjis.size(), ShiftJisCharCount(slot.sjis)};
    }
    return slot;
}

void DrawingContext::AppendText(std::string& out, std::string_view text) const {
    if (IsAscii(text)) {
        out += text;
    } else {
        out += Converted(text).sjis;
    }
}

int DrawingContext::AddPoint(double x, double y) { return Points.add({x, y}, "points"); }

int DrawingContext::AddLine(int point1, int point2, std::int32_t style) {
    assert(point1 >= 1 && point1 <= Points.count() && point2 >= 1 && point2 <= Points.count());
    return Lines.add({point1, point2, style}, "lines");
}

int DrawingContext::AddArrow(int point, std::int32_t direction, std::int32_t style) {
    assert(point >= 1 && point <= Points.count());
    return Arrows.add({point, direction, style}, "arrows");
}

int DrawingContext::AddText(std::string text, std::int32_t style, std::int32_t direction, double x,
                            double y) {
    const ShiftJisCounts n = Counts(text);
    DrawText t{std::move(text), style, direction, x, y};
    if (n.bytes <= UINT32_MAX) {
        t.sjisBytes = static_cast<std::uint32_t>(n.bytes);
        t.sjisChars = static_cast<std::uint32_t>(n.chars);
    }
    return Texts.add(std::move(t), "texts");
}

void DrawingContext::AddHorizontalDimension(int pointA, int pointB, double position, int level,
                                            const std::string& text, std::string_view flags) {
    AddDimension(pointA, pointB, position, level, text, flags, false);
}

void DrawingContext::AddVerticalDimension(int pointA, int pointB, double position, int level,
                                          const std::string& text, std::string_view flags) {
    AddDimension(pointA, pointB, position, level, text, flags, true);
}

// u runs along the dimension line from A to B, v across it. Below the points
// (horizontal) u is x and v is y, and "out", away from the points, is
// downward; beside them (vertical) u is y, v is x and out is rightward. Every
// coordinate is the same sum or difference in either frame, so a turned
// dimension is exactly the other one turned.
void DrawingContext::AddDimension(int pointA, int pointB, double position, int level,
                                  const std::string& text, std::string_view flags, bool vertical) {
    auto flag = [&](std::size_t i, char c) { return flags.size() > i && flags[i] == c; };
    auto out = [vertical](double v, double by) { return vertical ? v + by : v - by; };
    auto in = [vertical](double v, double by) { return vertical ? v - by : v + by; };
    auto add = [&](double u, double v) { return vertical ? AddPoint(v, u) : AddPoint(u, v); };
    const DrawPoint a = Points[pointA];
    const DrawPoint b = Points[pointB];
    const double uA = vertical ? a.y : a.x;
    const double uB = vertical ? b.y : b.x;
    const double d = out(position, (level - 1) * DimPitch); // further levels lie further out
    const int n = Points.count();
    add(uA, out(vertical ? a.x : a.y, ExtGap));
    add(uA, d);
    add(uA, out(d, ExtGap));
    add(uB, out(vertical ? b.x : b.y, ExtGap));
    add(uB, d);
    add(uB, out(d, ExtGap));
    if (flag(0, '1')) {
        AddLine(n + 1, n + 3, CurrentLineStyle);
    }
    if (flag(1, '1')) {
        AddLine(n + 4, n + 6, CurrentLineStyle);
    }
    if (flag(2, '1')) {
        AddLine(n + 2, n + 5, CurrentLineStyle);
    }
    if (flag(3, '1')) {
        AddArrow(n + 2, vertical ? Direction::Down : Direction::Left, CurrentLineStyle);
    }
    if (flag(4, '1')) {
        AddArrow(n + 5, vertical ? Direction::Up : Direction::Right, CurrentLineStyle);
    }
    const double w = TextWidth(CurrentTextStyle, text);
    const double u = uA + ((uB - uA) - w) / 2.0; // centred between A and B
    const double v =
        flag(5, 'U') ? in(d, TextGap) : out(out(d, TextGap), TextHeight(CurrentTextStyle));
    AddText(text, CurrentTextStyle, vertical ? Direction::Up : Direction::Right, vertical ? v : u,
            vertical ? u : v);
}

DrawingContext::Extents DrawingContext::DrawingExtents() const {
    Extents e;
    bool first = true;
    auto widen = [&](double x, double y) {
        if (first) {
            e = {x, y, x, y};
            first = false;
            return;
        }
        e.minX = std::min(e.minX, x);
        e.minY = std::min(e.minY, y);
        e.maxX = std::max(e.maxX, x);
        e.maxY = std::max(e.maxY, y);
    };
    for (int i = 1; i <= Points.count(); ++i) {
        widen(Points[i].x, Points[i].y);
    }
    for (int i = 1; i <= Texts.count(); ++i) {
        const DrawText& t = Texts[i];
        widen(t.x, t.y);
        if (t.direction == Direction::Up) {
            widen(t.x - TextHeight(t.style), t.y + TextWidth(t));
        } else if (t.direction == Direction::Right) {
            widen(t.x + TextWidth(t), t.y + TextHeight(t.style));
        }
    }
    return e;
}

void DrawingContext::WriteDrawingFile(const std::string& path, const std::string& title1,
                                      const std::string& title2) const {
    // Nothing is created when a value is not finite. One buffer for every
    // drawing of the context: its room is kept.
    ormavex::DrawingExtents written;
    DrawingFileBytes(title1, title2, m_fileBytes, written);
    TextOutFile file;
    m_lastWritten = {};
    WriteBytesAndClose(OpenForWriting(file, path, "drawing command file"), m_fileBytes,
                       "drawing command file");
    m_lastWritten = {path, written};
}

void WriteDrawingFileBytes(TextOutFile& file, std::string_view bytes) {
    WriteBytesAndClose(file, bytes, "drawing command file");
}

void DrawingContext::DrawingFileBytes(const std::string& title1, const std::string& title2,
                                      std::string& bytes, ormavex::DrawingExtents& written) const {
    ormavex::DrawingExtents e;
    e.bounds = DrawingExtents();
    e.width = e.bounds.maxX - e.bounds.minX;
    e.height = e.bounds.maxY - e.bounds.minY;
    DrawingSections sections;
    sections.lines = Lines.items();
    sections.arrows = Arrows.items();
    sections.texts = Texts.items();
    // Room for every record at once (a point line takes some 25 bytes, a
    // text twice that), so that the bytes are not moved as they grow.
    bytes.clear();
    bytes.reserve(256 + 32 * static_cast<std::size_t>(Points.count() + Lines.count()) +
                  24 * static_cast<std::size_t>(Arrows.count()) +
                  64 * static_cast<std::size_t>(Texts.count()));
    AppendDrawingCommandFileBytes(
        bytes, title1, title2, e, Points.items(), sections,
        [this](std::string& out, std::string_view text) { AppendText(out, text); });
    // The extents as the figure placement reads them back: the numbers of
    // the third line, rounded to 2 decimals.
    LineReader lines(bytes);
    std::string_view extentsLine;
    const bool read =
        lines.skip(2) && lines.next(extentsLine) && ParseExtentsLine(extentsLine, written);
    assert(read && "the writer's own extents line reads back");
    (void)read;
}

void DrawingContext::PlaceFigures(const std::string& path, const std::string& title,
                                  double areaWidth, double areaHeight) {
    CentreFigures(areaWidth, areaHeight);
    WriteFigureFile(path, title, areaWidth, areaHeight);
}

void DrawingContext::CentreFigures(double areaWidth, double areaHeight) {
    for (int i = 1; i <= Figures.count(); ++i) {
        FigureEntry& f = Figures[i];
        if (!m_lastWritten.path.empty() && f.path == m_lastWritten.path) {
            f.extents = m_lastWritten.extents;
            continue;
        }
        FileReadCache files; // disabled: a drawing file is read as it is now
        const std::string bytes =
            ReadWholeFile(files, f.path, "drawing command file", FileLimit::Drawing);
        LineReader lines(bytes);
        if (!lines.skip(2)) {
            throw Error("the drawing command file " + f.path + " has no extents line", 0, f.path);
        }
        std::string_view line;
        lines.next(line);
        if (!ParseExtentsLine(line, f.extents)) {
            throw Error("the extents line of " + f.path + " is not readable", 0, f.path);
        }
    }
    if (Figures.count() >= 1) {
        FigureEntry& f = Figures[1];
        f = CentredFigure(f.path, f.extents, areaWidth, areaHeight);
    }
}

FigureEntry CentredFigure(const std::string& path, const ormavex::DrawingExtents& extents,
                          double areaWidth, double areaHeight) {
    FigureEntry f;
    f.path = path;
    f.extents = extents;
    f.offsetX = (areaWidth - extents.width) / 2.0 - extents.bounds.minX;
    f.offsetY = (areaHeight - extents.height) / 2.0 - extents.bounds.minY;
    return f;
}

void WriteFigureFile(TextOutFile& file, const std::string& title, const FigureEntry& entry,
                     double areaWidth, double areaHeight) {
    const FigureFile f{title, areaWidth, areaHeight, {entry}, {}};
    WriteBytesAndClose(file, ToShiftJis(FigureFileText(f)), "figure file");
}

void DrawingContext::WriteFigureFile(const std::string& path, const std::string& title,
                                     double areaWidth, double areaHeight) const {
    // The values are checked before the file is made.
    const std::string text = FigureText(title, areaWidth, areaHeight);
    TextOutFile file;
    WriteBytesAndClose(OpenForWriting(file, path, "figure file"), ToShiftJis(text), "figure file");
}

std::string DrawingContext::FigureText(const std::string& title, double areaWidth,
                                       double areaHeight) const {
    FigureFile f{title, areaWidth, areaHeight, {}, {}};
    for (int i = 1; i <= Figures.count(); ++i) {
        f.entries.push_back(Figures[i]);
    }
    return FigureFileText(f);
}

} // namespace ormavex
