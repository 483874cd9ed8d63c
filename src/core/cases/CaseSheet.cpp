#include "core/cases/CaseSheet.h"

#include "core/cases/CaseTable.h"
#include "core/text/Blanks.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberPicture.h"
#include "core/text/ShiftJis.h"
#include "core/text/WidthFold.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ormavex {

namespace {

std::vector<SheetColumn> MakeColumns() {
    std::vector<SheetColumn> c(SheetColumns + 1); // [0] unused: columns count from 1
    c[SheetCol::Title] = {"検討ｹｰｽ名称", SheetCellKind::Text, 0, 0, 0, {}};
    c[SheetCol::Button] = {"計算条件", SheetCellKind::Button, 0, 0, 0, {}};
    std::vector<std::string> types;
    for (int n = 1; n <= 5; ++n) {
        types.emplace_back(TableType(n)->listText);
    }
    c[SheetCol::TableType] = {"計算数表", SheetCellKind::Choice, 0, 0, 0, types};
    c[SheetCol::PrintStyle] = {"印刷書式", SheetCellKind::Choice,   0, 0,
                               0,          {"側壁ﾀｲﾌﾟ", "底版ﾀｲﾌﾟ"}};
    c[SheetCol::Decimals] = {"小数部桁数", SheetCellKind::Choice, 0, 0, 0, {"２桁", "３桁"}};
    const auto decimal = [](const char* heading, CaseValueRange r) {
        return SheetColumn{heading, SheetCellKind::Decimal, r.min, r.max, r.places, {}};
    };
    c[SheetCol::Lx] = decimal("Lx(m)", CaseLimits::Span);
    c[SheetCol::Ly] = decimal("Ly(m)", CaseLimits::Span);
    c[SheetCol::Ratio] = decimal("Lx/Ly", CaseLimits::Ratio);
    c[SheetCol::Lambda] = decimal("λ", CaseLimits::Lambda);
    c[SheetCol::QA] = decimal("QA(kN/m2)", CaseLimits::Load);
    c[SheetCol::QB] = decimal("QB(kN/m2)", CaseLimits::Load);
    return c;
}

/// The minus sign U+2212, as some input methods and spreadsheets write it.
constexpr std::string_view kMinusSign = "\u2212";

/// A choice text reduced to what tells the items apart: folded, without
/// blanks; for the table types also without brackets and "版", with x, X and *
/// read as ×.
std::string ChoiceKey(std::string_view text, bool tableType) {
    const std::string folded = FoldWidth(text);
    std::string key;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const char ch = folded[i];
        if (ch == ' ' || ch == '\t') {
            continue;
        }
        if (!tableType) {
            key += ch;
            continue;
        }
        if (ch == '(' || ch == ')') {
            continue;
        }
        if (folded.compare(i, 3, "版") == 0) {
            i += 2;
            continue;
        }
        if (ch == 'x' || ch == 'X' || ch == '*') {
            key += "×";
            continue;
        }
        key += ch;
    }
    return key;
}

/// The item index `folded` (a width-folded text, not empty) names in a choice
/// column, -1 when it names none. See SheetChoiceForms.
int ChoiceIndex(int column, std::string_view folded) {
    const SheetColumn& c = SheetColumnInfo(column);
    const std::string_view trimmed = TrimBlanks(folded);
    const int count = static_cast<int>(c.items.size());
    const bool digits =
        std::all_of(trimmed.begin(), trimmed.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    if (digits && trimmed.size() <= 2) {
        const int n = std::atoi(std::string(trimmed).c_str());
        if (column == SheetCol::Decimals) { // the number of places, 2 or 3
            return n == 2 || n == 3 ? n - 2 : -1;
        }
        return n < count ? n : -1;
    }
    const bool tableType = column == SheetCol::TableType;
    const std::string key = ChoiceKey(trimmed, tableType);
    for (int i = 0; i < count; ++i) {
        const std::string item = ChoiceKey(c.items[static_cast<std::size_t>(i)], tableType);
        if (key == item) {
            return i;
        }
        if (column == SheetCol::TableType &&
            EqualsNoCase(key, ChoiceKey(TableType(i + 1)->name, true))) {
            return i;
        }
        // 印刷書式 without "タイプ", 小数部桁数 as "2桁": the item's key already is.
        if (column == SheetCol::PrintStyle && item.size() > 9 &&
            item.compare(item.size() - 9, 9, "タイプ") == 0 &&
            key == std::string_view(item).substr(0, item.size() - 9)) {
            return i;
        }
    }
    return -1;
}

std::string DecimalPicture(int places) {
    return places > 0 ? "0." + std::string(static_cast<std::size_t>(places), '0') : "0";
}

} // namespace

