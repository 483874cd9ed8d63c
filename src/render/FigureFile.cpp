#include "FigureFile.h"

#include "DrawingFile.h"
#include "text/Blanks.h"
#include "text/LeadingNumber.h"
#include "text/ListInput.h"
#include "text/ShiftJis.h"
#include "text/TextFile.h"

#include <cmath>

namespace ormavex::render {

namespace {

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

bool Fail(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
    return false;
}

} // namespace

bool ParseFigureFile(std::string_view bytes, FigureFile& out, std::string* error) {
    out = FigureFile{};
    if (bytes.empty()) {
        return Fail(error, "the figure file is empty");
    }
    if (bytes.size() > kMaxFigureFileBytes) {
        return Fail(error, "the figure file is too large (" + std::to_string(bytes.size()) + " bytes)");
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
        std::string_view path = TrimBlanks(line);
        if (path == "END") {
            ended = true;
            break;
        }
        if (path.empty()) {
            continue;
        }
        FigureEntry e;
        e.path = FromShiftJis(path);
        if (!lines.next(line)) {
            AddWarning(out.warnings, "line " + std::to_string(lineNo) + ": drawing without offsets");
        } else {
            ++lineNo;
            if (!TwoNumbers(line, e.offsetX, e.offsetY)) {
                e.offsetX = 0.0;
                e.offsetY = 0.0;
                AddWarning(out.warnings,
                           "line " + std::to_string(lineNo) + ": offsets are not two numbers, 0 used");
            }
        }
        if (out.entries.size() < kMaxFigureEntries) {
            out.entries.push_back(std::move(e));
        } else {
            AddWarning(out.warnings, "more than " + std::to_string(kMaxFigureEntries) +
                                         " drawings, the rest skipped");
            break;
        }
    }
    if (!ended) {
        AddWarning(out.warnings, "the figure file has no END");
    }
    return true;
}

} // namespace ormavex::render
