#pragma once
// The section force diagram of the bottom slab ("底版断面力図").

#include "drawing/basResOutPrnZ.h"

#include "cases/CaseTable.h"
#include "report/basResOutPrn.h"

#include <string>

namespace ormavex {

/// Draws case `caseNo` (1..99, already calculated) as the bottom slab diagram
/// on a figure area of `width` x `height` mm: the plate lying down (Lx across,
/// Ly centred on y = 0), its grid, Mx and My at every node, both spans as
/// dimension lines and, when `loadFlag` is 1, the load diagram of QA and QB
/// below it. Files, result and failures as DrawFrontWallDiagram.
std::string DrawBottomSlabDiagram(DrawingContext& drawing, PrintFileLists& lists,
                                  const CalcArrays& calc, const std::string& programFolder,
                                  int loadFlag, int caseNo, double width, double height);

} // namespace ormavex
