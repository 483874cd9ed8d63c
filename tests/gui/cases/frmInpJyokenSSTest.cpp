// The case table editor driven as a user drives it: rows, cells, clipboard,
// undo, the condition dialog and the hand-over to the case table.
#include "CasesTestSupport.h"

#include "cases/CaseSheetModel.h"
#include "cases/NumberEdit.h"
#include "cases/frmInpJyoken.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace ormavex;
using namespace ormavex::test;
using gui::frmInpJyoken;
using gui::frmInpJyokenSS;

namespace {

class EditorTest : public ::testing::Test {
protected:
    std::unique_ptr<frmInpJyokenSS> open() { return OpenEditor(cases, dir, prompter); }

    TempDir dir;
    CaseTable cases;
    FakePrompter prompter;
};

} // namespace

TEST_F(EditorTest, InsertsAndDeletesRowsAtTheActiveCell) {
    FillCases(cases, 5);
    auto editor = open();
    ASSERT_EQ(editor->MaxRows(), 5);
    EXPECT_EQ(editor->activeRow(), 1);
    EXPECT_EQ(editor->statusText(2), "※ 同時に計算可能な最大検討ｹｰｽ数：99");
    const std::string row3 = Row(*editor, 3);
    const std::string row5 = Row(*editor, 5);

    editor->setActiveCell(6, 3);
    Action(*editor, "Insert")->trigger(); // the toolbar button
    ASSERT_EQ(editor->MaxRows(), 6);
    EXPECT_EQ(Row(*editor, 3), "(未定義)||0|0|0|1|1|1|1|0|0");
    EXPECT_EQ(Row(*editor, 4), row3);
    EXPECT_EQ(Row(*editor, 6), row5);

    // Shift+Del removes the row of the active cell; the rows below move up.
    editor->setActiveCell(1, 3);
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Delete, Qt::ShiftModifier);
    ASSERT_EQ(editor->MaxRows(), 5);
    EXPECT_EQ(Row(*editor, 3), row3);
    // Add appends a new last row.
    Action(*editor, "mnuAdd")->trigger();
    EXPECT_EQ(Row(*editor, 6), "(未定義)||0|0|0|1|1|1|1|0|0");
}

TEST_F(EditorTest, AddAndInsertStopAtTheRowLimitUntilARowIsDeleted) {
    FillCases(cases, 97);
    auto editor = open();
    const char* addInsert[] = {"mnuAdd", "mnuInsert", "Add", "Insert"};
    Action(*editor, "mnuAdd")->trigger();
    for (const char* name : addInsert) {
        EXPECT_TRUE(Action(*editor, name)->isEnabled()) << name;
    }
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(editor->MaxRows(), 99);
    for (const char* name : addInsert) {
        EXPECT_FALSE(Action(*editor, name)->isEnabled()) << name;
    }
    editor->mnuAdd_Click();
    editor->mnuInsert_Click();
    EXPECT_EQ(editor->MaxRows(), 99);

    editor->setActiveCell(1, 50);
    Action(*editor, "Delete")->trigger();
    EXPECT_EQ(editor->MaxRows(), 98);
    for (const char* name : addInsert) {
        EXPECT_TRUE(Action(*editor, name)->isEnabled()) << name;
    }

    // Opened with the limit already reached: enabled, and still nothing is added.
    FillCases(cases, 99);
    auto full = open();
    EXPECT_TRUE(Action(*full, "Add")->isEnabled());
    Action(*full, "Add")->trigger();
    EXPECT_EQ(full->MaxRows(), 99);
}

TEST_F(EditorTest, TypedSpansSetTheRatioAndRefusedValuesAreNamed) {
    FillCases(cases, 2);
    auto editor = open();
    TypeIntoCell(*editor, 6, 1, "2");
    TypeIntoCell(*editor, 7, 1, "4");
    EXPECT_EQ(editor->cellText(8, 1), "0.5");
    EXPECT_EQ(editor->vaSpread1()->model()->index(0, 7).data().toString(), "0.50");

    // Ly = 0: the ratio cell still holds a number in its range.
    TypeIntoCell(*editor, 7, 2, "0");
    EXPECT_EQ(editor->cellText(8, 2), "0");

    // Out of range and not a number: the cell keeps its value, the status bar says why.
    TypeIntoCell(*editor, 6, 1, "100");
    EXPECT_EQ(editor->cellText(6, 1), "2");
    EXPECT_NE(editor->noticeText().find("1行目「Lx(m)」「100」"), std::string::npos)
        << editor->noticeText();
    EXPECT_NE(editor->noticeText().find("0 ～ 99.999"), std::string::npos);
    TypeIntoCell(*editor, 10, 2, "1-2");
    EXPECT_EQ(editor->cellText(10, 2), "20");
    EXPECT_NE(editor->noticeText().find("「1-2」"), std::string::npos);

    // A double quote cannot be typed into a title (a project file cannot hold it).
    TypeIntoCell(*editor, 1, 2, "A\"B");
    EXPECT_EQ(editor->cellText(1, 2), "AB");
    EXPECT_NE(editor->noticeText().find("「\"」"), std::string::npos);

    // Undo and redo, step by step, with the keys of any spreadsheet.
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier); // the title
    EXPECT_EQ(editor->cellText(1, 2), "ｹｰｽ2");
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier); // Ly 0
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier); // Ly 4
    EXPECT_EQ(editor->cellText(7, 1), "2");
    EXPECT_EQ(editor->cellText(8, 1), "1"); // 2 / 2
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor->cellText(8, 1), "0.5");
}

