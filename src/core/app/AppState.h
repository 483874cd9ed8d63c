#pragma once
// The process-wide state: created once at start-up and passed by reference to
// whatever reads or writes it. Each part is written only by its owner: the
// case table by the editor hand-over and the project file reader, the
// calculation arrays and coefficient work tables by the calculation.

#include "calc/basCalcMd.h"
#include "cases/CaseTable.h"
#include "drawing/basResOutPrnZ.h"
#include "report/basResOutPrn.h"

#include <string>

namespace ormavex {

struct AppState {
    /// Folder of the delivered data files (coefficient tables, report format,
    /// drawing styles): normally the program folder.
    std::string dataFolder;
    CaseTable cases;
    CalcArrays calc;
    CoefWorkTables coef;
    DrawingContext drawing;
    ReportState report;
};

/// Runs the moment calculation over all cases of `state`.
inline bool CalcMoments(AppState& state, Error* error = nullptr) {
    return CalcMoments(state.cases, state.calc, state.coef, state.dataFolder, error);
}

} // namespace ormavex
