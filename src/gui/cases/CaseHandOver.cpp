#include "CaseHandOver.h"

#include "cases/CaseTable.h"
#include "frmInpJyokenSS.h"
#include "text/LeadingNumber.h"

#include <algorithm>

namespace ormavex::gui {

std::string CaseLimitText(int limit) {
    return "※ 同時に計算可能な最大検討ｹｰｽ数：" + std::to_string(limit);
}

void LoadSheetFromCases(frmInpJyokenSS& editor, const CaseTable& cases) {
    editor.setStatusText(2, CaseLimitText(MaxCases));
    const int count = std::clamp(static_cast<int>(cases.CaseCount), 0, MaxCases);
    editor.setMaxRows(count);
    for (int r = 1; r <= count; ++r) {
        editor.setCellText(1, r, cases.cell(r, 1).toText());
        for (int k = 2; k <= CaseColumns; ++k) {
            editor.setCellText(k + 1, r, cases.cell(r, k).toText());
        }
    }
}

void SaveSheetToCases(const frmInpJyokenSS& editor, CaseTable& cases) {
    const int count = std::min(editor.MaxRows(), MaxCases);
    for (int r = 1; r <= count; ++r) {
        cases.cell(r, 1) = Cell(WithoutControlCharacters(editor.cellText(1, r)));
        for (int k = 2; k <= CaseColumns; ++k) {
            cases.cell(r, k) = Cell(LeadingNumber(editor.cellText(k + 1, r)));
        }
    }
    cases.CaseCount = count;
}

} // namespace ormavex::gui
