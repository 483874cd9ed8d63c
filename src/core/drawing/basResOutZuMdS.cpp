#include "basResOutZuMdS.h"

#include "drawing/SectionForceDiagram.h"

namespace ormavex {

std::string DrawFrontWallDiagram(DrawingContext& drawing, PrintFileLists& lists,
                                 const CalcArrays& calc, const std::string& programFolder,
                                 int loadFlag, int caseNo, double width, double height) {
    return DrawSectionForceDiagram(Member::FrontWall, drawing, lists, calc, programFolder,
                                   loadFlag, caseNo, width, height);
}

} // namespace ormavex
