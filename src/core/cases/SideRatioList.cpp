#include "core/cases/SideRatioList.h"

#include "core/app/CPrivateProfile.h"
#include "core/cases/CaseTable.h"
#include "core/text/LeadingNumber.h"

#include <cmath>

namespace ormavex {

namespace {
// More entries than this cannot be meant; a larger count is a damaged file.
constexpr double kMaxEntries = 999;
} // namespace

std::string SideRatioListPath(const std::string& folder) { return folder + "/計算数表.ini"; }

std::vector<std::string> LoadSideRatioList(const std::string& path, int index) {
    const std::string section = TableType(index >= 0 && index <= 4 ? index + 1 : 1)->name;
    double count = 0.0;
    const std::string countText = CPrivateProfile::GetValueString(path, section, "Count");
    if (!ParseNumber(countText, count) || count != std::floor(count) || count < 0 ||
        count > kMaxEntries) {
        return {};
    }
    std::vector<std::string> items;
    for (int i = 1; i <= static_cast<int>(count); ++i) {
        items.push_back(GetIniString(section, std::to_string(i), path));
    }
    return items;
}

double RealSideRatio(double lx, double ly) noexcept { return ly > 0.001 ? lx / ly : 0.0; }

int ProposeSideRatio(const std::vector<std::string>& items, double ratio) noexcept {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double v = LeadingNumber(items[i]);
        if (std::fabs(ratio - v) < 0.001 || v > ratio) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(items.size()) - 1;
}

} // namespace ormavex
