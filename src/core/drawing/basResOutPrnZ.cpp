#include "basResOutPrnZ.h"

#include "drawing/FixedNumber.h"
#include "text/LeadingNumber.h"
#include "text/ListInput.h"
#include "text/NumberPicture.h"
#include "text/ShiftJis.h"
#include "text/TextFile.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <cmath>

namespace ormavex {

namespace {

// The numbers of the drawing command file, as the pictures "###0\\, ",
// "####0\\, ", "##0\\, " (whole numbers), "###0.00\\, " (extents) and
// "###0.000000\\, " (coordinates) write them; the last field of a line goes
// without the trailing ", " and ends the line.
void Whole(std::string& out, std::int32_t v, bool last = false) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(r.ptr - buf));
    out.append(last ? "\r\n" : ", ", 2);
}

void Fixed(std::string& out, double v, int decimals, bool last = false) {
    AppendFixedNumber(out, v, decimals);
    out.append(last ? "\r\n" : ", ", 2);
}

void RequireFinite(double v, const char* what) {
    if (!std::isfinite(v)) {
        throw Error(std::string("a drawing value is not a finite number: ") + what);
    }
}

std::string ReadWholeFile(FileReadCache& files, const std::string& path, const char* what,
                          std::size_t limit) {
    std::string bytes;
    Error error;
    if (!files.read(path, bytes, error, limit)) {
        throw Error(std::string("cannot read the ") + what + " " + path + " (error " +
                        std::to_string(error.code()) + ")");
    }
    return bytes;
}

// Writes the whole text into a file open for writing and closes it.
void WriteAndClose(TextOutFile& out, const std::string& utf8, const char* what) {
    out.writeBytes(ToShiftJis(utf8));
    if (!out.close()) {
        throw Error(std::string("cannot write the ") + what + " " + out.path() + " (error " +
                          std::to_string(out.errorCode()) + ")");
    }
}

TextOutFile& OpenForWriting(TextOutFile& out, const std::string& path, const char* what) {
    if (!out.open(path, TextOutFile::Mode::Truncate)) {
        throw Error(std::string("cannot create the ") + what + " " + path + " (error " +
                          std::to_string(out.errorCode()) + ")");
    }
    return out;
}

// The fields of a style definition file after its first line, in list-input
// form: separated by commas or line ends, blanks around them ignored, text
// optionally in double quotes. Empty lines carry no field.
class DefinitionReader {
public:
    DefinitionReader(const std::string& path, std::string bytes)
        : m_path(path), m_bytes(std::move(bytes)), m_reader(std::string_view()) {
        LineReader lines(m_bytes);
        if (!lines.skip(1)) {
            throwEnded();
        }
        m_reader = ListInputReader(std::string_view(m_bytes).substr(lines.position()));
    }

    std::string text() { return FromShiftJis(field()); }

    // A field that is not a number reads as 0.
    std::int32_t integer() {
        double v = 0.0;
        std::int32_t i = 0;
        if (ParseNumber(field(), v) && RoundToInt32(v, i)) {
            return i;
        }
        return 0;
    }

private:
    std::string_view field() {
        ListInputReader::Field f;
        do {
            if (!m_reader.next(f)) {
                throwEnded();
            }
        } while (f.empty);
        return f.text;
    }

    [[noreturn]] void throwEnded() const {
        throw Error("the style file " + m_path + " ends before \"END\"");
    }

    std::string m_path;
    std::string m_bytes;
    ListInputReader m_reader;
};

std::size_t ShiftJisCharCount(std::string_view sjis) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i, ++n) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
            ++i;
        }
    }
    return n;
}

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out.append("\r\n", 2);
}

} // namespace

double TwipsToMm(std::int32_t twips) noexcept { return static_cast<double>(twips) / 1440.0 * 25.4; }

void DrawingContext::SizeTables() {
    LineStyles.size(MaxLineStyles);
    TextStyles.size(MaxTextStyles);
    Points.size(MaxDrawPoints);
    Lines.size(MaxDrawLines);
    Circles.size(MaxDrawCircles);
    Arcs.size(MaxDrawArcs);
    Rectangles.size(MaxDrawRectangles);
    Fills.size(0);
    Arrows.size(MaxDrawArrows);
    Texts.size(MaxDrawTexts);
    Figures.size(MaxFigures);
    m_lastWritten = {};
}

void DrawingContext::ClearBuffer() noexcept {
    Points.clear();
    Lines.clear();
    Circles.clear();
    Arcs.clear();
    Rectangles.clear();
    Fills.clear();
    Arrows.clear();
    Texts.clear();
}

