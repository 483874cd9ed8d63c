#pragma once
// Coefficient table files and the moment calculation.
//
// Each of the five coefficient files (FREE_84.DAT ... FIX_44.DAT in the program
// folder) is a sequence of blocks: a header line whose text from the third
// character on is the block's side ratio λ, then exactly 13 body lines that
// start with the 12·n coefficients (tables Mx uniform, My uniform, Mx
// triangle, My triangle; each row 1..3 by point 1..n), and after the last block
// an end-marker line whose text from the third character on is "9999".
//
// CalcMoments() computes, for every case, moment = coefficient × load × L² at
// the result points, L the shorter span, with the load split into a constant
// and a linearly varying part.

#include "cases/CaseTable.h"
#include "text/Error.h"

#include <string>

namespace ormavex {

class ListInputReader;

/// A coefficient work table: row 1..3 by point 1..9.
using CoefTable = MomentGrid;

/// The block of the most recent successful load. Points above the type's n
/// keep what an earlier load left.
struct CoefWorkTables {
    CoefTable CoefMxUniform;
    CoefTable CoefMyUniform;
    CoefTable CoefMxTriangle;
    CoefTable CoefMyTriangle;
};

/// Path of the coefficient file of table type `number` (1..5) in `folder`;
/// empty for any other number.
std::string CoefFilePath(const std::string& folder, int number);

/// Loads the block of table type `type` (1..5) whose header ratio lies within
/// 0.009 of `lambda` (the first such block in the file) into the work tables,
/// and sets CalcRowCount (3) and CalcPointCount (n) of case `caseNo`.
/// Returns false when the end marker is reached without a match (the work
/// tables are then unchanged). Throws Error on a run-time failure (a missing
/// or unreadable file, with its file error code and path; a file that ends
/// before its end marker or inside a block; a field that is not a number).
bool LoadCoefTable(const std::string& dataFolder, CalcArrays& calc, CoefWorkTables& coef, int type,
                   double lambda, int caseNo);

/// Reads CalcRowCount(caseNo) rows of CalcPointCount(caseNo) numbers each from
/// the reader into `table`, row by row. Throws Error when the data ends
/// first or a field is not a number.
void ReadCoefBlock(ListInputReader& file, CoefTable& table, const CalcArrays& calc, int caseNo);

/// Computes the moments of cases 1..CaseCount with the coefficient files in
/// `dataFolder`. Each file is read once per run and only as far as the cases
/// need, and each block parsed once; every case gets what LoadCoefTable would
/// load for it alone, and a file problem fails the same case with the same
/// reason. Returns false at the first failure (a λ without a block, a
/// loader failure, a type or decimal index that is not a whole number, Ly = 0 or
/// any non-finite intermediate); cases before the failing one keep their
/// results. When `error` is given it receives, on failure, a sentence that
/// names the case and the cause (for the command-line program and logs; the
/// windows show their own message), with the file error code and path of a
/// file problem.
bool CalcMoments(const CaseTable& cases, CalcArrays& calc, CoefWorkTables& coef,
                 const std::string& dataFolder, Error* error = nullptr);

} // namespace ormavex
