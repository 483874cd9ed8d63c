#include "core/project/basIO.h"

#include "core/app/Messages.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ormavex {

namespace {

std::string PadLabel(const char* label) {
    std::string s = label;
    s.resize(31, ' ');
    return s;
}

// Plain decimal, at most 15 significant digits, no exponent: 12, 1.5, -0.25.
std::string PlainDecimal(double v) {
    if (v == 0.0 || !std::isfinite(v)) {
        return "0";
    }
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    if (std::strchr(buf, 'e') == nullptr) {
        return buf;
    }
    // Rewrite the exponent form in fixed notation with the same digits.
    int exp10 = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    int decimals = exp10 < 0 ? 14 - exp10 : 0;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') {
            s.pop_back();
        }
        if (!s.empty() && s.back() == '.') {
            s.pop_back();
        }
    }
    return s;
}

std::string CountLine(std::int32_t n) { return " " + std::to_string(n) + " "; }

std::string CellLine(const Cell& cell) {
    if (cell.isText()) {
        std::string t = cell.text();
        for (char& ch : t) {
            if (ch == '"') {
                ch = '\'';
            }
        }
        return "\"" + t + "\"";
    }
    if (cell.isNumber()) {
        return PlainDecimal(cell.number());
    }
    return {};
}

Cell CellFromField(const ListInputReader::Field& f) {
    if (f.empty) {
        return Cell();
    }
    if (f.quoted) {
        return Cell(WithoutControlCharacters(FromShiftJis(f.text)));
    }
    double v = 0.0;
    if (ParseNumber(f.text, v) && std::isfinite(v)) {
        return Cell(v);
    }
    return Cell(WithoutControlCharacters(FromShiftJis(f.text)));
}

bool Fail(CaseTable& cases, Error& error, int code, const std::string& path = {}) {
    error = Error(ReadErrorMessage(code).text, code, path);
    InitData(cases);
    return false;
}

} // namespace

void InitData(CaseTable& cases) { cases.clear(); }

std::string InputFileBytes(const CaseTable& cases) {
    std::string out;
    auto line = [&out](const std::string& utf8) {
        out += ToShiftJis(utf8);
        out += "\r\n";
    };
    line(std::string("VELMORRA INPUT FILE FORMAT V1：") + ProductTitle + " V2");
    line(PadLabel("PRODUCT NAME") + "[" + ProductTitle + "]");
    line(PadLabel("INPUT FILE VERSION") + "[2.10]");
    const int n = std::max(0, std::min<int>(cases.CaseCount, MaxCases));
    line(CountLine(n));
    for (int r = 1; r <= n; ++r) {
        line(CountLine(r));
        for (int k = 1; k <= CaseColumns; ++k) {
            line(CellLine(cases.cell(r, k)));
        }
    }
    return out;
}

bool WriteInputFile(const CaseTable& cases, const std::string& path, Error& error) {
    if (!ReplaceFileContents(path, InputFileBytes(cases), error)) {
        error = Error(WriteErrorMessage(error.code(), path).text, error.code(), path);
        return false;
    }
    return true;
}

bool ReadInputFile(CaseTable& cases, const std::string& path, Error& error) {
    return detail::ReadProjectFile(cases, path, 10, error);
}

namespace detail {

bool ReadProjectFile(CaseTable& cases, const std::string& path, int cellsPerCase, Error& error) {
    std::string data;
    if (!ReadFileBytes(path, data, error, FileLimit::Project)) {
        return Fail(cases, error, error.code(), path);
    }
    if (!ReadProjectBytes(cases, data, cellsPerCase, error)) {
        error = Error(error.message(), error.code(), path);
        return false;
    }
    return true;
}

bool ReadProjectBytes(CaseTable& cases, std::string_view data, int cellsPerCase, Error& error) {
    LineReader header(data);
    if (!header.skip(3)) {
        return Fail(cases, error, FileError::InputPastEnd);
    }
    ListInputReader in(data.substr(header.position()));
    ListInputReader::Field f;
    if (!in.next(f)) {
        return Fail(cases, error, FileError::InputPastEnd);
    }
    std::int32_t count = 0;
    if (!f.empty) {
        double v = 0.0;
        if (f.quoted || !ParseNumber(f.text, v)) {
            return Fail(cases, error, FileError::TypeMismatch);
        }
        if (!RoundToInt32(v, count)) {
            return Fail(cases, error, FileError::Overflow);
        }
    }
    // The count is checked before any case is stored: a file announcing more
    // than 99 cases, or a negative number of them, is refused as a whole.
    if (count < 0 || count > MaxCases) {
        return Fail(cases, error, FileError::SubscriptOutOfRange);
    }
    static constexpr int kColumns10[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    static constexpr int kColumns9[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};
    const int* columns = cellsPerCase == 10 ? kColumns10 : kColumns9;
    for (int r = 1; r <= count; ++r) {
        if (!in.next(f)) { // the case number, not compared with r
            return Fail(cases, error, FileError::InputPastEnd);
        }
        for (int i = 0; i < cellsPerCase; ++i) {
            if (!in.next(f)) {
                return Fail(cases, error, FileError::InputPastEnd);
            }
            cases.cell(r, columns[i]) = CellFromField(f);
        }
        if (cellsPerCase == 9) {
            cases.cell(r, 4) = Cell(0.0);
        }
    }
    cases.CaseCount = count;
    return true;
}

} // namespace detail

} // namespace ormavex
