#pragma once
// Shared by the editor and dialog tests: a side-ratio list with short known
// lists, and the editor opened on a case table with the opener's hand-over.

#include "core/cases/CaseSheet.h"
#include "core/cases/CaseTable.h"
#include "core/cases/SideRatioList.h"
#include "gui/FakePrompter.h"
#include "gui/FindChild.h"
#include "gui/cases/CaseHandOver.h"
#include "gui/cases/frmInpJyokenSS.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace ormavex::test {

/// Every table type lists 0.5, 1.0, 1.5, 2.0 except FIX_4*4, which lists 0.8, 1.2.
inline void WriteTestSideRatios(const std::string& folder) {
    std::vector<std::string> lines;
    for (const char* s : {"FREE_8*4", "FREE_6*4", "FIX_8*4", "FIX_6*4"}) {
        lines.insert(lines.end(),
                     {std::string("[") + s + "]", "Count=4", "1=0.5", "2=1.0", "3=1.5", "4=2.0"});
    }
    lines.insert(lines.end(), {"[FIX_4*4]", "Count=2", "1=0.80", "2=1.20"});
    WriteSjisLines(SideRatioListPath(folder), lines);
}

/// Case r: title "ｹｰｽr", type (r - 1) % 5, style 0, decimals 0, Lx = r + 0.5,
/// Ly = 2, Lx/Ly, λ 1.5, QA = 10 r, QB = -5 r.
inline void FillCases(CaseTable& cases, int count) {
    cases.clear();
    for (int r = 1; r <= count; ++r) {
        cases.cell(r, CaseCol::Title) = Cell("ｹｰｽ" + std::to_string(r));
        cases.cell(r, CaseCol::TableType) = Cell(double((r - 1) % 5));
        cases.cell(r, CaseCol::PrintStyle) = Cell(0.0);
        cases.cell(r, CaseCol::Decimals) = Cell(0.0);
        cases.cell(r, CaseCol::Lx) = Cell(r + 0.5);
        cases.cell(r, CaseCol::Ly) = Cell(2.0);
        cases.cell(r, CaseCol::Ratio) = Cell((r + 0.5) / 2.0);
        cases.cell(r, CaseCol::Lambda) = Cell(1.5);
        cases.cell(r, CaseCol::QA) = Cell(10.0 * r);
        cases.cell(r, CaseCol::QB) = Cell(-5.0 * r);
    }
    cases.CaseCount = count;
}

/// The editor as the main window opens it: the hand-over handlers connected,
/// UsrRecMax 99, shown and active.
inline std::unique_ptr<gui::frmInpJyokenSS> OpenEditor(CaseTable& cases, const TempDir& dir,
                                                       gui::Prompter& prompter) {
    using gui::frmInpJyokenSS;
    auto editor = std::make_unique<frmInpJyokenSS>(dir.file("Kivet.ini"), dir.path(), prompter);
    frmInpJyokenSS* e = editor.get();
    QObject::connect(e, &frmInpJyokenSS::LoadData, e,
                     [e, &cases] { LoadSheetFromCases(*e, cases); });
    QObject::connect(e, &frmInpJyokenSS::SaveData, e,
                     [e, &cases](bool&) { SaveSheetToCases(*e, cases); });
    e->UsrRecMax = MaxCases;
    e->show();
    QApplication::setActiveWindow(e);
    (void)QTest::qWaitForWindowActive(e);
    return editor;
}

/// Types `text` into a line edit: ASCII key by key, anything else as an input
/// method hands over what was composed (full-width digits, kana).
inline void TypeText(QWidget* edit, const QString& text) {
    bool ascii = true;
    for (QChar ch : text) {
        ascii = ascii && ch.unicode() < 0x80;
    }
    if (ascii) {
        QTest::keyClicks(edit, text);
    } else {
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(edit, &composed);
    }
}

/// Types `text` into a cell (the line edit of an editable choice too) and
/// leaves it with Enter, as a user does.
inline void TypeIntoCell(gui::frmInpJyokenSS& editor, int column, int row, const QString& text) {
    editor.setActiveCell(column, row);
    QTableView* sheet = editor.sheet();
    sheet->edit(sheet->currentIndex());
    auto* edit = sheet->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    TypeText(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    // Enter commits and closes the editor at the next turn of the event loop.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline std::string Row(const gui::frmInpJyokenSS& editor, int row) {
    std::string s;
    for (int c = 1; c <= SheetColumns; ++c) {
        s += (c > 1 ? "|" : "") + editor.cellText(c, row);
    }
    return s;
}

inline QAction* Action(const QWidget& window, const char* name) {
    return window.findChild<QAction*>(name);
}

} // namespace ormavex::test
