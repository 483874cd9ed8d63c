#include "core/calc/RealRatio.h"

#include "core/cases/CaseSheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace ormavex {

namespace {

// A ratio this close to a tabulated one is that one: Lx/Ly of spans given to
// three places lands within rounding of the ratio it stands for.
constexpr double kSameRatio = 1e-9;
// Blocks whose ratios lie this close are one block to the loader.
constexpr double kLoaderTolerance = 0.009;

// A side ratio for a message: at most four decimals, no trailing zeros.
std::string RatioText(double ratio) {
    if (!std::isfinite(ratio)) {
        return PlainNumberText(ratio);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", ratio);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
    }
    if (!s.empty() && s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

void AddScaled(CoefTable& to, const CoefTable& from, double w) {
    for (int j = 1; j <= MaxRows; ++j) {
        for (int k = 1; k <= MaxPoints; ++k) {
            to(j, k) += w * from(j, k);
        }
    }
}

} // namespace

struct CoefInterpolator::Table {
    std::vector<double> ratios;         // ascending
    std::vector<CoefWorkTables> tables; // by ratio
    std::optional<Error> failure;       // the file could not be read
};

CoefInterpolator::CoefInterpolator(std::string dataFolder) : m_dataFolder(std::move(dataFolder)) {}

CoefInterpolator::~CoefInterpolator() = default;

CoefInterpolator::Table& CoefInterpolator::table(int type) {
    if (TableType(type) == nullptr) {
        throw Error("table type " + std::to_string(type) + " does not exist");
    }
    std::unique_ptr<Table>& slot = m_tables[static_cast<std::size_t>(type)];
    if (!slot) {
        slot = std::make_unique<Table>();
        try {
            std::vector<CoefBlock> blocks = LoadAllCoefBlocks(m_dataFolder, type);
            // File order decides among blocks the loader cannot tell apart.
            std::vector<CoefBlock> kept;
            for (CoefBlock& b : blocks) {
                const bool seen = std::any_of(kept.begin(), kept.end(), [&](const CoefBlock& k) {
                    return std::fabs(k.ratio - b.ratio) < kLoaderTolerance;
                });
                if (!seen && std::isfinite(b.ratio)) {
                    kept.push_back(std::move(b));
                }
            }
            std::stable_sort(kept.begin(), kept.end(), [](const CoefBlock& a, const CoefBlock& b) {
                return a.ratio < b.ratio;
            });
            for (CoefBlock& b : kept) {
                slot->ratios.push_back(b.ratio);
                slot->tables.push_back(b.tables);
            }
            if (slot->ratios.empty()) {
                const std::string path = CoefFilePath(m_dataFolder, type);
                throw Error("the coefficient file " + path + " holds no block", 0, path);
            }
        } catch (const Error& e) {
            slot->failure = e;
        }
    }
    if (slot->failure) {
        throw *slot->failure;
    }
    return *slot;
}

bool CoefInterpolator::hasTable(int type) const noexcept {
    if (type < 1 || type > 5) {
        return false;
    }
    const std::unique_ptr<Table>& slot = m_tables[static_cast<std::size_t>(type)];
    return slot && !slot->failure;
}

const std::vector<double>& CoefInterpolator::ratios(int type) { return table(type).ratios; }

CoefWorkTables CoefInterpolator::at(int type, double ratio) {
    const Table& t = table(type);
    const std::vector<double>& x = t.ratios;
    const std::string path = CoefFilePath(m_dataFolder, type);
    if (!(ratio >= x.front() - kSameRatio && ratio <= x.back() + kSameRatio)) {
        throw Error("the side ratio " + RatioText(ratio) + " lies outside the range " +
                        RatioText(x.front()) + " .. " + RatioText(x.back()) + " of " + path,
                    0, path);
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (std::fabs(x[i] - ratio) <= kSameRatio) {
            return t.tables[i];
        }
    }
    // The tabulated ratios on the ratio's side of λ = 1: indices [b, e).
    std::size_t b = 0;
    std::size_t e = x.size();
    if (ratio < 1.0) {
        e = static_cast<std::size_t>(std::upper_bound(x.begin(), x.end(), 1.0 + kSameRatio) -
                                     x.begin());
    } else {
        b = static_cast<std::size_t>(std::lower_bound(x.begin(), x.end(), 1.0 - kSameRatio) -
                                     x.begin());
    }
    if (b >= e || ratio < x[b] || ratio > x[e - 1]) {
        throw Error("the side ratio " + RatioText(ratio) + " of " + path +
                        " has no tabulated ratios on both sides short of λ = 1",
                    0, path);
    }
    // x[i] < ratio < x[i + 1]; the four nearest are i - 1 .. i + 2, shifted
    // inwards where the side ends.
    const std::size_t i = static_cast<std::size_t>(
                              std::upper_bound(x.begin() + static_cast<std::ptrdiff_t>(b),
                                               x.begin() + static_cast<std::ptrdiff_t>(e), ratio) -
                              x.begin()) -
                          1;
    const std::size_t m = std::min<std::size_t>(4, e - b);
    const std::size_t first = std::clamp<std::size_t>(i > b ? i - 1 : b, b, e - m);
    CoefWorkTables out;
    for (std::size_t p = first; p < first + m; ++p) {
        double w = 1.0;
        for (std::size_t q = first; q < first + m; ++q) {
            if (q != p) {
                w *= (ratio - x[q]) / (x[p] - x[q]);
            }
        }
        AddScaled(out.CoefMxUniform, t.tables[p].CoefMxUniform, w);
        AddScaled(out.CoefMyUniform, t.tables[p].CoefMyUniform, w);
        AddScaled(out.CoefMxTriangle, t.tables[p].CoefMxTriangle, w);
        AddScaled(out.CoefMyTriangle, t.tables[p].CoefMyTriangle, w);
    }
    return out;
}

bool CalcMomentsAtRealRatio(const CaseTable& cases, CalcArrays& realCalc,
                            const std::string& dataFolder, std::vector<CaseFailure>* failures) {
    CoefInterpolator tables(dataFolder);
    return CalcMomentsAtRealRatio(cases, realCalc, tables, failures);
}

bool CalcMomentsAtRealRatio(const CaseTable& cases, CalcArrays& realCalc, CoefInterpolator& tables,
                            std::vector<CaseFailure>* failures) {
    if (failures != nullptr) {
        failures->clear();
    }
    const int n = cases.CaseCount;
    if (n < 0 || n > MaxCases) {
        return false;
    }
    bool allDone = true;
    auto fail = [&](CaseFailure failure) {
        ClearCaseResults(realCalc, failure.caseNo);
        allDone = false;
        if (failures != nullptr) {
            failures->push_back(std::move(failure));
        }
    };
    for (int c = 1; c <= n; ++c) {
        CaseFailure refused;
        if (!CheckCaseValues(cases, c, refused, CaseCheck::WithoutRatio)) {
            fail(std::move(refused));
            continue;
        }
        CopyCaseValues(cases, c, realCalc);
        const int type = realCalc.CalcType[c];
        const double ratio = realCalc.CalcLx[c] / realCalc.CalcLy[c];
        realCalc.CalcRamuda[c] = ratio;

        const std::string path = CoefFilePath(tables.dataFolder(), type);
        const std::string file = FileNameOf(path);
        CoefWorkTables coef;
        try {
            const double lo = tables.lowest(type);
            const double hi = tables.highest(type);
            if (!(ratio >= lo - kSameRatio && ratio <= hi + kSameRatio)) {
                fail({c,
                      "Lx/Ly = " + RatioText(ratio) + "：計算数表 " + file + " の辺長比の範囲（" +
                          RatioText(lo) + " ～ " + RatioText(hi) + "）の外です",
                      "Lx/Ly = " + RatioText(ratio) + " lies outside the range " + RatioText(lo) +
                          " .. " + RatioText(hi) + " of " + path});
                continue;
            }
            coef = tables.at(type, ratio);
        } catch (const Error& e) {
            std::string cause;
            if (e.code() != 0) {
                cause = UnreadableCoefFileCause(file, e.code());
            } else if (e.path().empty() || tables.hasTable(type)) {
                cause = "Lx/Ly = " + RatioText(ratio) + "：計算数表 " + file +
                        " の辺長比で λ = 1 をまたがずに補間できません";
            } else {
                cause = "計算数表 " + file + " の内容を読み取れません";
            }
            fail({c, cause, e.what()});
            continue;
        }
        realCalc.CalcRowCount[c] = 3;
        realCalc.CalcPointCount[c] = TableType(type)->points;
        const MomentFailure why = MomentsFromCoefficients(realCalc, coef, c);
        if (why != MomentFailure::None) {
            fail(MomentFailureCause(why, c));
        }
    }
    return allDone;
}

} // namespace ormavex
