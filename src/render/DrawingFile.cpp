#include "DrawingFile.h"

#include "text/Blanks.h"
#include "text/LeadingNumber.h"
#include "text/ShiftJis.h"
#include "text/TextFile.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace ormavex::render {

namespace {

// The comma-separated numbers of one record line; nullopt when the count is
// not `count` or a field is not a finite number.
template <std::size_t N>
std::optional<std::array<double, N>> Numbers(std::string_view line) {
    std::array<double, N> out{};
    std::size_t i = 0;
    while (true) {
        std::size_t comma = line.find(',');
        std::string_view field = TrimBlanks(line.substr(0, comma));
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

bool ToInt(double v, int& out) noexcept {
    std::int32_t r = 0;
    if (!RoundToInt32(v, r)) {
        return false;
    }
    out = r;
    return true;
}

enum class Section { Points, Rects, Lines, Circles, Arcs, Fills, Arrows, Texts, Unknown };

struct SectionName {
    Section section;
    std::string sjis;
    const char* utf8;
};

const std::array<SectionName, 8>& SectionNames() {
    static const std::array<SectionName, 8> names = {{
        {Section::Points, ToShiftJis("座標情報"), "座標情報"},
        {Section::Rects, ToShiftJis("矩形情報"), "矩形情報"},
        {Section::Lines, ToShiftJis("線分情報"), "線分情報"},
        {Section::Circles, ToShiftJis("円情報"), "円情報"},
        {Section::Arcs, ToShiftJis("円弧情報"), "円弧情報"},
        {Section::Fills, ToShiftJis("塗潰情報"), "塗潰情報"},
        {Section::Arrows, ToShiftJis("矢印(1)"), "矢印(1)"},
        {Section::Texts, ToShiftJis("文字情報"), "文字情報"},
    }};
    return names;
}

class Parser {
public:
    Parser(std::string_view bytes, Drawing& out) : m_lines(bytes), m_out(out) {}

    void run() {
        std::string_view line;
        if (m_lines.next(line)) {
            m_out.title1 = FromShiftJis(line);
        }
        if (m_lines.next(line)) {
            m_out.title2 = FromShiftJis(line);
        }
        if (m_lines.next(line)) {
            ++m_lineNo;
            if (auto ext = Numbers<6>(line)) {
                for (std::size_t i = 0; i < 6; ++i) {
                    m_out.extents[i] = (*ext)[i];
                }
                m_out.hasExtents = true;
            } else {
                warn(3, "extents line is not six numbers");
            }
        }
        m_lineNo = 3;
        while (nextLine(line)) {
            std::string_view header = TrimBlanks(line);
            if (header.empty()) {
                continue;
            }
            section(header);
        }
    }

private:
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
        Section kind = Section::Unknown;
        const char* name = "";
        for (const SectionName& s : SectionNames()) {
            if (header == s.sjis) {
                kind = s.section;
                name = s.utf8;
            }
        }
        if (kind == Section::Unknown) {
            warn(m_lineNo, "unknown section \"" + FromShiftJis(header.substr(0, 40)) + "\" skipped");
        }
        const std::size_t headerLine = m_lineNo;
        std::string_view line;
        while (nextLine(line)) {
            if (TrimBlanks(line) == "END") {
                return;
            }
            if (kind != Section::Unknown && !record(kind, name, line)) {
                return;
            }
        }
        if (kind != Section::Unknown) {
            warn(headerLine, std::string("section ") + name + " has no END");
        }
    }

    bool room(std::size_t size, const char* name) {
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

    bool bad(const char* name) {
        warn(m_lineNo, std::string("bad record in ") + name + " skipped");
        return true;
    }

    // One record; false when the record ran into the section's "END".
    bool record(Section kind, const char* name, std::string_view line) {
        switch (kind) {
        case Section::Points: {
            auto v = Numbers<3>(line);
            int n = 0;
            if (!v || !ToInt((*v)[0], n)) {
                return bad(name);
            }
            if (room(m_out.points.size(), name)) {
                m_out.points[n] = DrawingPoint{(*v)[1], (*v)[2]};
            }
            return true;
        }
        case Section::Rects: {
            auto v = Numbers<5>(line);
            DrawingRect r;
            if (!v || !ToInt((*v)[1], r.first) || !ToInt((*v)[2], r.second) ||
                !ToInt((*v)[3], r.style) || !ToInt((*v)[4], r.extra)) {
                return bad(name);
            }
            if (room(m_out.rects.size(), name)) {
                m_out.rects.push_back(r);
            }
            return true;
        }
        case Section::Lines: {
            auto v = Numbers<4>(line);
            DrawingLine l;
            if (!v || !ToInt((*v)[1], l.first) || !ToInt((*v)[2], l.second) ||
                !ToInt((*v)[3], l.style)) {
                return bad(name);
            }
            if (room(m_out.lines.size(), name)) {
                m_out.lines.push_back(l);
            }
            return true;
        }
        case Section::Circles: {
            auto v = Numbers<4>(line);
            DrawingCircle c;
            if (!v || !ToInt((*v)[1], c.centre) || !ToInt((*v)[3], c.style)) {
                return bad(name);
            }
            c.radius = (*v)[2];
            if (room(m_out.circles.size(), name)) {
                m_out.circles.push_back(c);
            }
            return true;
        }
        case Section::Arcs: {
            auto v = Numbers<7>(line);
            DrawingArc a;
            if (!v || !ToInt((*v)[6], a.style)) {
                return bad(name);
            }
            a.cx = (*v)[1];
            a.cy = (*v)[2];
            a.radius = (*v)[3];
            a.startDeg = (*v)[4];
            a.endDeg = (*v)[5];
            if (room(m_out.arcs.size(), name)) {
                m_out.arcs.push_back(a);
            }
            return true;
        }
        case Section::Fills:
            ++m_out.fillCount;
            return true;
        case Section::Arrows: {
            auto v = Numbers<4>(line);
            DrawingArrow a;
            if (!v || !ToInt((*v)[1], a.point) || !ToInt((*v)[2], a.direction) ||
                !ToInt((*v)[3], a.style)) {
                return bad(name);
            }
            if (room(m_out.arrows.size(), name)) {
                m_out.arrows.push_back(a);
            }
            return true;
        }
        case Section::Texts: {
            DrawingText t;
            t.text = FromShiftJis(line);
            std::string_view numbers;
            if (!nextLine(numbers)) {
                warn(m_lineNo, std::string("text without its position line in ") + name);
                return false;
            }
            if (TrimBlanks(numbers) == "END") {
                // The section ends here; the text had no number line.
                warn(m_lineNo, std::string("text without its position line in ") + name);
                return false;
            }
            auto v = Numbers<4>(numbers);
            if (!v || !ToInt((*v)[2], t.style) || !ToInt((*v)[3], t.direction)) {
                return bad(name);
            }
            t.x = (*v)[0];
            t.y = (*v)[1];
            if (room(m_out.texts.size(), name)) {
                m_out.texts.push_back(std::move(t));
            }
            return true;
        }
        case Section::Unknown:
            break;
        }
        return true;
    }

    LineReader m_lines;
    Drawing& m_out;
    std::size_t m_lineNo = 0;
    bool m_full = false;
};

} // namespace

const DrawingPoint* Drawing::point(int n) const noexcept {
    auto it = points.find(n);
    return it == points.end() ? nullptr : &it->second;
}

void AddWarning(std::vector<std::string>& warnings, std::string text) {
    if (warnings.size() < kMaxWarnings) {
        warnings.push_back(std::move(text));
    } else if (warnings.size() == kMaxWarnings) {
        warnings.push_back("further problems not listed");
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

bool ParseDrawingFile(std::string_view bytes, Drawing& out, std::string* error) {
    out = Drawing{};
    if (bytes.empty()) {
        if (error != nullptr) {
            *error = "the drawing command file is empty";
        }
        return false;
    }
    if (bytes.size() > kMaxDrawingFileBytes) {
        if (error != nullptr) {
            *error = "the drawing command file is too large (" + std::to_string(bytes.size()) +
                     " bytes)";
        }
        return false;
    }
    Parser(bytes, out).run();
    // References to points that do not exist: those primitives are not drawn.
    std::size_t missing = 0;
    auto check = [&](int n) {
        if (out.point(n) == nullptr) {
            ++missing;
        }
    };
    for (const DrawingLine& l : out.lines) {
        check(l.first);
        check(l.second);
    }
    for (const DrawingRect& r : out.rects) {
        check(r.first);
        check(r.second);
    }
    for (const DrawingCircle& c : out.circles) {
        check(c.centre);
    }
    for (const DrawingArrow& a : out.arrows) {
        check(a.point);
    }
    if (missing > 0) {
        AddWarning(out.warnings, std::to_string(missing) + " reference(s) to a point number that "
                                 "does not exist");
    }
    std::size_t badDirections = 0;
    double deg = 0.0;
    for (const DrawingArrow& a : out.arrows) {
        badDirections += DirectionAngle(a.direction, deg) ? 0 : 1;
    }
    for (const DrawingText& t : out.texts) {
        badDirections += DirectionAngle(t.direction, deg) ? 0 : 1;
    }
    if (badDirections > 0) {
        AddWarning(out.warnings, std::to_string(badDirections) + " direction code(s) outside 1 to 8");
    }
    return true;
}

bool LoadDrawingFile(const std::string& path, Drawing& out, std::string* error) {
    std::string bytes;
    Error readError;
    if (!ReadFileBytes(path, bytes, readError, kMaxDrawingFileBytes)) {
        if (error != nullptr) {
            *error =
                "drawing command file not read (error " + std::to_string(readError.code()) + ")";
        }
        return false;
    }
    return ParseDrawingFile(bytes, out, error);
}

} // namespace ormavex::render
