#include "core/cases/SideRatioCheck.h"

#include "core/cases/SideRatioList.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberPicture.h"

#include <cmath>

namespace ormavex {

namespace {

// λ has two decimals and the spans three: a difference within this of a
// step is that step, whatever the binary forms of the values make of it.
constexpr double kSlack = 1e-9;
// A λ within this of a tabulated ratio is that ratio (the sheet keeps two decimals).
constexpr double kSameRatio = 0.0005;

// `ratio` with two decimals, or with as many more (up to six) as it takes for
// the shown value to lie more than one step from `lambda` when the real one does.
std::string ShownRatio(double ratio, double lambda, bool far) {
    std::string picture = "0.00";
    std::string text = FormatNumber(ratio, picture);
    while (far && picture.size() < 8 &&
           !(std::fabs(lambda - LeadingNumber(text)) > SideRatioStep + kSlack)) {
        picture += '0';
        text = FormatNumber(ratio, picture);
    }
    return text;
}

} // namespace

SideRatioLists SideRatioLists::Load(const std::string& folder) {
    SideRatioLists lists;
    const std::string path = SideRatioListPath(folder);
    for (int index = 0; index < 5; ++index) {
        std::vector<double> values;
        for (const std::string& item : LoadSideRatioList(path, index)) {
            values.push_back(LeadingNumber(item));
        }
        lists.setForType(index, std::move(values));
    }
    return lists;
}

const std::vector<double>& SideRatioLists::forType(int index) const {
    return m_lists[static_cast<std::size_t>(index >= 0 && index <= 4 ? index : 0)];
}

void SideRatioLists::setForType(int index, std::vector<double> values) {
    if (index >= 0 && index <= 4) {
        m_lists[static_cast<std::size_t>(index)] = std::move(values);
    }
}

int NearestSideRatio(const std::vector<double>& listed, double ratio) noexcept {
    int best = -1;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const double distance = std::fabs(listed[i] - ratio);
        const bool closer = best < 0 || distance < bestDistance - kSlack;
        const bool tieAbove = best >= 0 && std::fabs(distance - bestDistance) <= kSlack &&
                              listed[i] > listed[static_cast<std::size_t>(best)];
        if (closer || tieAbove) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

std::string RatioText(double value) { return FormatNumber(value == 0.0 ? 0.0 : value, "0.00"); }

SideRatioFinding CheckSideRatio(double lambda, double lx, double ly,
                                const std::vector<double>& listed) {
    SideRatioFinding f;
    f.lambda = lambda;
    const bool spans = std::isfinite(lx) && std::isfinite(ly) && lx > 0.0 && ly > 0.0;
    f.ratio = spans ? lx / ly : 0.0;
    if (spans) {
        const int nearest = NearestSideRatio(listed, f.ratio);
        if (nearest >= 0) {
            f.nearest = listed[static_cast<std::size_t>(nearest)];
            f.hasNearest = true;
        }
    }
    bool isListed = listed.empty();
    for (double v : listed) {
        isListed = isListed || std::fabs(v - lambda) < kSameRatio;
    }
    const std::string l = "λ = " + RatioText(lambda);
    const bool far = spans && std::fabs(lambda - f.ratio) > SideRatioStep + kSlack;
    f.ratioText = spans ? ShownRatio(f.ratio, lambda, far) : std::string("－");
    if (!spans) {
        f.mark = SideRatioMark::NoSpans;
        f.reason = "Lx, Ly が0より大きくないため実辺長比 Lx/Ly を求められません";
    } else if (!isListed) {
        f.mark = SideRatioMark::NotListed;
        f.reason = l + " は計算数表にない辺長比です";
    } else if (far) {
        f.mark = SideRatioMark::FarFromSpans;
        f.reason = l + " が実辺長比 Lx/Ly = " + f.ratioText + " と " + RatioText(SideRatioStep) +
                   " を超えて違います";
    }
    if (f.mark != SideRatioMark::None && f.hasNearest) {
        f.reason += "（最も近い計算数表の λ：" + RatioText(f.nearest) + "）";
    }
    return f;
}

SideRatioFinding CheckCaseSideRatio(const CaseTable& cases, int c, const SideRatioLists& lists) {
    std::int32_t type = 0;
    if (!cases.tableTypeIndex(c, type)) {
        type = 0;
    }
    return CheckSideRatio(cases.lambda(c), cases.lx(c), cases.ly(c), lists.forType(type));
}

std::vector<MarkedCase> MarkedCases(const CaseTable& cases, const SideRatioLists& lists) {
    std::vector<MarkedCase> marked;
    for (int c = 1; c <= cases.CaseCount && c <= MaxCases; ++c) {
        SideRatioFinding f = CheckCaseSideRatio(cases, c, lists);
        if (f.mark != SideRatioMark::None) {
            marked.push_back({c, std::move(f)});
        }
    }
    return marked;
}

} // namespace ormavex
