#pragma once
// The section force diagram of the bottom slab ("底版断面力図").

#include "core/drawing/SectionForceDiagram.h"

#include <string>

namespace ormavex {

/// Draws case `caseNo` (1..99, already calculated) as the bottom slab diagram
/// on a figure area of `width` x `height` mm: the plate lying down (Lx across,
/// Ly centred on y = 0), its grid, Mx and My at every node, both spans as
/// dimension lines and, when `loadFlag` is 1, the load diagram of QA and QB
/// below it. Files, result and failures as DrawSectionForceDiagram.
inline std::string DrawBottomSlabDiagram(DrawingContext& drawing, const NewPrintFile& newFile,
                                         const CalcArrays& calc, const std::string& dataFolder,
                                         int loadFlag, int caseNo, double width, double height) {
    return DrawSectionForceDiagram(Member::BottomSlab, drawing, newFile, calc, dataFolder, loadFlag,
                                   caseNo, width, height);
}

} // namespace ormavex
