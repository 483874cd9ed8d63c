#include "basResOutMdT.h"

#include "app/AppState.h"
#include "drawing/basResOutZuMdT.h"
#include "report/basResOutMd.h"

namespace ormavex {

bool WriteBottomSlabPage(AppState& state, int caseNo, std::string* reason) {
    const DiagramWriter diagram = [&state](Member, int c) {
        return DrawBottomSlabDiagram(state.drawing, state.report.lists, state.calc,
                                     state.dataFolder, 1, c, PageFigureWidth, PageFigureHeight);
    };
    return WriteMemberPage(state.report, state.cases, state.calc, FormatFilePath(state.dataFolder),
                           caseNo, Member::BottomSlab, diagram, reason);
}

} // namespace ormavex
