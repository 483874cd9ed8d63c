// Reading the committed table files back, for the tests.
#pragma once

#include "CoefTables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace ormavex::coefgen {

// Splits at CR LF; fails the test on a bare LF or CR.
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line break in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

inline std::vector<double> numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> values;
    std::string field;
    while (in >> field) {
        char* end = nullptr;
        values.push_back(std::strtod(field.c_str(), &end));
        EXPECT_EQ(*end, '\0') << "not a plain number: " << field;
    }
    return values;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The folder of the committed files.
inline const std::filesystem::path kData = ORMAVEX_COEF_DATA_DIR;

// Reads the blocks of a committed file with the layout of formatTableFile.
inline std::vector<CoefBlock> parseTableFile(const std::string& text, int points) {
    const auto lines = crlfLines(text);
    std::vector<CoefBlock> blocks;
    std::size_t i = 0;
    while (i < lines.size() && lines[i].substr(2) != "9999") {
        CoefBlock b;
        b.points = points;
        b.lambda = std::strtod(lines[i].c_str() + 2, nullptr);
        EXPECT_LE(i + 14, lines.size());
        if (i + 14 > lines.size())
            break;
        for (int t = 0; t < kTableCount; ++t) {
            for (int r = 0; r < kRowCount; ++r) {
                const auto values = numbers(lines[i + 1 + 3 * t + r]);
                EXPECT_EQ(values.size(), static_cast<std::size_t>(points));
                for (int k = 0; k < points && k < static_cast<int>(values.size()); ++k) {
                    b.table[t][r][k] = values[k];
                }
            }
        }
        blocks.push_back(b);
        i += 14;
    }
    EXPECT_EQ(i + 1, lines.size()) << "the end marker must be the last line";
    return blocks;
}

} // namespace ormavex::coefgen
