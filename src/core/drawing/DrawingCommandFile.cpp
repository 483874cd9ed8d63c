#include "core/drawing/DrawingCommandFile.h"

#include "core/drawing/FixedNumber.h"
#include "core/text/Blanks.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <tuple>
#include <type_traits>

namespace ormavex {

namespace {

// The numbers of a record after its record number, in file order (for a
// text: its number line, which has no record number). Writer and reader
// both go by this list.
template <typename R> auto Fields(R& r) {
    using T = std::remove_const_t<R>;
    if constexpr (std::is_same_v<T, DrawPoint>) {
        return std::tie(r.x, r.y);
    } else if constexpr (std::is_same_v<T, DrawRectangle>) {
        return std::tie(r.point1, r.point2, r.style, r.extra);
    } else if constexpr (std::is_same_v<T, DrawLine>) {
        return std::tie(r.point1, r.point2, r.style);
    } else if constexpr (std::is_same_v<T, DrawCircle>) {
        return std::tie(r.centre, r.radius, r.style);
    } else if constexpr (std::is_same_v<T, DrawArc>) {
        return std::tie(r.centre.x, r.centre.y, r.radius, r.startAngle, r.endAngle, r.style);
    } else if constexpr (std::is_same_v<T, DrawFill>) {
        return std::tie(r.first, r.second); // then the text
    } else if constexpr (std::is_same_v<T, DrawArrow>) {
        return std::tie(r.point, r.direction, r.style);
    } else {
        static_assert(std::is_same_v<T, DrawText>);
        return std::tie(r.x, r.y, r.style, r.direction);
    }
}

template <typename R>
constexpr std::size_t FieldCount = std::tuple_size_v<decltype(Fields(std::declval<R&>()))>;

// --- writing ----------------------------------------------------------------

// What a refused value is called in the error message.
template <typename R> constexpr const char* ValueName() {
    if constexpr (std::is_same_v<R, DrawText>) {
        return "text position";
    } else if constexpr (std::is_same_v<R, DrawCircle>) {
        return "circle";
    } else if constexpr (std::is_same_v<R, DrawArc>) {
        return "arc";
    } else {
        return "point";
    }
}

// The lines of the records, formatted into a buffer on the stack and
// appended to the output a few kilobytes at a time: whole numbers plainly,
// coordinates with 6 decimals, each followed by ", "; endLine() turns the
// last ", " into the line end. A text goes to the output through the caller's
// appender, after what is buffered. flush() hands the rest to the output.
class RecordWriter {
public:
    explicit RecordWriter(std::string& out) noexcept : m_out(out) {}
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Each writes through a local pointer: a store through m_p itself may
    // change m_p as far as the compiler knows, which reloads it after every
    // character.
    void add(std::int32_t v, const char*) {
        room(16);
        char* p = m_p;
        if (v >= 0 && v < 1000) { // record numbers, point numbers, styles
            const auto u = static_cast<unsigned>(v);
            if (u >= 100) {
                *p++ = static_cast<char>('0' + u / 100);
            }
            if (u >= 10) {
                *p++ = static_cast<char>('0' + u / 10 % 10);
            }
            *p++ = static_cast<char>('0' + u % 10);
        } else {
            p = std::to_chars(p, m_end, v).ptr;
        }
        m_p = separated(p);
    }
    [[gnu::always_inline]] void add(double v, const char* what) {
        room(kMaxFixedChars + 2);
        char* const end = std::isfinite(v) ? WriteFixed6(m_p, v) : nullptr;
        if (end != nullptr) [[likely]] {
            m_p = separated(end);
        } else {
            addRare(v, what);
        }
    }
    /// The last field's ", " becomes the line end.
    void endLine() {
        m_p -= 2;
        *m_p++ = '\r';
        *m_p++ = '\n';
    }
    /// A whole line as it is.
    void line(std::string_view text) {
        room(static_cast<std::ptrdiff_t>(text.size()) + 2);
        if (m_end - m_p < static_cast<std::ptrdiff_t>(text.size()) + 2) {
            m_out += text;
        } else {
            m_p = std::copy(text.begin(), text.end(), m_p);
        }
        *m_p++ = '\r';
        *m_p++ = '\n';
    }
    /// A text through `appendText`, after the fields so far.
    template <typename Text> void text(const Text& appendText, std::string_view text) {
        flush();
        appendText(m_out, text);
    }
    // Out of line, so that the field writers stay small enough to inline.
    [[gnu::noinline]] void flush() {
        m_out.append(m_buf, static_cast<std::size_t>(m_p - m_buf));
        m_p = m_buf;
    }

private:
    // Not finite (refused), or beyond what WriteFixed6 writes.
    [[gnu::noinline]] void addRare(double v, const char* what) {
        RequireFinite(v, what);
        flush();
        AppendFixedNumber(m_out, v, 6);
        m_p = separated(m_p);
    }
    void room(std::ptrdiff_t n) {
        if (m_end - m_p < n + 2) [[unlikely]] {
            flush();
        }
    }
    static char* separated(char* p) noexcept {
        p[0] = ',';
        p[1] = ' ';
        return p + 2;
    }