const SheetColumn& SheetColumnInfo(int column) {
    static const std::vector<SheetColumn> columns = MakeColumns();
    assert(column >= 1 && column <= SheetColumns);
    return columns[static_cast<std::size_t>(column)];
}

SheetRow SheetDefaultRow() { return {"(未定義)", "", "0", "0", "0", "1", "1", "1", "1", "0", "0"}; }

std::string PlainNumberText(double value) {
    return Cell(value == 0.0 ? 0.0 : value).toText(); // no "-0"
}

std::string SheetInputHint(int column) {
    const SheetColumn& c = SheetColumnInfo(column);
    switch (c.kind) {
    case SheetCellKind::Text:
        return "入力範囲：" + std::to_string(CaseTitleBytes) + "ﾊﾞｲﾄ以内の文字列";
    case SheetCellKind::Decimal:
        return "入力範囲：" + PlainNumberText(c.min) + " ～ " + PlainNumberText(c.max);
    case SheetCellKind::Choice: return "入力範囲：(選択ﾘｽﾄ一覧より選択)";
    case SheetCellKind::Button: break;
    }
    return {};
}

std::string CleanCaseTitle(std::string_view title, bool* quoteRemoved, bool* cut) {
    std::string clean;
    clean.reserve(title.size());
    for (char ch : title) {
        if (ch != '"' && ch != '\t' && ch != '\r' && ch != '\n') {
            clean += ch;
        }
    }
    if (quoteRemoved) {
        *quoteRemoved = clean.size() != title.size();
    }
    const bool tooLong = ShiftJisLength(clean) > static_cast<std::size_t>(CaseTitleBytes);
    if (cut) {
        *cut = tooLong;
    }
    if (tooLong) {
        clean = CutToShiftJisBytes(clean, CaseTitleBytes); // UTF-8, cut on its Shift_JIS form
    }
    return clean;
}

SheetValueStatus CheckSheetValue(int column, std::string_view offered, std::string& stored) {
    const SheetColumn& c = SheetColumnInfo(column);
    switch (c.kind) {
    case SheetCellKind::Button: return SheetValueStatus::NoData;
    case SheetCellKind::Text: {
        bool quote = false;
        bool cut = false;
        stored = CleanCaseTitle(offered, &quote, &cut);
        return quote || cut ? SheetValueStatus::Changed : SheetValueStatus::Stored;
    }
    case SheetCellKind::Choice: {
        const std::string folded = FoldWidth(offered);
        if (TrimBlanks(folded).empty()) {
            stored = "0";
            return SheetValueStatus::Stored;
        }
        const int index = ChoiceIndex(column, folded);
        if (index < 0) {
            return SheetValueStatus::UnknownItem;
        }
        stored = std::to_string(index);
        return SheetValueStatus::Stored;
    }
    case SheetCellKind::Decimal: {
        std::string folded = FoldWidth(offered);
        for (std::size_t at = folded.find(kMinusSign); at != std::string::npos;
             at = folded.find(kMinusSign, at)) {
            folded.replace(at, kMinusSign.size(), "-");
        }
        std::string text;
        for (char ch : TrimBlanks(folded)) {
            if (ch != ',') {
                text += ch;
            }
        }
        const bool span = column == SheetCol::Lx || column == SheetCol::Ly;
        if (text.empty()) {
            if (span) {
                return SheetValueStatus::NotPositive;
            }
            // The ratio is the row's to compute; the others take their new-row value.
            stored = column == SheetCol::Ratio ? std::string() : SheetDefaultRow()[column];
            return SheetValueStatus::Stored;
        }
        double value = 0.0;
        if (!ParseNumber(text, value) || !std::isfinite(value)) {
            return SheetValueStatus::NotANumber;
        }
        value = RoundHalfEven(value, c.decimals);
        if (span && value <= 0.0) {
            return SheetValueStatus::NotPositive;
        }
        if (value < c.min - 1e-9 || value > c.max + 1e-9) {
            return SheetValueStatus::OutOfRange;
        }
        stored = PlainNumberText(value);
        return SheetValueStatus::Stored;
    }
    }
    return SheetValueStatus::NoData;
}

std::string SheetChoiceForms(int column) {
    switch (column) {
    case SheetCol::TableType:
        return "一覧の名称（「版」や括弧を除いても，×を x としても可），FIX_4*4 などの表名，番号 "
               "0～4";
    case SheetCol::PrintStyle: return "側壁ﾀｲﾌﾟ，底版ﾀｲﾌﾟ，側壁，底版，番号 0～1";
    case SheetCol::Decimals: return "２桁，３桁，2，3";
    default: return {};
    }
}

