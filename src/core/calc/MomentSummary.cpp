#include "core/calc/MomentSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace ormavex {

namespace {

void Take(Governing& g, double v, int row, int point, bool positive) {
    if (positive ? (v > 0.0 && v > g.value) : (v < 0.0 && v < g.value)) {
        g = {v, row, point};
    }
}

// `text` after `lead` in double quotes, inner double quotes doubled.
std::string Quoted(const char* lead, const std::string& text) {
    std::string out = std::string("\"") + lead;
    for (char ch : text) {
        if (ch == '"') {
            out += '"';
        }
        out += ch;
    }
    return out + "\"";
}

} // namespace

CaseSummary SummariseCase(const CalcArrays& calc, int caseNo) {
    CaseSummary s;
    s.caseNo = caseNo;
    const int rows = std::clamp(calc.CalcRowCount[caseNo], 0, MaxRows);
    const int points = std::clamp(calc.CalcPointCount[caseNo], 0, MaxPoints);
    for (int j = 1; j <= rows; ++j) {
        for (int k = 1; k <= points; ++k) {
            const double mx = calc.CalcMx[caseNo](j, k);
            const double my = calc.CalcMy[caseNo](j, k);
            Take(s.mxMax, mx, j, k, true);
            Take(s.mxMin, mx, j, k, false);
            Take(s.myMax, my, j, k, true);
            Take(s.myMin, my, j, k, false);
        }
    }
    return s;
}

double GoverningChange(const CaseSummary& atLambda, const CaseSummary& atReal) {
    const Governing* lam[] = {&atLambda.mxMax, &atLambda.mxMin, &atLambda.myMax, &atLambda.myMin};
    const Governing* real[] = {&atReal.mxMax, &atReal.mxMin, &atReal.myMax, &atReal.myMin};
    double scale = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        scale = std::max({scale, std::fabs(lam[i]->value), std::fabs(real[i]->value)});
    }
    if (scale == 0.0) {
        return 0.0;
    }
    double change = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        const double base = std::max(std::fabs(lam[i]->value), 0.01 * scale);
        change = std::max(change, std::fabs(real[i]->value - lam[i]->value) / base);
    }
    return change;
}

bool RealRatioDiffers(const CaseSummary& atLambda, const CaseSummary& atReal, double limit) {
    return GoverningChange(atLambda, atReal) > limit;
}

std::string ShortestNumber(double value) {
    if (value == 0.0) {
        return "0"; // a zero load times a coefficient gives -0, which no engineer writes
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    return Quoted("", text);
}

std::string CsvTextField(const std::string& text) {
    if (!text.empty() && std::string_view("=+-@").find(text[0]) != std::string_view::npos) {
        return Quoted("'", text);
    }
    return CsvField(text);
}

std::string ResultsCsv(const CaseTable& cases, const CalcArrays& atLambda,
                       const CalcArrays* atReal) {
    std::string out = "\xEF\xBB\xBF"
                      "case,title,row,point,Mx,My,Mx_real,My_real\r\n";
    const int n = std::clamp(cases.CaseCount, 0, MaxCases);
    for (int c = 1; c <= n; ++c) {
        const std::string prefix = std::to_string(c) + "," + CsvTextField(cases.title(c)) + ",";
        const int rows = std::clamp(atLambda.CalcRowCount[c], 0, MaxRows);
        const int points = std::clamp(atLambda.CalcPointCount[c], 0, MaxPoints);
        const bool real = atReal != nullptr && atReal->CalcRowCount[c] >= rows &&
                          atReal->CalcPointCount[c] == points && rows > 0;
        for (int j = 1; j <= rows; ++j) {
            for (int k = 1; k <= points; ++k) {
                out += prefix + std::to_string(j) + "," + std::to_string(k) + "," +
                       ShortestNumber(atLambda.CalcMx[c](j, k)) + "," +
                       ShortestNumber(atLambda.CalcMy[c](j, k)) + ",";
                if (real) {
                    out += ShortestNumber(atReal->CalcMx[c](j, k)) + "," +
                           ShortestNumber(atReal->CalcMy[c](j, k));
                } else {
                    out += ",";
                }
                out += "\r\n";
            }
        }
    }
    return out;
}

} // namespace ormavex
