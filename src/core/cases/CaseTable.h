#pragma once
// The case table: the study cases of the project (at most 99, ten cells each)
// and the per-case arrays that the calculation fills and the report reads.
// Both are indexed from 1, as the user numbers cases, rows and points.

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <variant>

namespace ormavex {

inline constexpr int MaxCases = 99;
inline constexpr int CaseColumns = 10;
inline constexpr int MaxRows = 3;
inline constexpr int MaxPoints = 9;

/// The case table's columns, numbered from 1 as the project file counts them.
namespace CaseCol {
enum : int {
    Title = 1,
    TableType,  ///< table type index 0..4
    PrintStyle, ///< 0 side wall, 1 bottom slab
    Decimals,   ///< places of the spans: 0 two, 1 three
    Lx,
    Ly,
    Ratio, ///< Lx/Ly
    Lambda,
    QA,
    QB,
};
} // namespace CaseCol

/// One cell: nothing, a text or a number.
/// `text` with every control character (codes below 0x20 and 0x7F) replaced
/// by a blank: a text that comes from a project or from typing can then
/// never start a line or a page of a print file.
std::string WithoutControlCharacters(std::string text);

class Cell {
public:
    Cell() = default;
    Cell(std::string text) : m_value(std::move(text)) {}   // NOLINT(implicit)
    Cell(const char* text) : m_value(std::string(text)) {} // NOLINT(implicit)
    Cell(double number) : m_value(number) {}               // NOLINT(implicit)

    bool isEmpty() const noexcept { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const noexcept { return std::holds_alternative<std::string>(m_value); }
    bool isNumber() const noexcept { return std::holds_alternative<double>(m_value); }
    const std::string& text() const { return std::get<std::string>(m_value); }
    double number() const { return std::get<double>(m_value); }

    /// The cell as text: a number in its shortest form of at most 15
    /// significant digits ("1.5", "-0.25"), nothing as "".
    std::string toText() const;
    /// The leading-number value of the cell's text (0 for nothing or a text
    /// without a leading number). Used for columns 5 to 10.
    double toNumber() const noexcept;
    /// Whole-number conversion for columns 2 to 4: a number or numeric text
    /// rounded to the nearest integer (a half to the even neighbour); nothing
    /// gives 0. False for a text that is not a number or a value outside the
    /// 32-bit range.
    bool toInt32(std::int32_t& value) const noexcept;

    friend bool operator==(const Cell&, const Cell&) = default;

private:
    std::variant<std::monostate, std::string, double> m_value;
};

/// Table type numbers 1..5 and their properties.
struct TableTypeInfo {
    const char* name;       ///< "FREE_8*4": side-ratio list section
    const char* fileName;   ///< "FREE_84.DAT"
    const char* listText;   ///< editor list text
    const char* optionText; ///< condition dialog option caption
    int points;             ///< result points per row
    bool freeEdge;          ///< three edges fixed and one free
};
/// Properties of table type `number` (1..5), nullptr for any other number.
const TableTypeInfo* TableType(int number) noexcept;

/// The cases: 10 columns by 99 rows of cells and the count in use.
class CaseTable {
public:
    CaseTable() = default;

    std::int32_t CaseCount = 0;

    Cell& cell(int row, int column) {
        assert(row >= 1 && row <= MaxCases && column >= 1 && column <= CaseColumns);
        return m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
    }
    const Cell& cell(int row, int column) const {
        assert(row >= 1 && row <= MaxCases && column >= 1 && column <= CaseColumns);
        return m_cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
    }

    // A case's values by name, as the calculation and the report read them
    // (the project file and the editor sheet go through the columns). The whole-number columns give
    // false for a cell that is not a whole number (see Cell::toInt32); the others read with the
    // leading-number rule.
    std::string title(int c) const { return cell(c, CaseCol::Title).toText(); }
    bool tableTypeIndex(int c, std::int32_t& v) const {
        return cell(c, CaseCol::TableType).toInt32(v);
    }
    bool printStyle(int c, std::int32_t& v) const {
        return cell(c, CaseCol::PrintStyle).toInt32(v);
    }
    bool decimalsIndex(int c, std::int32_t& v) const {
        return cell(c, CaseCol::Decimals).toInt32(v);
    }
    double lx(int c) const { return cell(c, CaseCol::Lx).toNumber(); }
    double ly(int c) const { return cell(c, CaseCol::Ly).toNumber(); }
    double lambda(int c) const { return cell(c, CaseCol::Lambda).toNumber(); }
    double qa(int c) const { return cell(c, CaseCol::QA).toNumber(); }
    double qb(int c) const { return cell(c, CaseCol::QB).toNumber(); }

    /// Empties every cell and sets the count to 0.
    void clear();
    /// Fills row `row` with the defaults of a new case: "(未定義)", type 0,
    /// print style 0, decimal index 0, Lx = Ly = 1, Lx/Ly = 1, λ = 1, QA = QB = 0.
    void setDefaults(int row);

private:
    std::array<std::array<Cell, CaseColumns>, MaxCases> m_cells{};
};

/// A per-case array indexed by case 1..99.
template <typename T> class PerCase {
public:
    T& operator[](int c) {
        assert(c >= 1 && c <= MaxCases);
        return m_v[static_cast<std::size_t>(c - 1)];
    }
    const T& operator[](int c) const {
        assert(c >= 1 && c <= MaxCases);
        return m_v[static_cast<std::size_t>(c - 1)];
    }

private:
    std::array<T, MaxCases> m_v{};
};

/// Moments of one case: row 1..3 by point 1..9.
class MomentGrid {
public:
    double& operator()(int row, int point) {
        assert(row >= 1 && row <= MaxRows && point >= 1 && point <= MaxPoints);
        return m_v[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(point - 1)];
    }
    double operator()(int row, int point) const {
        assert(row >= 1 && row <= MaxRows && point >= 1 && point <= MaxPoints);
        return m_v[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(point - 1)];
    }

private:
    std::array<std::array<double, MaxPoints>, MaxRows> m_v{};
};

/// The per-case calculation arrays, written by the calculation only.
struct CalcArrays {
    PerCase<std::int32_t> CalcType;
    PerCase<std::int32_t> CalcKeta;
    PerCase<double> CalcLx;
    PerCase<double> CalcLy;
    PerCase<double> CalcRamuda;
    PerCase<double> CalcQA;
    PerCase<double> CalcQB;
    PerCase<std::int32_t> CalcRowCount;
    PerCase<std::int32_t> CalcPointCount;
    PerCase<MomentGrid> CalcMx;
    PerCase<MomentGrid> CalcMy;
};

} // namespace ormavex
