#include "TableFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace ormavex::coefgen {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string formatRatio(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

std::filesystem::path sideRatioListName() { return std::filesystem::path(u8"計算数表.ini"); }

std::string formatCoefficient(double value) {
    // Six decimals keep five significant digits down to 0.01; smaller values get as many more as
    // five significant digits need, up to fourteen.
    int decimals = 6;
    if (value != 0.0) {
        const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        decimals = std::clamp(4 - exponent, 6, 14);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%12.*f", decimals, value);
    if (std::strtod(text, nullptr) == 0.0)
        std::snprintf(text, sizeof text, "%12.6f", 0.0);
    return text;
}

std::string formatTableFile(const std::vector<CoefBlock>& blocks) {
    std::string text;
    for (const CoefBlock& block : blocks) {
        text.append("L=").append(formatRatio(block.lambda)).append(kLineEnd);
        for (const auto& table : block.table) {
            for (const auto& row : table) {
                for (int k = 0; k < block.points; ++k) {
                    if (k > 0)
                        text += ' ';
                    text += formatCoefficient(row[k]);
                }
                text += kLineEnd;
            }
        }
        text += kLineEnd; // closing line of the block: 12 + 1 body lines
    }
    text += "EN9999";
    text += kLineEnd;
    return text;
}

std::string formatSideRatioList(const std::vector<double>& ratios) {
    std::string text;
    for (std::size_t type = 0; type < kTableTypes.size(); ++type) {
        if (type > 0)
            text += kLineEnd;
        text.append("[").append(kTableTypes[type].section).append("]").append(kLineEnd);
        text.append("Count=").append(std::to_string(ratios.size())).append(kLineEnd);
        for (std::size_t i = 0; i < ratios.size(); ++i) {
            text.append(std::to_string(i + 1)).append("=").append(formatRatio(ratios[i]));
            text.append(kLineEnd);
        }
    }
    return text;
}

void writeAllFiles(const std::filesystem::path& folder,
                   const std::array<std::vector<CoefBlock>, 5>& tables,
                   const std::vector<double>& ratios) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (std::size_t type = 0; type < kTableTypes.size(); ++type) {
        writeFile(folder / std::string(kTableTypes[type].fileName), formatTableFile(tables[type]));
    }
    writeFile(folder / sideRatioListName(), formatSideRatioList(ratios));
}

} // namespace ormavex::coefgen