namespace {

// A style file read before in this run is replayed into the table, record by
// record, so that a table too small fails as the reading would; a failure is
// not kept and is met again the same way.
template <typename Style, typename Read>
void ReadStyles(FileReadCache& files, DrawTable<Style>& table, const std::string& kind,
                const std::string& path, const char* tableName, Read read) {
    table.clear();
    const std::string key = kind + "\n" + path;
    if (const auto* known = files.findParsed<std::vector<Style>>(key)) {
        for (const Style& s : *known) {
            table.add(s, tableName);
        }
        return;
    }
    read();
    std::vector<Style> styles;
    for (int i = 1; i <= table.count(); ++i) {
        styles.push_back(table[i]);
    }
    files.keepParsed(key, std::move(styles));
}

} // namespace

void DrawingContext::ReadLineStyles(const std::string& path) {
    ReadStyles(staticFiles, LineStyles, "line styles", path, "line styles", [&] {
        DefinitionReader in(path, ReadWholeFile(staticFiles, path, "line style file", FileLimit::Style));
        std::string key = in.text();
        while (key != "END") {
            LineStyle s;
            s.value1 = in.integer();
            s.value2 = in.integer();
            in.text();  // name, not used
            LineStyles.add(s, "line styles");
            key = in.text();
        }
    });
}

void DrawingContext::ReadTextStyles(const std::string& path) {
    ReadStyles(staticFiles, TextStyles, "text styles", path, "text styles", [&] {
        DefinitionReader in(path, ReadWholeFile(staticFiles, path, "text style file", FileLimit::Style));
        std::string key = in.text();
        while (key != "END") {
            TextStyle s;
            s.value1 = in.integer();
            s.name = in.text();
            s.height = in.integer();
            s.value4 = in.integer();
            s.value5 = in.integer();
            s.value6 = in.integer();
            in.text();  // comment, not used
            TextStyles.add(std::move(s), "text styles");
            key = in.text();
        }
    });
}

double DrawingContext::TextHeight(std::int32_t style) const {
    if (style < 1 || style > TextStyles.count()) {
        throw Error("text style " + std::to_string(style) + " is not defined");
    }
    return TwipsToMm(TextStyles[style].height);
}

double DrawingContext::TextWidth(std::int32_t style, std::string_view text) const {
    const double h = TextHeight(style);
    const std::string sjis = ToShiftJis(text);
    const auto b = static_cast<double>(sjis.size());
    const auto c = static_cast<double>(ShiftJisCharCount(sjis));
    const double f = b - c;  // double-byte characters
    const double g = c - f;  // single-byte characters
    return f * h + g * h / 2.0;
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
    return Texts.add({std::move(text), style, direction, x, y}, "texts");
}

void DrawingContext::AddHorizontalDimension(int pointA, int pointB, double position, int level,
                                            const std::string& text, std::string_view flags) {
    auto flag = [&](std::size_t i, char c) { return flags.size() > i && flags[i] == c; };
    const DrawPoint a = Points[pointA];
    const DrawPoint b = Points[pointB];
    const double d = position - (level - 1) * DimPitch;  // further levels lie lower
    const int n = Points.count();
    AddPoint(a.x, a.y - ExtGap);
    AddPoint(a.x, d);
    AddPoint(a.x, d - ExtGap);
    AddPoint(b.x, b.y - ExtGap);
    AddPoint(b.x, d);
    AddPoint(b.x, d - ExtGap);
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
        AddArrow(n + 2, Direction::Left, CurrentLineStyle);
    }
    if (flag(4, '1')) {
        AddArrow(n + 5, Direction::Right, CurrentLineStyle);
    }
    const double w = TextWidth(CurrentTextStyle, text);
    const double x = a.x + ((b.x - a.x) - w) / 2.0;
    const double y = flag(5, 'U') ? d + TextGap : d - TextGap - TextHeight(CurrentTextStyle);
    AddText(text, CurrentTextStyle, Direction::Right, x, y);
}

void DrawingContext::AddVerticalDimension(int pointA, int pointB, double position, int level,
                                          const std::string& text, std::string_view flags) {
    auto flag = [&](std::size_t i, char c) { return flags.size() > i && flags[i] == c; };
    const DrawPoint a = Points[pointA];
    const DrawPoint b = Points[pointB];
    const double d = position + (level - 1) * DimPitch;  // further levels lie further right
    const int n = Points.count();
    AddPoint(a.x + ExtGap, a.y);
    AddPoint(d, a.y);
    AddPoint(d + ExtGap, a.y);
    AddPoint(b.x + ExtGap, b.y);
    AddPoint(d, b.y);
    AddPoint(d + ExtGap, b.y);
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
        AddArrow(n + 2, Direction::Down, CurrentLineStyle);
    }
    if (flag(4, '1')) {
        AddArrow(n + 5, Direction::Up, CurrentLineStyle);
    }
    const double w = TextWidth(CurrentTextStyle, text);
    const double y = a.y + ((b.y - a.y) - w) / 2.0;
    const double x = flag(5, 'U') ? d - TextGap : d + TextGap + TextHeight(CurrentTextStyle);
    AddText(text, CurrentTextStyle, Direction::Up, x, y);
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
            widen(t.x - TextHeight(t.style), t.y + TextWidth(t.style, t.text));
        } else if (t.direction == Direction::Right) {
            widen(t.x + TextWidth(t.style, t.text), t.y + TextHeight(t.style));
        }
    }
    return e;
}