    std::string& m_out;
    char m_buf[4096];
    char* m_p = m_buf;
    char* const m_end = m_buf + sizeof m_buf;
};

// The last field of a line ends the line instead of ", ".
void EndLine(std::string& out) {
    out.resize(out.size() - 2);
    out += "\r\n";
}

// A record's own text goes through `appendText`, which appends it as it is
// or converted.
template <typename R, typename Text>
void AppendRecord(RecordWriter& line, std::int32_t number, const R& r, const Text& appendText) {
    if constexpr (std::is_same_v<R, DrawText>) {
        line.text(appendText, r.text);
        line.line({});
    } else {
        line.add(number, "");
    }
    std::apply([&](const auto&... f) { (line.add(f, ValueName<R>()), ...); }, Fields(r));
    if constexpr (std::is_same_v<R, DrawFill>) {
        line.text(appendText, r.text);
        line.line({});
    } else {
        line.endLine();
    }
}

// A section header as written: the UTF-8 text, or its Shift_JIS bytes.
using HeaderNames = std::array<std::string_view, 8>;

template <typename R, typename Text>
void AppendSection(std::string& out, std::string_view header, std::span<const R> records,
                   const Text& appendText) {
    if (records.empty()) {
        return;
    }
    RecordWriter line(out);
    line.line(header);
    std::int32_t number = 0;
    for (const R& r : records) {
        AppendRecord(line, ++number, r, appendText);
    }
    line.line("END");
    line.flush();
}

// --- reading ----------------------------------------------------------------

// The comma-separated numbers of one record line; nullopt when the count is
// not N or a field is not a finite number.
template <std::size_t N> std::optional<std::array<double, N>> Numbers(std::string_view line) {
    std::array<double, N> out{};
    std::size_t i = 0;
    while (true) {
        const std::size_t comma = line.find(',');
        const std::string_view field = TrimBlanks(line.substr(0, comma));
        if (i >= N || !ParseNumber(field, out[i]) || !std::isfinite(out[i])) {
            return std::nullopt;
        }
        ++i;
        if (comma == std::string_view::npos) {
            break;
        }
        line.remove_prefix(comma + 1);
    }
    if (i != N) {
        return std::nullopt;
    }
    return out;
}

bool Assign(double v, std::int32_t& field) noexcept { return RoundToInt32(v, field); }
bool Assign(double v, double& field) noexcept {
    field = v;
    return true;
}

// Reads the record's fields, after a record number when `number` is given.
template <typename R> bool ReadFields(std::string_view line, R& r, std::int32_t* number) {
    constexpr std::size_t skip = std::is_same_v<R, DrawText> ? 0 : 1;
    const auto v = Numbers<skip + FieldCount<R>>(line);
    if (!v) {
        return false;
    }
    std::size_t i = skip;
    const bool fields =
        std::apply([&](auto&... f) { return (Assign((*v)[i++], f) && ...); }, Fields(r));
    return fields && (number == nullptr || Assign((*v)[0], *number));
}

// The section headers, in the order the writer writes them.
constexpr std::array<const char*, 8> kHeaders = {"座標情報", "矩形情報", "線分情報", "円情報",
                                                 "円弧情報", "塗潰情報", "矢印(1)",  "文字情報"};
constexpr HeaderNames kHeaderNames = {kHeaders[0], kHeaders[1], kHeaders[2], kHeaders[3],
                                      kHeaders[4], kHeaders[5], kHeaders[6], kHeaders[7]};

// The whole file: titles, extents line, the coordinate section (always, its
// records from `points(append)`), then every other section that has records.
template <typename Points, typename Text>
void AppendDrawing(std::string& out, std::string_view title1, std::string_view title2,
                   const DrawingExtents& e, Points points, const DrawingSections& sections,
                   const HeaderNames& headers, Text appendText) {
    appendText(out, title1);
    out += "\r\n";
    appendText(out, title2);
    out += "\r\n";
    RequireFinite(e.width, "drawing width");
    RequireFinite(e.height, "drawing height");
    for (double v :
         {e.width, e.height, e.bounds.minX, e.bounds.minY, e.bounds.maxX, e.bounds.maxY}) {
        RequireFinite(v, "drawing extents");
        AppendFixedNumber(out, v, 2);
        out += ", ";
    }
    EndLine(out);
    RecordWriter line(out);
    line.line(headers[0]); // the coordinate section, even when empty
    points([&](std::int32_t number, const DrawPoint& p) {
        AppendRecord(line, number, p, appendText);
    });
    line.line("END");
    line.flush();
    AppendSection(out, headers[1], sections.rectangles, appendText);
    AppendSection(out, headers[2], sections.lines, appendText);
    AppendSection(out, headers[3], sections.circles, appendText);
    AppendSection(out, headers[4], sections.arcs, appendText);
    AppendSection(out, headers[5], sections.fills, appendText);
    AppendSection(out, headers[6], sections.arrows, appendText);
    AppendSection(out, headers[7], sections.texts, appendText);
}

class Parser {
public:
    Parser(std::string_view bytes, DrawingCommandFile& out) : m_lines(bytes), m_out(out) {}

