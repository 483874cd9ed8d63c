#include "core/drawing/FigureFile.h"

#include "core/drawing/DrawingCommandFile.h"
#include "core/text/Blanks.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/NumberPicture.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <cmath>

namespace ormavex {

namespace {

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

// Two numbers of a list-print line, separated by blanks or a comma.
bool TwoNumbers(std::string_view line, double& a, double& b) {
    ListInputReader in(line);
    std::string_view fa;
    std::string_view fb;
    std::string_view rest;
    if (!in.nextNumberField(fa) || !in.nextNumberField(fb) || in.nextNumberField(rest)) {
        return false;
    }
    return ParseNumber(fa, a) && ParseNumber(fb, b) && std::isfinite(a) && std::isfinite(b);
}

bool Fail(Error* error, const std::string& message) {
    if (error != nullptr) {
        *error = Error(message);
    }
    return false;
}

} // namespace

std::string FigureFileText(const FigureFile& file) {
    std::string out;
    AppendLine(out, file.title);
    RequireFinite(file.width, "figure area width");
    RequireFinite(file.height, "figure area height");
    AppendLine(out, ListPrintLine({file.width, file.height}));
    for (const FigureFile::Entry& e : file.entries) {
        RequireFinite(e.offsetX, "figure offset");
        RequireFinite(e.offsetY, "figure offset");
        AppendLine(out, e.path);
        AppendLine(out, ListPrintLine({e.offsetX, e.offsetY}));
    }
    AppendLine(out, "END");
    return out;
}

bool ParseFigureFile(std::string_view bytes, FigureFile& out, Error* error) {
    out = FigureFile{};
    if (!CheckFileSize(bytes, kMaxFigureFileBytes, "figure file", error)) {
        return false;
    }
    LineReader lines(bytes);
    std::string_view line;
    lines.next(line);
    out.title = FromShiftJis(line);
    if (!lines.next(line)) {
        return Fail(error, "the figure file has no area line");
    }
    if (!TwoNumbers(line, out.width, out.height)) {
        return Fail(error, "the area line of the figure file is not two numbers");
    }
    if (!(out.width > 0.0 && out.height > 0.0 && out.width <= kMaxFigureSideMm &&
          out.height <= kMaxFigureSideMm)) {
        return Fail(error, "the figure area is not usable");
    }
    std::size_t lineNo = 2;
    bool ended = false;
    while (lines.next(line)) {
        ++lineNo;
        const std::string_view path = TrimBlanks(line);
        if (path == "END") {
            ended = true;
            break;
        }
        if (path.empty()) {
            continue;
        }
        FigureFile::Entry e;
        e.path = FromShiftJis(path);
        if (!lines.next(line)) {
            AddWarning(out.warnings,
                       "line " + std::to_string(lineNo) + ": drawing without offsets");
        } else if (++lineNo; !TwoNumbers(line, e.offsetX, e.offsetY)) {
            e.offsetX = 0.0;
            e.offsetY = 0.0;
            AddWarning(out.warnings,
                       "line " + std::to_string(lineNo) + ": offsets are not two numbers, 0 used");
        }
        if (out.entries.size() >= kMaxFigureEntries) {
            AddWarning(out.warnings, "more than " + std::to_string(kMaxFigureEntries) +
                                         " drawings, the rest skipped");
            break;
        }
        out.entries.push_back(std::move(e));
    }
    if (!ended) {
        AddWarning(out.warnings, "the figure file has no END");
    }
    return true;
}

} // namespace ormavex
