#include "core/report/PrintFile.h"

#include "core/text/ShiftJis.h"

namespace ormavex::printfile {

namespace {

bool IsHalfWidthKana(unsigned char b) noexcept { return b >= 0xA1 && b <= 0xDF; }

// Turns one line's bytes (no line end, no form feed) into a print line.
// Control codes count only at the start of a physical line (`lineStart`):
// text that follows a form feed on the same line is printed as it is.
PrintLine MakeLine(std::string_view bytes, bool lineStart) {
    PrintLine line;
    std::size_t indent = bytes.find_first_not_of(' ');
    if (indent == std::string_view::npos) {
        return line; // blank line
    }
    std::string_view rest = bytes.substr(indent);
    if (lineStart && rest.starts_with(kFigure)) {
        line.kind = PrintLine::Kind::Figure;
        line.figureColumn = static_cast<int>(indent);
        // "?FG;" then two fields each closed by ";" (always "000"), then the path.
        std::size_t pos = kFigure.size();
        bool ok = true;
        for (int field = 0; field < 2 && ok; ++field) {
            std::size_t semi = rest.find(';', pos);
            ok = semi != std::string_view::npos && semi - pos <= 8;
            pos = ok ? semi + 1 : pos;
        }
        if (ok) {
            std::string_view path = rest.substr(pos);
            while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) {
                path.remove_suffix(1);
            }
            line.figurePath = std::string(path);
        }
        return line;
    }
    std::string printed(bytes);
    if (lineStart && (rest.starts_with(kHeading1) || rest.starts_with(kHeading2))) {
        line.heading = rest[2] - '0';
        printed.erase(indent, kHeading1.size());
    }
    line.runs = SplitIntoRuns(printed);
    return line;
}

} // namespace

std::vector<TextRun> SplitIntoRuns(std::string_view s) {
    std::vector<TextRun> runs;
    std::size_t i = 0;
    std::size_t runStart = 0;
    bool inRun = false;
    auto close = [&](std::size_t end) {
        if (inRun) {
            runs.push_back(TextRun{static_cast<int>(runStart),
                                   FromShiftJis(s.substr(runStart, end - runStart))});
            inRun = false;
        }
    };
    const std::size_t limit = std::min<std::size_t>(s.size(), kMaxColumns);
    while (i < limit) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t width = 0;
        if (b > 0x20 && b < 0x7F) {
            width = 1;
        } else if (IsHalfWidthKana(b)) {
            width = 1;
        } else if (IsShiftJisLeadByte(b) && i + 1 < s.size() &&
                   IsShiftJisTrailByte(static_cast<unsigned char>(s[i + 1]))) {
            width = 2;
        }
        if (width == 0) {
            // A blank, a control character or a byte that starts no character.
            close(i);
            if (b >= 0x80 || b == 0x7F) {
                runs.push_back(TextRun{static_cast<int>(i), "?"});
            }
            ++i;
            continue;
        }
        if (!inRun) {
            inRun = true;
            runStart = i;
        }
        i += width;
    }
    close(std::min(i, s.size()));
    return runs;
}

PrintFileContent ParsePrintFile(std::string_view bytes) {
    PrintFileContent out;
    std::size_t start = 0;
    std::size_t i = 0;
    bool lineStart = true; // `start` is the start of a physical line
    auto add = [&](PrintLine&& l) {
        if (out.lines.size() >= kMaxLines) {
            out.truncated = true;
            return false;
        }
        out.lines.push_back(std::move(l));
        return true;
    };
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == kFormFeed) {
            // Text before the form feed without a line end is still a line.
            if (i > start && !add(MakeLine(bytes.substr(start, i - start), lineStart))) {
                return out;
            }
            PrintLine brk;
            brk.kind = PrintLine::Kind::PageBreak;
            if (!add(std::move(brk))) {
                return out;
            }
            // Only a form feed that stands first on its physical line (as the
            // report writer puts it) starts a line that may hold a control
            // code; text behind a form feed inside a line is plain text.
            lineStart = lineStart && i == start;
            start = ++i;
        } else if (c == '\r' || c == '\n') {
            if (!add(MakeLine(bytes.substr(start, i - start), lineStart))) {
                return out;
            }
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
            lineStart = true;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) {
        add(MakeLine(bytes.substr(start), lineStart));
    }
    return out;
}

} // namespace ormavex::printfile
