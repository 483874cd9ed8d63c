#pragma once
// The section force diagram of the front wall ("前壁断面力図").

#include "drawing/basResOutPrnZ.h"

#include "cases/CaseTable.h"
#include "report/basResOutPrn.h"

#include <string>

namespace ormavex {

/// Draws case `caseNo` (1..99, already calculated) as the front wall diagram on
/// a figure area of `width` x `height` mm: the plate upright (Ly across, Lx
/// downward), its grid, Mx and My at every node, both spans as dimension
/// lines and, when `loadFlag` is 1, the load diagram of QA and QB on its left.
/// Reads LINE_PRN.DEF and STR_PRN.DEF from `programFolder`, writes a drawing
/// command file and a figure file under two new names of the drawing print
/// file list and returns the figure file's path. Throws ReportError on any
/// failure (a span that is not positive, a style file, a full table or list,
/// a file error).
std::string DrawFrontWallDiagram(DrawingContext& drawing, PrintFileLists& lists,
                                 const CalcArrays& calc, const std::string& programFolder,
                                 int loadFlag, int caseNo, double width, double height);

} // namespace ormavex