    void run() {
        std::string_view line;
        if (m_lines.next(line)) {
            m_out.title1 = FromShiftJis(line);
        }
        if (m_lines.next(line)) {
            m_out.title2 = FromShiftJis(line);
        }
        if (m_lines.next(line)) {
            m_out.hasExtents = ParseExtentsLine(line, m_out.extents);
            if (!m_out.hasExtents) {
                warn(3, "extents line is not six numbers");
            }
        }
        m_lineNo = 3;
        while (nextLine(line)) {
            const std::string_view header = TrimBlanks(line);
            if (!header.empty()) {
                section(header);
            }
        }
    }

private:
    // Reads one record of a section from its (first) line; false when the
    // record ran into the section's "END".
    using Reader = bool (Parser::*)(const char* name, std::string_view line);

    bool nextLine(std::string_view& line) {
        if (!m_lines.next(line)) {
            return false;
        }
        ++m_lineNo;
        return true;
    }

    void warn(std::size_t lineNo, const std::string& text) {
        AddWarning(m_out.warnings, "line " + std::to_string(lineNo) + ": " + text);
    }

    void section(std::string_view header) {
        // In the order of kHeaders.
        static constexpr std::array<Reader, kHeaders.size()> readers = {
            &Parser::point,
            &Parser::keep<&DrawingCommandFile::rectangles>,
            &Parser::keep<&DrawingCommandFile::lines>,
            &Parser::keep<&DrawingCommandFile::circles>,
            &Parser::keep<&DrawingCommandFile::arcs>,
            &Parser::fill,
            &Parser::keep<&DrawingCommandFile::arrows>,
            &Parser::text,
        };
        static const std::array<std::string, kHeaders.size()> sjis = [] {
            std::array<std::string, kHeaders.size()> names;
            for (std::size_t i = 0; i < kHeaders.size(); ++i) {
                names[i] = ToShiftJis(kHeaders[i]);
            }
            return names;
        }();
        std::size_t kind = 0;
        while (kind < kHeaders.size() && header != sjis[kind]) {
            ++kind;
        }
        const bool known = kind < kHeaders.size();
        if (!known) {
            warn(m_lineNo,
                 "unknown section \"" + FromShiftJis(header.substr(0, 40)) + "\" skipped");
        }
        const std::size_t headerLine = m_lineNo;
        std::string_view line;
        while (nextLine(line)) {
            if (TrimBlanks(line) == "END") {
                return;
            }
            if (known && !(this->*readers[kind])(kHeaders[kind], line)) {
                return;
            }
        }
        if (known) {
            warn(headerLine, std::string("section ") + kHeaders[kind] + " has no END");
        }
    }

