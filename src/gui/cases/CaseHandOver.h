#pragma once
// The hand-over between the case table and the case table editor, as the
// opener's LoadData and SaveData handlers do it: every case column goes to
// the sheet column that shows it (SheetColumnOfCase); the button column is
// skipped.

namespace ormavex {
class CaseTable;
}

namespace ormavex::gui {

class frmInpJyokenSS;

/// LoadData: panel 2 shows the limit; the sheet gets CaseCount rows, each
/// cell the text of its case cell.
void LoadSheetFromCases(frmInpJyokenSS& editor, const CaseTable& cases);

/// SaveData: every sheet row into the case table (the title as text, the
/// other columns as numbers by the leading-number rule) and CaseCount = the
/// number of rows. Rows beyond it are left as they are.
void SaveSheetToCases(const frmInpJyokenSS& editor, CaseTable& cases);

} // namespace ormavex::gui
