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

#include "core/cases/CaseTable.h"
#include "core/text/Error.h"

#include <string>
#include <vector>

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

/// One block of a coefficient file: its header ratio and its four tables.
struct CoefBlock {
    double ratio = 0.0;
    CoefWorkTables tables;
};

/// Every block of table type `type` (1..5) in `dataFolder`, in file order, up
/// to the end marker (rows 1..3, points 1..n of the type). Throws Error as
/// LoadCoefTable does, and for a type other than 1..5.
std::vector<CoefBlock> LoadAllCoefBlocks(const std::string& dataFolder, int type);

/// One failing case of a calculation run.
struct CaseFailure {
    int caseNo = 0;           ///< 1..99
    std::string cause;        ///< Japanese, one line, without the case number ("Lx = 0：…")
    std::string causeEnglish; ///< the same in English ("Lx = 0: a span must be greater than 0")
};

/// Which of a case's values a check looks at.
enum class CaseCheck {
    All,         ///< table type, decimals, spans, λ and loads
    WithoutRatio ///< all but λ (the moments at the real side ratio do not use it)
};

/// Checks the values of case `caseNo` before any coefficient is read: table
/// type 1..5 and decimal places whole numbers; Lx and Ly finite, greater than
/// 0 and within the sheet's range (at most 99.999); λ finite and greater than
/// 0; QA and QB finite and within the sheet's range (±9999.99), judged as the
/// sheet judges a typed value (rounded to the column's places). An empty span
/// cell is named as empty. Returns false with the first problem in `failure`.
bool CheckCaseValues(const CaseTable& cases, int caseNo, CaseFailure& failure,
                     CaseCheck check = CaseCheck::All);

/// Copies the values of case `caseNo`, which CheckCaseValues accepted, into
/// its calculation arrays: CalcType (1..5), CalcKeta (2 or 3), CalcLx,
/// CalcLy, CalcRamuda (the case's λ), CalcQA and CalcQB.
void CopyCaseValues(const CaseTable& cases, int caseNo, CalcArrays& calc);

/// Why MomentsFromCoefficients gave no moments.
enum class MomentFailure { None, LoadTooLarge, MomentTooLarge };

/// The moments of case `c` from the work tables: moment = coefficient × load
/// × L², L the shorter span (Lx when equal), the load split into a constant
/// part u and a varying part t (free edge: u = QB, t = QA − QB; fixed with
/// |QB| > 0.009: u = QA, t = QB − QA; otherwise u = 0, t = QA with the points
/// read in reverse). Reads CalcType, CalcLx, CalcLy, CalcQA, CalcQB and the
/// row and point counts of the case; on failure the grids may be partly
/// written.
MomentFailure MomentsFromCoefficients(CalcArrays& calc, const CoefWorkTables& coef, int c);

/// The cause of a MomentFailure other than None, for case `c`.
CaseFailure MomentFailureCause(MomentFailure why, int c);

/// The last part of a "/"-separated path.
std::string FileNameOf(const std::string& path);
/// The cause of a coefficient file that could not be read, with its file
/// error code.
std::string UnreadableCoefFileCause(const std::string& file, int code);
/// Empties the part of a failed case's arrays that could mislead a reader:
/// no points, no moments.
void ClearCaseResults(CalcArrays& calc, int c);

/// Computes the moments of cases 1..CaseCount with the coefficient files in
/// `dataFolder`. Each file is read whole once per run, searched only as far as
/// the cases need, and each block parsed once; every case gets what LoadCoefTable would
/// load for it alone, and a file problem fails the same case with the same
/// reason. A case fails when CheckCaseValues refuses it, its λ has no block,
/// the loader fails or an intermediate is not finite; the run goes on with
/// the next case. A failed case keeps no results: its grids are 0 and its row
/// and point counts are 0. Returns true when no case failed. On failure,
/// `error` (when given) receives a sentence that names the first failing case
/// and its cause ("case 2: Lx = 0: …"; for the command-line program and logs,
/// with the file error code and path of a file problem), and `failures`
/// (when given) one entry per failing case, in case order.
bool CalcMoments(const CaseTable& cases, CalcArrays& calc, CoefWorkTables& coef,
                 const std::string& dataFolder, Error* error = nullptr,
                 std::vector<CaseFailure>* failures = nullptr);

/// One line per failure, "№2 " and its Japanese cause, joined with line
/// feeds (no line feed after the last).
std::string CaseFailureLines(const std::vector<CaseFailure>& failures);

} // namespace ormavex