    // Whether a record just read (`ok`) goes into its section, which holds
    // `size` records; says why not.
    bool accept(bool ok, std::size_t size, const char* name) {
        if (!ok) {
            warn(m_lineNo, std::string("bad record in ") + name + " skipped");
            return false;
        }
        if (size < kMaxRecords) {
            return true;
        }
        if (!m_full) {
            warn(m_lineNo, std::string("more than ") + std::to_string(kMaxRecords) +
                               " records in " + name + ", the rest skipped");
            m_full = true;
        }
        return false;
    }

    bool point(const char* name, std::string_view line) {
        DrawPoint p;
        std::int32_t number = 0;
        if (accept(ReadFields(line, p, &number), m_out.points.size(), name)) {
            m_out.points[number] = p;
        }
        return true;
    }

    template <auto Member> bool keep(const char* name, std::string_view line) {
        auto& records = m_out.*Member;
        typename std::remove_reference_t<decltype(records)>::value_type r;
        std::int32_t number = 0;
        if (accept(ReadFields(line, r, &number), records.size(), name)) {
            records.push_back(r);
        }
        return true;
    }

    bool fill(const char* name, std::string_view line) {
        // The text follows the third comma and may hold commas itself.
        std::size_t cut = std::string_view::npos;
        for (std::size_t i = 0, from = 0; i < 3; ++i, from = cut + 1) {
            if ((cut = line.find(',', from)) == std::string_view::npos) {
                break;
            }
        }
        DrawFill f;
        std::int32_t number = 0;
        if (accept(ReadFields(line.substr(0, cut), f, &number), m_out.fills.size(), name)) {
            if (cut != std::string_view::npos) {
                f.text = FromShiftJis(TrimBlanks(line.substr(cut + 1)));
            }
            m_out.fills.push_back(std::move(f));
        }
        return true;
    }

    bool text(const char* name, std::string_view line) {
        std::string_view numbers;
        if (!nextLine(numbers) || TrimBlanks(numbers) == "END") {
            // The section (or the file) ends here; the text had no number line.
            warn(m_lineNo, std::string("text without its position line in ") + name);
            return false;
        }
        DrawText t;
        if (accept(ReadFields(numbers, t, nullptr), m_out.texts.size(), name)) {
            t.text = FromShiftJis(line);
            m_out.texts.push_back(std::move(t));
        }
        return true;
    }