void DrawingContext::WriteDrawingFile(const std::string& path, const std::string& title1,
                                      const std::string& title2) const {
    // Nothing is created when a value is not finite.
    WrittenExtents written;
    const std::string text = DrawingFileText(title1, title2, written);
    TextOutFile file;
    m_lastWritten = {};
    WriteAndClose(OpenForWriting(file, path, "drawing command file"), text,
                  "drawing command file");
    written.path = path;
    m_lastWritten = std::move(written);
}

void DrawingContext::WriteDrawingFile(TextOutFile& file, const std::string& title1,
                                      const std::string& title2) const {
    WrittenExtents written;
    const std::string text = DrawingFileText(title1, title2, written);
    m_lastWritten = {};
    WriteAndClose(file, text, "drawing command file");
    written.path = file.path();
    m_lastWritten = std::move(written);
}

std::string DrawingContext::DrawingFileText(const std::string& title1, const std::string& title2,
                                            WrittenExtents& written) const {
    const Extents e = DrawingExtents();
    const double width = e.maxX - e.minX;
    const double height = e.maxY - e.minY;
    RequireFinite(width, "drawing width");
    RequireFinite(height, "drawing height");
    for (int i = 1; i <= Points.count(); ++i) {
        RequireFinite(Points[i].x, "point");
        RequireFinite(Points[i].y, "point");
    }
    for (int i = 1; i <= Texts.count(); ++i) {
        RequireFinite(Texts[i].x, "text position");
        RequireFinite(Texts[i].y, "text position");
    }
    for (int i = 1; i <= Circles.count(); ++i) {
        RequireFinite(Circles[i].value2, "circle");
    }
    for (int i = 1; i <= Arcs.count(); ++i) {
        for (double v : Arcs[i].values) {
            RequireFinite(v, "arc");
        }
    }

    std::string out;
    out.reserve(64 + 40 * static_cast<std::size_t>(Points.count() + Lines.count() +
                                                   Arrows.count() + 2 * Texts.count()));
    AppendLine(out, title1);
    AppendLine(out, title2);
    // The extents as the figure placement reads them back: the numbers of
    // this line, rounded to 2 decimals.
    const double extents[] = {width, height, e.minX, e.minY, e.maxX, e.maxY};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t start = out.size();
        AppendFixedNumber(out, extents[i], 2);
        ParseNumber(std::string_view(out).substr(start), written.values[i]);
        out.append(i < 5 ? ", " : "\r\n", 2);
    }

    AppendLine(out, "座標情報");
    for (int i = 1; i <= Points.count(); ++i) {
        Whole(out, i);
        Fixed(out, Points[i].x, 6);
        Fixed(out, Points[i].y, 6, true);
    }
    AppendLine(out, "END");
    if (Rectangles.count() > 0) {
        AppendLine(out, "矩形情報");
        for (int i = 1; i <= Rectangles.count(); ++i) {
            const auto& v = Rectangles[i].values;
            Whole(out, i);
            Whole(out, v[0]);
            Whole(out, v[1]);
            Whole(out, v[2]);
            Whole(out, v[3], true);
        }
        AppendLine(out, "END");
    }
    if (Lines.count() > 0) {
        AppendLine(out, "線分情報");
        for (int i = 1; i <= Lines.count(); ++i) {
            const DrawLine& l = Lines[i];
            Whole(out, i);
            Whole(out, l.point1);
            Whole(out, l.point2);
            Whole(out, l.style, true);
        }
        AppendLine(out, "END");
    }
    if (Circles.count() > 0) {
        AppendLine(out, "円情報");
        for (int i = 1; i <= Circles.count(); ++i) {
            const DrawCircle& c = Circles[i];
            Whole(out, i);
            Whole(out, c.value1);
            Fixed(out, c.value2, 6);
            Whole(out, c.value3, true);
        }
        AppendLine(out, "END");
    }
    if (Arcs.count() > 0) {
        AppendLine(out, "円弧情報");
        for (int i = 1; i <= Arcs.count(); ++i) {
            Whole(out, i);
            for (double v : Arcs[i].values) {
                Fixed(out, v, 6);
            }
            Whole(out, Arcs[i].value6, true);
        }
        AppendLine(out, "END");
    }
    if (Fills.count() > 0) {
        AppendLine(out, "塗潰情報");
        for (int i = 1; i <= Fills.count(); ++i) {
            const DrawFill& f = Fills[i];
            Whole(out, i);
            Whole(out, f.value1);
            Whole(out, f.value2);
            AppendLine(out, f.text);
        }
        AppendLine(out, "END");
    }
    if (Arrows.count() > 0) {
        AppendLine(out, "矢印(1)");
        for (int i = 1; i <= Arrows.count(); ++i) {
            const DrawArrow& a = Arrows[i];
            Whole(out, i);
            Whole(out, a.point);
            Whole(out, a.direction);
            Whole(out, a.style, true);
        }
        AppendLine(out, "END");
    }
    if (Texts.count() > 0) {
        AppendLine(out, "文字情報");
        for (int i = 1; i <= Texts.count(); ++i) {
            const DrawText& t = Texts[i];
            AppendLine(out, t.text);
            Fixed(out, t.x, 6);
            Fixed(out, t.y, 6);
            Whole(out, t.style);
            Whole(out, t.direction, true);
        }
        AppendLine(out, "END");
    }
    return out;
}

