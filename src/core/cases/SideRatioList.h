#pragma once
// The side-ratio list "計算数表.ini" of the program folder: per table type the
// tabulated side ratios λ that have coefficient blocks, in ascending order,
// offered in the case condition dialog; and the proposal of λ for a real
// side ratio.

#include <string>
#include <vector>

namespace ormavex {

/// folder + "/計算数表.ini"
std::string SideRatioListPath(const std::string& folder);

/// The entries "1".."Count" of the section of table type index `index` 0..4
/// ("FREE_8*4" .. "FIX_4*4"; any other index reads "FREE_8*4"), as text (a
/// missing entry gives an empty item). A missing file or section, a missing "Count"
/// or one that is not a whole number from 0 to 999 gives an empty list.
std::vector<std::string> LoadSideRatioList(const std::string& path, int index);

/// The real side ratio shown beside λ: Lx / Ly when Ly is above 0.001, else 0.
double RealSideRatio(double lx, double ly) noexcept;

/// Index of the proposed λ for `ratio`: the first item whose value v (by the
/// leading-number rule) is within 0.001 of the ratio or above it, the last
/// item when none is; -1 for an empty list.
int ProposeSideRatio(const std::vector<std::string>& items, double ratio) noexcept;

} // namespace ormavex
