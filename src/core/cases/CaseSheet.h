#pragma once
// The case table editor's sheet without its window: the eleven columns with
// their cell types, the checks a typed or pasted value passes before it is
// stored, and the texts a cell shows, copies and hints. The button column
// holds the row's "編集" button and no data; every other column shows one
// case column (SheetColumnOfCase).
//
// A sheet cell holds text, as the opener writes and reads it: the title, a
// choice index ("0".."4") or a number in its shortest decimal form. Nothing
// here touches the case table; the opener copies between the two.

#include <array>
#include <cassert>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

inline constexpr int SheetColumns = 11;
/// The editor sheet's columns, numbered from 1 as the user and the opener
/// count them (every column number of the sheet is one of these).
namespace SheetCol {
enum : int {
    Title = 1,  ///< "検討ｹｰｽ名称"
    Button,     ///< "計算条件": the row's "編集" button, no data
    TableType,  ///< "計算数表" (choice index 0..4)
    PrintStyle, ///< "印刷書式" (choice index 0..1)
    Decimals,   ///< "小数部桁数" (choice index 0..1)
    Lx,
    Ly,
    Ratio, ///< Lx/Ly, computed from the spans
    Lambda,
    QA,
    QB,
};
} // namespace SheetCol

/// The sheet column that shows case column `caseColumn` (CaseCol).
constexpr int SheetColumnOfCase(int caseColumn) noexcept {
    return caseColumn == 1 ? SheetCol::Title : caseColumn + 1;
}

/// Byte limit (Shift_JIS) of a case title: 20 full-width characters.
inline constexpr int CaseTitleBytes = 40;

/// The range of a case value and the places it is kept with: the one table
/// the editor sheet and the case condition dialog take their limits from.
struct CaseValueRange {
    double min;
    double max;
    int places;
};
namespace CaseLimits {
inline constexpr CaseValueRange Span{0.001, 99.999, 3};         ///< Lx, Ly with three places
inline constexpr CaseValueRange SpanTwoPlaces{0.001, 99.99, 2}; ///< Lx, Ly with two places
inline constexpr CaseValueRange Ratio{-999.99, 999.99, 2};      ///< Lx/Ly as shown
inline constexpr CaseValueRange Lambda{0, 9.99, 2};             ///< λ
inline constexpr CaseValueRange Load{-9999.99, 9999.99, 2};     ///< QA, QB (kN/m2)
} // namespace CaseLimits

enum class SheetCellKind { Text, Button, Choice, Decimal };

struct SheetColumn {
    std::string heading;
    SheetCellKind kind = SheetCellKind::Text;
    double min = 0.0;               ///< decimal cells
    double max = 0.0;               ///< decimal cells
    int decimals = 0;               ///< decimal cells: places shown
    std::vector<std::string> items; ///< choice cells: the visible texts, by index
};

/// Column 1..11.
const SheetColumn& SheetColumnInfo(int column);

/// One sheet row's cell texts, by column 1..11 (SheetCol).
struct SheetRow {
    std::array<std::string, SheetColumns> cells{};

    std::string& operator[](int column) {
        assert(column >= 1 && column <= SheetColumns);
        return cells[static_cast<std::size_t>(column - 1)];
    }
    const std::string& operator[](int column) const {
        assert(column >= 1 && column <= SheetColumns);
        return cells[static_cast<std::size_t>(column - 1)];
    }
    friend bool operator==(const SheetRow&, const SheetRow&) = default;
};

/// A new row: "(未定義)", the choices 0, Lx = Ly = Lx/Ly = λ = 1, QA = QB = 0;
/// the button column empty.
SheetRow SheetDefaultRow();

/// The status bar hint of a column: "入力範囲：" and the byte limit, the range
/// or "(選択ﾘｽﾄ一覧より選択)"; empty for the button column.
std::string SheetInputHint(int column);

/// What became of a value offered to a cell.
enum class SheetValueStatus {
    Stored,      ///< stored as offered (a number rounded to the cell's places)
    Changed,     ///< stored after removing double quotes and line ends or cutting to 40 bytes
    NotANumber,  ///< refused: a decimal cell given text that is not one number
    OutOfRange,  ///< refused: a number outside the cell's range
    UnknownItem, ///< refused: a choice cell given a text that is not one of its items
    NotPositive, ///< refused: a span (Lx, Ly) given 0, a negative number or nothing
    NoData,      ///< the button column holds nothing
};