void DrawingContext::PlaceFigures(const std::string& path, const std::string& title,
                                  double areaWidth, double areaHeight) {
    PlaceFiguresThen(areaWidth, areaHeight,
                     [&] { WriteFigureFile(path, title, areaWidth, areaHeight); });
}

void DrawingContext::PlaceFigures(TextOutFile& file, const std::string& title, double areaWidth,
                                  double areaHeight) {
    PlaceFiguresThen(areaWidth, areaHeight,
                     [&] { WriteFigureFile(file, title, areaWidth, areaHeight); });
}

void DrawingContext::PlaceFiguresThen(double areaWidth, double areaHeight,
                                      const std::function<void()>& write) {
    for (int i = 1; i <= Figures.count(); ++i) {
        FigureEntry& f = Figures[i];
        if (!m_lastWritten.path.empty() && f.path == m_lastWritten.path) {
            const auto& v = m_lastWritten.values;
            f.width = v[0];
            f.height = v[1];
            f.minX = v[2];
            f.minY = v[3];
            f.maxX = v[4];
            f.maxY = v[5];
            continue;
        }
        FileReadCache files; // disabled: a drawing file is read as it is now
        const std::string bytes = ReadWholeFile(files, f.path, "drawing command file", FileLimit::Drawing);
        LineReader lines(bytes);
        if (!lines.skip(2)) {
            throw Error("the drawing command file " + f.path + " has no extents line");
        }
        ListInputReader in(std::string_view(bytes).substr(lines.position()));
        double* extents[] = {&f.width, &f.height, &f.minX, &f.minY, &f.maxX, &f.maxY};
        for (double* v : extents) {
            std::string_view field;
            if (!in.nextNumberField(field) || !ParseNumber(field, *v)) {
                throw Error("the extents line of " + f.path + " is not readable");
            }
        }
    }
    if (Figures.count() >= 1) {
        FigureEntry& f = Figures[1];
        f.offsetX = (areaWidth - f.width) / 2.0 - f.minX;
        f.offsetY = (areaHeight - f.height) / 2.0 - f.minY;
    }
    write();
}

void DrawingContext::WriteFigureFile(const std::string& path, const std::string& title,
                                     double areaWidth, double areaHeight) const {
    // The values are checked before the file is made.
    const std::string text = FigureFileText(title, areaWidth, areaHeight);
    TextOutFile file;
    WriteAndClose(OpenForWriting(file, path, "figure file"), text, "figure file");
}

void DrawingContext::WriteFigureFile(TextOutFile& file, const std::string& title,
                                     double areaWidth, double areaHeight) const {
    WriteAndClose(file, FigureFileText(title, areaWidth, areaHeight), "figure file");
}

std::string DrawingContext::FigureFileText(const std::string& title, double areaWidth,
                                           double areaHeight) const {
    RequireFinite(areaWidth, "figure area width");
    RequireFinite(areaHeight, "figure area height");
    std::string out;
    AppendLine(out, title);
    AppendLine(out, ListPrintLine({areaWidth, areaHeight}));
    for (int i = 1; i <= Figures.count(); ++i) {
        const FigureEntry& f = Figures[i];
        RequireFinite(f.offsetX, "figure offset");
        RequireFinite(f.offsetY, "figure offset");
        AppendLine(out, f.path);
        AppendLine(out, ListPrintLine({f.offsetX, f.offsetY}));
    }
    AppendLine(out, "END");
    return out;
}

} // namespace ormavex
