#include "core/cases/CaseTable.h"

#include "core/text/LeadingNumber.h"

#include <cstdio>

namespace ormavex {

std::string WithoutControlCharacters(std::string text) {
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

namespace {

const TableTypeInfo kTypes[5] = {
    {"FREE_8*4", "FREE_84.DAT", "三辺固定一辺自由版（８×４）", "三辺固定一辺自由（８×４）", 9,
     true},
    {"FREE_6*4", "FREE_64.DAT", "三辺固定一辺自由版（６×４）", "三辺固定一辺自由（６×４）", 7,
     true},
    {"FIX_8*4", "FIX_84.DAT", "四辺固定版（８×４）", "四辺固定（８×４）", 9, false},
    {"FIX_6*4", "FIX_64.DAT", "四辺固定版（６×４）", "四辺固定（６×４）", 7, false},
    {"FIX_4*4", "FIX_44.DAT", "四辺固定版（４×４）", "四辺固定（４×４）", 5, false},
};

} // namespace

const TableTypeInfo* TableType(int number) noexcept {
    return number >= 1 && number <= 5 ? &kTypes[number - 1] : nullptr;
}

std::string Cell::toText() const {
    if (isText()) {
        return text();
    }
    if (isNumber()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", number());
        return buf;
    }
    return {};
}

double Cell::toNumber() const noexcept {
    if (isNumber()) {
        return number();
    }
    if (isText()) {
        return LeadingNumber(text());
    }
    return 0.0;
}

bool Cell::toInt32(std::int32_t& value) const noexcept {
    if (isEmpty()) {
        value = 0;
        return true;
    }
    double d = 0.0;
    if (isNumber()) {
        d = number();
    } else if (!ParseNumber(text(), d)) {
        return false;
    }
    return RoundToInt32(d, value);
}

void CaseTable::clear() {
    for (auto& row : m_cells) {
        row.fill(Cell());
    }
    CaseCount = 0;
}

void CaseTable::setDefaults(int row) {
    cell(row, CaseCol::Title) = Cell("(未定義)");
    cell(row, CaseCol::TableType) = Cell(0.0);
    cell(row, CaseCol::PrintStyle) = Cell(0.0);
    cell(row, CaseCol::Decimals) = Cell(0.0);
    cell(row, CaseCol::Lx) = Cell(1.0);
    cell(row, CaseCol::Ly) = Cell(1.0);
    cell(row, CaseCol::Ratio) = Cell(1.0);
    cell(row, CaseCol::Lambda) = Cell(1.0);
    cell(row, CaseCol::QA) = Cell(0.0);
    cell(row, CaseCol::QB) = Cell(0.0);
}

} // namespace ormavex