SheetValueStatus PutSheetValue(SheetRow& row, int column, std::string_view offered) {
    std::string stored;
    const SheetValueStatus status = CheckSheetValue(column, offered, stored);
    if (status != SheetValueStatus::Stored && status != SheetValueStatus::Changed) {
        return status;
    }
    row[column] = stored;
    if (column == SheetCol::Lx || column == SheetCol::Ly ||
        (column == SheetCol::Ratio && stored.empty())) {
        row[SheetCol::Ratio] = SheetRatioText(row[SheetCol::Lx], row[SheetCol::Ly]);
    }
    return status;
}

bool ClearSheetCells(SheetRow& row, int left, int right) {
    const SheetRow defaults = SheetDefaultRow();
    bool spanKept = false;
    for (int c = std::max(1, left); c <= std::min(SheetColumns, right); ++c) {
        if (c == SheetCol::Lx || c == SheetCol::Ly) {
            spanKept = true;
        } else if (c == SheetCol::Title) {
            row[c].clear();
        } else if (c != SheetCol::Button) {
            row[c] = defaults[c];
        }
    }
    // Lx/Ly is computed from the spans, never cleared.
    row[SheetCol::Ratio] = SheetRatioText(row[SheetCol::Lx], row[SheetCol::Ly]);
    return spanKept;
}

std::string SheetDisplayText(int column, std::string_view stored) {
    const SheetColumn& c = SheetColumnInfo(column);
    if (stored.empty()) {
        return {};
    }
    switch (c.kind) {
    case SheetCellKind::Choice: {
        std::int32_t index = 0;
        if (Cell(std::string(stored)).toInt32(index) && index >= 0 &&
            index < static_cast<std::int32_t>(c.items.size())) {
            return c.items[static_cast<std::size_t>(index)];
        }
        return std::string(stored);
    }
    case SheetCellKind::Decimal:
        return FormatNumber(LeadingNumber(stored), DecimalPicture(c.decimals));
    case SheetCellKind::Text:
    case SheetCellKind::Button: break;
    }
    return std::string(stored);
}

std::string SheetClipboardText(int column, std::string_view stored) {
    const SheetColumn& c = SheetColumnInfo(column);
    if (stored.empty()) {
        return {};
    }
    switch (c.kind) {
    case SheetCellKind::Choice: return SheetDisplayText(column, stored);
    case SheetCellKind::Decimal: return PlainNumberText(LeadingNumber(stored));
    case SheetCellKind::Text: return std::string(stored);
    case SheetCellKind::Button: break;
    }
    return {};
}

std::string SheetRatioText(std::string_view lx, std::string_view ly) {
    const double x = LeadingNumber(lx);
    const double y = LeadingNumber(ly);
    double ratio = y != 0.0 ? x / y : 0.0;
    if (!std::isfinite(ratio)) {
        ratio = 0.0;
    }
    const SheetColumn& c = SheetColumnInfo(SheetCol::Ratio);
    ratio = std::fmax(c.min, std::fmin(c.max, ratio));
    return PlainNumberText(ratio);
}

double RoundHalfEven(double value, int places) noexcept {
    if (!std::isfinite(value)) {
        return value;
    }
    const double scale = std::pow(10.0, places);
    // The decimal form decides: 1.225 is held as 1.22499..., yet it is a half.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value * scale);
    const double scaled = std::strtod(buf, nullptr);
    const double low = std::floor(scaled);
    double whole =
        scaled - low == 0.5 ? (std::fmod(low, 2.0) == 0.0 ? low : low + 1.0) : std::round(scaled);
    return whole / scale;
}

std::string JoinClipboardBlock(const std::vector<std::vector<std::string>>& block) {
    std::string text;
    for (const auto& row : block) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                text += '\t';
            }
            text += row[i];
        }
        text += "\r\n";
    }
    return text;
}

std::vector<std::vector<std::string>> SplitClipboardBlock(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false; // inside a cell a spreadsheet put in quotes
    bool atStart = true; // nothing of the current cell read yet
    auto endCell = [&] {
        row.push_back(cell);
        cell.clear();
        atStart = true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cell += ch;
            }
            continue;
        }
        if (ch == '"' && atStart) {
            quoted = true;
            atStart = false;
        } else if (ch == '\t') {
            endCell();
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            endCell();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            cell += ch;
            atStart = false;
        }
    }
    if (!atStart || !row.empty()) {
        endCell();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace ormavex
