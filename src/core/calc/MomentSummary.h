#pragma once
// What an engineer carries away from a calculation: the governing moments of
// each case with their places, the comparison of the moments at the table's
// λ with those at the real side ratio, and the results as a CSV file for a
// spreadsheet.

#include "core/cases/CaseTable.h"

#include <string>

namespace ormavex {

/// One governing moment and its place: row 1..3 (Ⅰ..Ⅲ), point 1..n (①..).
/// Row and point are 0 when the case has no such moment.
struct Governing {
    double value = 0.0;
    int row = 0;
    int point = 0;
};

/// The governing moments of one case.
struct CaseSummary {
    int caseNo = 0;
    Governing mxMax; ///< largest positive Mx
    Governing mxMin; ///< most negative Mx
    Governing myMax; ///< largest positive My
    Governing myMin; ///< most negative My
};

/// The governing values of case `caseNo`'s grids (rows 1..CalcRowCount,
/// points 1..CalcPointCount). A positive (negative) governing value needs a
/// value above (below) 0; ties go to the first in row-then-point order. A
/// case without points (a failed one) has none.
CaseSummary SummariseCase(const CalcArrays& calc, int caseNo);

/// The largest change of the four governing values at the real side ratio
/// from those at the table's λ, as a share of the latter. A value smaller than
/// 1 % of the case's largest governing magnitude is measured against that 1 %
/// instead, so that a moment near zero (an edge value that merely changes
/// sign) does not count. All zero: 0.
double GoverningChange(const CaseSummary& atLambda, const CaseSummary& atReal);

/// True when the GoverningChange is more than `limit` (0.03: 3 %).
bool RealRatioDiffers(const CaseSummary& atLambda, const CaseSummary& atReal, double limit = 0.03);

/// A number in its shortest form that reads back to the same double
/// ("12.5", "-0.0625", "1e-07"; both zeros "0"), as the command-line CSV prints it.
std::string ShortestNumber(double value);

/// A CSV field: quoted, with inner quotes doubled, when it holds a comma, a
/// double quote, a carriage return or a line feed; otherwise as it is.
std::string CsvField(const std::string& text);

/// A CSV field for a text a user typed (a case title): as CsvField, but a
/// text beginning with "=", "+", "-" or "@" gets a leading apostrophe and is
/// quoted. Spreadsheets read such a field as a formula even when it is quoted
/// ("-側壁" becomes #NAME?, "=HYPERLINK(…)" a live link from a project someone
/// else wrote); with the apostrophe it stays text that shows the title whole.
std::string CsvTextField(const std::string& text);

/// The results CSV as bytes: a UTF-8 byte order mark (so that spreadsheets
/// open the Japanese titles as UTF-8), then the heading
/// "case,title,row,point,Mx,My,Mx_real,My_real" and one line per result point
/// (the title as CsvTextField writes it)
/// of every case with points, CR LF after every line. Mx_real and My_real
/// come from `atReal` and are empty when it is not given or the case has no
/// points there.
std::string ResultsCsv(const CaseTable& cases, const CalcArrays& atLambda,
                       const CalcArrays* atReal);

} // namespace ormavex
