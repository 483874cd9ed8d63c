#pragma once
// Moments at the real side ratio Lx/Ly of a case, interpolated in λ between
// the blocks of the delivered coefficient tables.
//
// A table's coefficients are moment / (q L²) with L the shorter span: Lx up
// to λ = 1, Ly above it. Across λ = 1 the coefficient is continuous but its
// slope jumps (for λ > 1 it is λ² times a smooth function of λ measured in
// Lx), so an interpolation that reached across λ = 1 would smear the kink.
// Each side of λ = 1 is therefore interpolated on its own: a cubic through
// the four tabulated ratios nearest the ratio on that side (the two on each
// side of it inside the table, shifted inwards at the table's ends and at
// λ = 1). With the delivered step of 0.05 the result agrees with a direct
// plate solution at that ratio within 2e-4 × q × L² at every point.

#include "core/calc/basCalcMd.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ormavex {

/// The coefficient tables of one data folder, read once each (on first use)
/// and interpolated in λ.
class CoefInterpolator {
public:
    explicit CoefInterpolator(std::string dataFolder);
    ~CoefInterpolator();
    CoefInterpolator(const CoefInterpolator&) = delete;
    CoefInterpolator& operator=(const CoefInterpolator&) = delete;

    /// The tabulated side ratios of table type `type` (1..5), ascending; a
    /// ratio within 0.009 of an earlier block's is left out (the loader finds
    /// the first). Throws Error when the file cannot be read or holds no block.
    const std::vector<double>& ratios(int type);
    /// The smallest and largest tabulated ratio of table type `type`.
    double lowest(int type) { return ratios(type).front(); }
    double highest(int type) { return ratios(type).back(); }

    /// The four tables of table type `type` at side ratio `ratio`: the block's
    /// own values when `ratio` lies within 1e-9 of a tabulated ratio, else the
    /// cubic described above (quadratic or linear when a side of λ = 1 holds
    /// fewer than four ratios). Throws Error naming the range when `ratio`
    /// lies outside [lowest, highest], or in a gap around λ = 1 that no
    /// side's ratios enclose.
    CoefWorkTables at(int type, double ratio);

    const std::string& dataFolder() const noexcept { return m_dataFolder; }
    /// True when the file of table type `type` has been read successfully.
    bool hasTable(int type) const noexcept;

private:
    struct Table;
    Table& table(int type);

    std::string m_dataFolder;
    std::array<std::unique_ptr<Table>, 6> m_tables; // by table type 1..5
};

/// For every case 1..CaseCount: the moments at λ = Lx/Ly of the case, with
/// the same load split and reference span as CalcMoments (MomentsFromCoefficients);
/// CalcRamuda holds the real ratio. The case's λ is not used. A case fails
/// when CheckCaseValues (without λ) refuses it, its ratio lies outside its
/// table's range or the file cannot be read; it then keeps no results (grids
/// 0, row and point counts 0) and the run goes on. Returns true when no case
/// failed; `failures` (when given) receives one entry per failing case, in
/// case order.
bool CalcMomentsAtRealRatio(const CaseTable& cases, CalcArrays& realCalc,
                            const std::string& dataFolder,
                            std::vector<CaseFailure>* failures = nullptr);

/// The same with the tables of an interpolator already made (its files are
/// read only once over several runs).
bool CalcMomentsAtRealRatio(const CaseTable& cases, CalcArrays& realCalc, CoefInterpolator& tables,
                            std::vector<CaseFailure>* failures = nullptr);

} // namespace ormavex
