#include "basResOutMdS.h"

#include "app/AppState.h"
#include "drawing/basResOutZuMdS.h"
#include "report/basResOutMd.h"

namespace ormavex {

bool WriteFrontWallPage(AppState& state, int caseNo, std::string* reason) {
    const DiagramWriter diagram = [&state](Member, int c) {
        return DrawFrontWallDiagram(state.drawing, state.report.lists, state.calc, state.dataFolder,
                                    1, c, PageFigureWidth, PageFigureHeight);
    };
    return WriteMemberPage(state.report, state.cases, state.calc, FormatFilePath(state.dataFolder),
                           caseNo, Member::FrontWall, diagram, reason);
}

} // namespace ormavex
