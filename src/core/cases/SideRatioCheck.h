#pragma once
// Whether a case's side ratio λ suits its coefficient table and its spans:
// λ must be one of the ratios tabulated for its table type, and it must lie
// within one table step (0.05) of the real side ratio Lx / Ly. A case that
// breaks either rule, or whose spans give no ratio at all, is marked; the
// editor colours it and the main window asks before calculating it.

#include "core/cases/CaseTable.h"

#include <array>
#include <string>
#include <vector>

namespace ormavex {

/// The step of the tabulated side ratios.
inline constexpr double SideRatioStep = 0.05;

enum class SideRatioMark {
    None,         ///< λ is tabulated and within one step of Lx / Ly
    NoSpans,      ///< Lx or Ly is not above 0: there is no real ratio to compare with
    NotListed,    ///< λ is not among the type's tabulated ratios
    FarFromSpans, ///< λ differs from Lx / Ly by more than one step
};

struct SideRatioFinding {
    SideRatioMark mark = SideRatioMark::None;
    double lambda = 0.0;
    double ratio = 0.0; ///< Lx / Ly, 0 without spans
    /// Lx / Ly as the reason shows it: two decimals, more when two would hide
    /// why λ is marked ("0.8998" for λ 0.95, not "0.90"); "－" without spans.
    std::string ratioText;
    double nearest = 0.0; ///< the tabulated ratio nearest Lx / Ly (0 with no list or no spans)
    bool hasNearest = false;
    std::string reason; ///< why the case is marked, one Japanese line; empty when it is not
};

/// The tabulated ratios of the five table types (index 0..4), as numbers.
class SideRatioLists {
public:
    SideRatioLists() = default;
    /// The lists of "計算数表.ini" in `folder`; a type without a usable list gets an empty one.
    static SideRatioLists Load(const std::string& folder);
    /// The list of table type index 0..4; any other index gives that of index 0, as the
    /// side-ratio list file is read.
    const std::vector<double>& forType(int index) const;
    void setForType(int index, std::vector<double> values);

private:
    std::array<std::vector<double>, 5> m_lists{};
};

/// Index of the tabulated ratio nearest `ratio`; a ratio exactly half-way between two goes
/// to the larger, as the condition dialog's proposal rounds up. -1 for an empty list.
int NearestSideRatio(const std::vector<double>& listed, double ratio) noexcept;

/// The check of one case. `listed` empty: the list is unknown and only the spans are judged.
/// The difference is judged on the decimal values: exactly one step apart (λ 0.95 for Lx / Ly
/// 0.90) is not marked, anything more is.
SideRatioFinding CheckSideRatio(double lambda, double lx, double ly,
                                const std::vector<double>& listed);

/// The check of case `c` of the table with the lists of its table type.
SideRatioFinding CheckCaseSideRatio(const CaseTable& cases, int c, const SideRatioLists& lists);

struct MarkedCase {
    int caseNo = 0;
    SideRatioFinding finding;
};
/// Every marked case among 1..CaseCount, in case order.
std::vector<MarkedCase> MarkedCases(const CaseTable& cases, const SideRatioLists& lists);

/// "0.90": a ratio with two decimals, as the sheet shows it.
std::string RatioText(double value);

} // namespace ormavex