TEST_F(EditorTest, StatusBarHintFollowsTheActiveCell) {
    FillCases(cases, 1);
    auto editor = open();
    const std::pair<int, std::string> hints[] = {{1, "入力範囲：40ﾊﾞｲﾄ以内の文字列"},
                                                 {2, ""},
                                                 {3, "入力範囲：(選択ﾘｽﾄ一覧より選択)"},
                                                 {7, "入力範囲：0 ～ 99.999"},
                                                 {9, "入力範囲：0 ～ 9.99"},
                                                 {11, "入力範囲：-9999.99 ～ 9999.99"}};
    for (const auto& [column, hint] : hints) {
        editor->setActiveCell(column, 1);
        EXPECT_EQ(editor->statusText(1), hint) << column;
    }
}

TEST_F(EditorTest, CopiesAndPastesSpreadsheetBlocks) {
    FillCases(cases, 3);
    auto editor = open();
    QClipboard* clipboard = QGuiApplication::clipboard();

    // Nothing selected: exactly the active cell.
    editor->setActiveCell(3, 2);
    editor->vaSpread1()->clearSelection();
    QTest::keyClick(editor->vaSpread1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "三辺固定一辺自由版（６×４）\r\n");

    // A block: visible texts of the choices, plain decimals, CR LF rows.
    auto* sheet = editor->vaSpread1();
    sheet->selectionModel()->select(
        QItemSelection(sheet->model()->index(0, 0), sheet->model()->index(1, 5)),
        QItemSelectionModel::ClearAndSelect);
    Action(*editor, "Copy")->trigger();
    EXPECT_EQ(clipboard->text().toStdString(),
              "ｹｰｽ1\t\t三辺固定一辺自由版（８×４）\t側壁ﾀｲﾌﾟ\t２桁\t1.5\r\n"
              "ｹｰｽ2\t\t三辺固定一辺自由版（６×４）\t側壁ﾀｲﾌﾟ\t２桁\t2.5\r\n");

    // A block from a spreadsheet with one bad value: the rest is pasted, the bad one named.
    const std::string before = Row(*editor, 2) + "/" + Row(*editor, 3);
    clipboard->setText(
        QString::fromStdString("前壁\t\t四辺固定版（４×４）\t底版ﾀｲﾌﾟ\t３桁\t3.25\t1.3\r\n"
                               "隔壁\t\t四辺固定版（８×４）\t側壁ﾀｲﾌﾟ\t２桁\t4,5x\t2.5\r\n"));
    editor->setActiveCell(1, 2);
    sheet->clearSelection();
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(*editor, 2), "前壁||4|1|1|3.25|1.3|2.5|1.5|20|-10");
    EXPECT_EQ(Row(*editor, 3), "隔壁||2|0|0|3.5|2.5|1.4|1.5|30|-15"); // Lx refused: kept
    EXPECT_NE(editor->noticeText().find("3行目「Lx(m)」「4,5x」"), std::string::npos)
        << editor->noticeText();

    // One undo takes the whole paste back.
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(Row(*editor, 2) + "/" + Row(*editor, 3), before);

    // Cut empties the block and can be undone too.
    editor->setActiveCell(10, 1);
    sheet->clearSelection();
    Action(*editor, "Cut")->trigger();
    EXPECT_EQ(clipboard->text().toStdString(), "10\r\n");
    EXPECT_EQ(editor->cellText(10, 1), "");
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->cellText(10, 1), "10");
}

TEST_F(EditorTest, ConditionDialogEditsTheRowOfItsButton) {
    WriteTestSideRatios(dir.path());
    FillCases(cases, 2);
    cases.cell(2, 5) = Cell(3.1); // proposal from the spans: 2.0; the row's λ is 1.5
    auto editor = open();
    bool ran = false;
    editor->setDialogRunner([&](frmInpJyoken& d) {
        ran = true;
        d.show(); // as exec() does: the dialog loads its row
        EXPECT_EQ(d.windowTitle().toStdString(), "ﾃﾞｰﾀ№2");
        EXPECT_TRUE(d.cmdHelp()->isEnabled()); // the manual is beside the tests
        EXPECT_EQ(d.txtTitle()->text().toStdString(), "ｹｰｽ2");
        EXPECT_TRUE(d.optType(1)->isChecked());
        EXPECT_EQ(d.cboRamuda()->count(), 4);
        EXPECT_EQ(d.cboRamuda()->currentText().toStdString(), "1.5"); // kept from the row
        EXPECT_EQ(d.numRamuda()->text().toStdString(), "1.55");
        EXPECT_EQ(d.numQB()->text().toStdString(), "-10.00");
        d.optType(4)->setChecked(true); // FIX_4*4: its own list, proposal 1.20
        d.numQA()->setValue(1234.5);
        d.cmdOk()->click();
    });
    editor->setActiveCell(1, 1);
    QTableView* sheet = editor->vaSpread1();
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                      sheet->visualRect(sheet->model()->index(1, 1)).center());
    ASSERT_TRUE(ran);
    EXPECT_EQ(editor->activeRow(), 2);
    EXPECT_EQ(Row(*editor, 2), "ｹｰｽ2||4|0|0|3.1|2|1.55|1.20|1234.5|-10");
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->cellText(3, 2), "1");
    EXPECT_EQ(editor->cellText(10, 2), "20");

    // Cancel leaves the row as it was.
    const std::string row2 = Row(*editor, 2);
    editor->setDialogRunner([](frmInpJyoken& d) {
        d.show();
        d.optStyle(1)->setChecked(true);
        d.txtTitle()->setText("x");
        d.cmdCancel()->click();
        EXPECT_EQ(d.UsrTag(), "ｷｬﾝｾﾙ");
    });
    editor->vaSpread1_ButtonClicked(2);
    EXPECT_EQ(Row(*editor, 2), row2);
}
