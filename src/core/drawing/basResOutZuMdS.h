#pragma once
// The section force diagram of the front wall ("前壁断面力図").

#include "core/drawing/SectionForceDiagram.h"

#include <string>

namespace ormavex {

/// Draws case `caseNo` (1..99, already calculated) as the front wall diagram on
/// a figure area of `width` x `height` mm: the plate upright (Ly across, Lx
/// downward), its grid, Mx and My at every node, both spans as dimension
/// lines and, when `loadFlag` is 1, the load diagram of QA and QB on its left.
/// Files, result and failures as DrawSectionForceDiagram.
inline std::string DrawFrontWallDiagram(DrawingContext& drawing, const NewPrintFile& newFile,
                                        const CalcArrays& calc, const std::string& dataFolder,
                                        int loadFlag, int caseNo, double width, double height) {
    return DrawSectionForceDiagram(Member::FrontWall, drawing, newFile, calc, dataFolder, loadFlag,
                                   caseNo, width, height);
}

} // namespace ormavex
