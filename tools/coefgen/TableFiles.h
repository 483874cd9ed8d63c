// Text of the coefficient table files and of the side-ratio list "計算数表.ini".
//
// Both are plain ASCII, hence also valid Shift_JIS (code page 932), with CR LF after every line.
//
// Table file: one block per side ratio, then the end marker line "EN9999". A block is
//   - a header line "L=" followed by the ratio with two decimals ("L=1.50"); the reader skips the
//     two label characters and takes the leading number;
//   - exactly 13 body lines: twelve lines of one table row each (tables Mx uniform, My uniform,
//     Mx varying, My varying; rows 1..3 within each table; points 1..n along the line, separated by
//     blanks), then one empty closing line.
// Every coefficient carries at least 5 significant digits (at least 6 and at most 14 decimals, no
// exponent) and exact zeros are written "0.000000".
#pragma once

#include "CoefTables.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ormavex::coefgen {

// Name of the side-ratio list, as the program looks it up in its folder.
std::filesystem::path sideRatioListName();

// One coefficient in its field: right-aligned in 12 characters.
std::string formatCoefficient(double value);

// The whole text of a table file for the blocks given, in their order.
std::string formatTableFile(const std::vector<CoefBlock>& blocks);

// The whole text of the side-ratio list: sections in the order of kTableTypes, each with
// "Count=<number of ratios>" and keys "1".."N" holding the ratios with two decimals, ascending.
std::string formatSideRatioList(const std::vector<double>& ratios);

// Writes the five table files and the side-ratio list into `folder` (created when missing),
// replacing files of the same names. `tables` is in the order of kTableTypes.
// Throws std::runtime_error naming the file when one cannot be written completely.
void writeAllFiles(const std::filesystem::path& folder,
                   const std::array<std::vector<CoefBlock>, 5>& tables,
                   const std::vector<double>& ratios);

} // namespace ormavex::coefgen
