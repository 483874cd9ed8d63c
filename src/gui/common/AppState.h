#pragma once
// The working state of the windowed application: created once in main() and
// passed by reference to the windows. Each part is written only by its
// owner: the case table by the editor hand-over and the project file reader,
// the calculation arrays and coefficient work tables by the calculation, the
// drawing buffer and the report state by the report run.

#include "core/calc/basCalcMd.h"
#include "core/drawing/basResOutPrnZ.h"
#include "core/report/basResOutPrn.h"

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

} // namespace ormavex