    LineReader m_lines;
    DrawingCommandFile& m_out;
    std::size_t m_lineNo = 0;
    bool m_full = false;
};

// Problems a renderer meets only later: references to points that do not
// exist, and direction codes it cannot turn into an angle.
void CheckReferences(DrawingCommandFile& d) {
    std::size_t missing = 0;
    auto check = [&](std::int32_t n) { missing += d.point(n) == nullptr ? 1 : 0; };
    for (const DrawLine& l : d.lines) {
        check(l.point1);
        check(l.point2);
    }
    for (const DrawRectangle& r : d.rectangles) {
        check(r.point1);
        check(r.point2);
    }
    for (const DrawCircle& c : d.circles) {
        check(c.centre);
    }
    for (const DrawArrow& a : d.arrows) {
        check(a.point);
    }
    if (missing > 0) {
        AddWarning(d.warnings, std::to_string(missing) + " reference(s) to a point number that "
                                                         "does not exist");
    }
    std::size_t badDirections = 0;
    double deg = 0.0;
    for (const DrawArrow& a : d.arrows) {
        badDirections += DirectionAngle(a.direction, deg) ? 0 : 1;
    }
    for (const DrawText& t : d.texts) {
        badDirections += DirectionAngle(t.direction, deg) ? 0 : 1;
    }
    if (badDirections > 0) {
        AddWarning(d.warnings, std::to_string(badDirections) + " direction code(s) outside 1 to 8");
    }
}

bool Fail(Error* error, const std::string& message, int code = 0, const std::string& path = {}) {
    if (error != nullptr) {
        *error = Error(message, code, path);
    }
    return false;
}

} // namespace

void RequireFinite(double value, const char* what) {
    if (!std::isfinite(value)) {
        throw Error(std::string("a drawing value is not a finite number: ") + what);
    }
}

bool DirectionAngle(int code, double& degrees) noexcept {
    if (code < 1 || code > 8) {
        return false;
    }
    degrees = (3 - code) * 45.0;
    if (degrees < 0.0) {
        degrees += 360.0;
    }
    return true;
}

const DrawPoint* DrawingCommandFile::point(std::int32_t number) const noexcept {
    const auto it = points.find(number);
    return it == points.end() ? nullptr : &it->second;
}

std::string DrawingCommandFileText(const DrawingCommandFile& file) {
    std::string out;
    out.reserve(64 + 40 * (file.points.size() + file.lines.size() + file.arrows.size() +
                           2 * file.texts.size()));
    const DrawingSections sections{file.rectangles, file.lines,  file.circles, file.arcs,
                                   file.fills,      file.arrows, file.texts};
    AppendDrawing(
        out, file.title1, file.title2, file.extents,
        [&](auto append) {
            for (const auto& [number, p] : file.points) {
                append(number, p);
            }
        },
        sections, kHeaderNames, [](std::string& o, std::string_view t) { o += t; });
    return out;
}

void AppendDrawingCommandFileBytes(std::string& out, std::string_view title1,
                                   std::string_view title2, const DrawingExtents& extents,
                                   std::span<const DrawPoint> points,
                                   const DrawingSections& sections) {
    AppendDrawingCommandFileBytes(out, title1, title2, extents, points, sections, AppendShiftJis);
}

void AppendDrawingCommandFileBytes(std::string& out, std::string_view title1,
                                   std::string_view title2, const DrawingExtents& extents,
                                   std::span<const DrawPoint> points,
                                   const DrawingSections& sections,
                                   const ShiftJisAppender& appendText) {
    // The headers' Shift_JIS bytes, converted once.
    static const std::array<std::string, kHeaders.size()> sjis = [] {
        std::array<std::string, kHeaders.size()> names;
        for (std::size_t i = 0; i < kHeaders.size(); ++i) {
            names[i] = ToShiftJis(kHeaders[i]);
        }
        return names;
    }();
    static const HeaderNames names = [] {
        HeaderNames n;
        for (std::size_t i = 0; i < kHeaders.size(); ++i) {
            n[i] = sjis[i];
        }
        return n;
    }();
    AppendDrawing(
        out, title1, title2, extents,
        [&](auto append) {
            std::int32_t number = 0;
            for (const DrawPoint& p : points) {
                append(++number, p);
            }
        },
        sections, names, appendText);
}

bool ParseExtentsLine(std::string_view line, DrawingExtents& extents) noexcept {
    ListInputReader in(line);
    DrawingExtents e;
    DrawingBounds& b = e.bounds;
    for (double* v : {&e.width, &e.height, &b.minX, &b.minY, &b.maxX, &b.maxY}) {
        std::string_view field;
        if (!in.nextNumberField(field) || !ParseNumber(field, *v) || !std::isfinite(*v)) {
            return false;
        }
    }
    extents = e;
    return true;
}

bool ParseDrawingCommandFile(std::string_view bytes, DrawingCommandFile& out, Error* error) {
    out = DrawingCommandFile{};
    if (!CheckFileSize(bytes, FileLimit::Drawing, "drawing command file", error)) {
        return false;
    }
    Parser(bytes, out).run();
    CheckReferences(out);
    return true;
}

bool LoadDrawingCommandFile(const std::string& path, DrawingCommandFile& out, Error* error) {
    std::string bytes;
    Error readError;
    if (!ReadFileBytes(path, bytes, readError, FileLimit::Drawing)) {
        out = DrawingCommandFile{};
        return Fail(
            error, "drawing command file not read (error " + std::to_string(readError.code()) + ")",
            readError.code(), path);
    }
    return ParseDrawingCommandFile(bytes, out, error);
}

bool CheckFileSize(std::string_view bytes, std::size_t limit, const char* kind, Error* error) {
    if (bytes.empty()) {
        return Fail(error, std::string("the ") + kind + " is empty");
    }
    if (bytes.size() > limit) {
        return Fail(error, std::string("the ") + kind + " is too large (" +
                               std::to_string(bytes.size()) + " bytes)");
    }
    return true;
}

void AddWarning(std::vector<std::string>& warnings, std::string text) {
    if (warnings.size() < kMaxWarnings) {
        warnings.push_back(std::move(text));
    } else if (warnings.size() == kMaxWarnings) {
        warnings.push_back("further problems not listed");
    }
}

} // namespace ormavex