/// Checks a typed or pasted text for `column` and gives the cell text to
/// store. Titles are kept as typed, except that they lose double quotes, tabs
/// and line ends (a project file holds a title as one quoted line) and are cut
/// to 40 bytes on a character boundary. Choice and decimal cells first fold
/// full-width and half-width forms (FoldWidth: "１５０．５" is 150.5, "底版タイプ"
/// is "底版ﾀｲﾌﾟ"); then choice cells take the forms SheetChoiceForms lists,
/// and decimal cells one number (grouping commas, blanks around it and the
/// minus sign "−" allowed) within their range. An empty choice cell takes its
/// first item, an empty λ, QA or QB its new-row value (1, 0, 0), an empty
/// Lx/Ly nothing (the row computes it, see PutSheetValue). The spans Lx and Ly
/// must be above 0: nothing, 0 (also after rounding to three places) and
/// negative numbers are refused, as no plate has them.
SheetValueStatus CheckSheetValue(int column, std::string_view offered, std::string& stored);

/// What a choice column takes besides its items' texts, for users and for the
/// refusal message. Each form may be typed in full-width or half-width.
///  - 計算数表: the item text also without "版", brackets and blanks and with
///    x, X or * for × ("四辺固定4x4", the condition dialog's "四辺固定（４×４）"),
///    the table's name in the side-ratio list ("FIX_4*4"), the index 0..4;
///  - 印刷書式: "側壁", "底版", the index 0 or 1;
///  - 小数部桁数: "2桁", "3桁" and the number of places 2 or 3 (not an index,
///    so that "2" means ２桁).
std::string SheetChoiceForms(int column);

/// Checks `offered` for `column` of `row` (CheckSheetValue) and stores it when
/// it is taken. A new Lx or Ly recomputes Lx/Ly, and an empty Lx/Ly is
/// computed from the spans.
SheetValueStatus PutSheetValue(SheetRow& row, int column, std::string_view offered);

/// Clears columns left..right of `row` as Delete, Backspace and Cut do: the
/// title becomes empty, a choice its first item, λ, QA and QB their new-row
/// values (1, 0, 0); the spans Lx and Ly keep theirs, as a span is never
/// empty, and Lx/Ly is computed from them. True when a span was in the range.
bool ClearSheetCells(SheetRow& row, int left, int right);

/// A case title without double quotes, tabs and line ends, cut to 40 Shift_JIS bytes
/// without splitting a character. The flags tell what was done.
std::string CleanCaseTitle(std::string_view title, bool* quoteRemoved = nullptr,
                           bool* cut = nullptr);

/// The text a cell shows: a choice's item text, a number with the column's
/// places, a title as it is.
std::string SheetDisplayText(int column, std::string_view stored);

/// The text a cell travels as on the clipboard: a choice's item text, a
/// number as a plain decimal ("4.5"), a title as it is.
std::string SheetClipboardText(int column, std::string_view stored);

/// Column 8 from the texts of columns 6 and 7: Lx / Ly, 0 when Ly is 0 and
/// held within -999.99 .. 999.99, so that the cell always shows a number.
std::string SheetRatioText(std::string_view lx, std::string_view ly);

/// A number in its shortest decimal form of at most 15 significant digits.
std::string PlainNumberText(double value);

/// Rounds to `places` decimals, a half going to the even neighbour
/// (1.225 -> 1.22, 1.235 -> 1.24), judged on the value's decimal form.
double RoundHalfEven(double value, int places) noexcept;

/// Tab-separated block with CR LF after every row, as spreadsheets exchange it.
std::string JoinClipboardBlock(const std::vector<std::vector<std::string>>& block);
/// The cells of a tab-separated block (CR LF, LF or CR rows; one last line end
/// ignored; cells quoted by a spreadsheet unquoted).
std::vector<std::vector<std::string>> SplitClipboardBlock(std::string_view text);

} // namespace ormavex
