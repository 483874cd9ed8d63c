#include "gui/cases/CaseHandOver.h"

#include "core/cases/CaseSheet.h"
#include "core/cases/CaseTable.h"
#include "core/text/LeadingNumber.h"
#include "gui/cases/frmInpJyokenSS.h"

#include <algorithm>

namespace ormavex::gui {

void LoadSheetFromCases(frmInpJyokenSS& editor, const CaseTable& cases) {
    editor.setStatusText(2, "※ 同時に計算可能な最大検討ｹｰｽ数：" + std::to_string(MaxCases));
    const int count = std::clamp(static_cast<int>(cases.CaseCount), 0, MaxCases);
    editor.setMaxRows(count);
    for (int r = 1; r <= count; ++r) {
        for (int k = CaseCol::Title; k <= CaseColumns; ++k) {
            editor.setCellText(SheetColumnOfCase(k), r, cases.cell(r, k).toText());
        }
    }
}

void SaveSheetToCases(const frmInpJyokenSS& editor, CaseTable& cases) {
    const int count = std::min(editor.MaxRows(), MaxCases);
    for (int r = 1; r <= count; ++r) {
        cases.cell(r, CaseCol::Title) =
            Cell(WithoutControlCharacters(editor.cellText(SheetCol::Title, r)));
        for (int k = CaseCol::TableType; k <= CaseColumns; ++k) {
            cases.cell(r, k) = Cell(LeadingNumber(editor.cellText(SheetColumnOfCase(k), r)));
        }
    }
    cases.CaseCount = count;
}

} // namespace ormavex::gui
