// The case table editor driven as a user drives it: rows, cells, clipboard,
// undo, the condition dialog and the hand-over to the case table.
#include "CasesTestSupport.h"

#include "core/text/WidthFold.h"
#include "gui/cases/CaseSheetModel.h"
#include "gui/cases/NumberEdit.h"
#include "gui/cases/frmInpJyoken.h"
#include "gui/cases/frmRefusedValues.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QUndoStack>

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

    editor->setActiveCell(SheetCol::Lx, 3);
    Action(*editor, "Insert")->trigger(); // the toolbar button
    ASSERT_EQ(editor->MaxRows(), 6);
    EXPECT_EQ(Row(*editor, 3), "(未定義)||0|0|0|1|1|1|1|0|0");
    EXPECT_EQ(Row(*editor, 4), row3);
    EXPECT_EQ(Row(*editor, 6), row5);

    // Shift+Del removes the row of the active cell; the rows below move up.
    editor->setActiveCell(SheetCol::Title, 3);
    QTest::keyClick(editor->sheet(), Qt::Key_Delete, Qt::ShiftModifier);
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
    QTest::keyClick(editor->sheet(), Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(editor->MaxRows(), 99);
    for (const char* name : addInsert) {
        EXPECT_FALSE(Action(*editor, name)->isEnabled()) << name;
    }
    // The commands themselves refuse too, not only their disabled items.
    EXPECT_TRUE(QMetaObject::invokeMethod(editor.get(), "mnuAdd_Click"));
    EXPECT_TRUE(QMetaObject::invokeMethod(editor.get(), "mnuInsert_Click"));
    EXPECT_EQ(editor->MaxRows(), 99);

    editor->setActiveCell(SheetCol::Title, 50);
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
    TypeIntoCell(*editor, SheetCol::Lx, 1, "2");
    TypeIntoCell(*editor, SheetCol::Ly, 1, "4");
    EXPECT_EQ(editor->cellText(SheetCol::Ratio, 1), "0.5");
    EXPECT_EQ(editor->sheet()->model()->index(0, 7).data().toString(), "0.50");

    // A span of 0, a negative or an empty one is refused with the reason.
    for (const char* bad : {"0", "-1", ""}) {
        TypeIntoCell(*editor, SheetCol::Ly, 2, bad);
        EXPECT_EQ(editor->cellText(SheetCol::Ly, 2), "2") << bad;
        EXPECT_NE(editor->noticeText().find("Lx, Ly は0より大きい値が必要なため入力できません"),
                  std::string::npos)
            << editor->noticeText();
    }

    // Out of range and not a number: the cell keeps its value, the status bar says why.
    TypeIntoCell(*editor, SheetCol::Lx, 1, "100");
    EXPECT_EQ(editor->cellText(SheetCol::Lx, 1), "2");
    EXPECT_NE(editor->noticeText().find("1行目「Lx(m)」「100」"), std::string::npos)
        << editor->noticeText();
    EXPECT_NE(editor->noticeText().find("0.001 ～ 99.999"), std::string::npos);
    TypeIntoCell(*editor, SheetCol::QA, 2, "1-2");
    EXPECT_EQ(editor->cellText(SheetCol::QA, 2), "20");
    EXPECT_NE(editor->noticeText().find("「1-2」"), std::string::npos);

    // A double quote cannot be typed into a title (a project file cannot hold it).
    TypeIntoCell(*editor, SheetCol::Title, 2, "A\"B");
    EXPECT_EQ(editor->cellText(SheetCol::Title, 2), "AB");
    EXPECT_NE(editor->noticeText().find("「\"」"), std::string::npos);

    // Undo and redo, step by step, with the keys of any spreadsheet.
    QTest::keyClick(editor->sheet(), Qt::Key_Z, Qt::ControlModifier); // the title
    EXPECT_EQ(editor->cellText(SheetCol::Title, 2), "ｹｰｽ2");
    QTest::keyClick(editor->sheet(), Qt::Key_Z, Qt::ControlModifier); // Ly 4
    EXPECT_EQ(editor->cellText(SheetCol::Ly, 1), "2");
    EXPECT_EQ(editor->cellText(SheetCol::Ratio, 1), "1"); // 2 / 2
    QTest::keyClick(editor->sheet(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor->cellText(SheetCol::Ratio, 1), "0.5");
}

TEST_F(EditorTest, StatusBarHintFollowsTheActiveCell) {
    FillCases(cases, 1);
    cases.cell(1, CaseCol::Lambda) = Cell(0.75); // λ = Lx/Ly: no mark
    auto editor = open();
    const std::pair<int, std::string> hints[] = {{1, "入力範囲：40ﾊﾞｲﾄ以内の文字列"},
                                                 {2, ""},
                                                 {3, "入力範囲：(選択ﾘｽﾄ一覧より選択)"},
                                                 {7, "入力範囲：0.001 ～ 99.999"},
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
    editor->setActiveCell(SheetCol::TableType, 2);
    editor->sheet()->clearSelection();
    QTest::keyClick(editor->sheet(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "三辺固定一辺自由版（６×４）\r\n");

    // A block: visible texts of the choices, plain decimals, CR LF rows.
    auto* sheet = editor->sheet();
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
    editor->setActiveCell(SheetCol::Title, 2);
    sheet->clearSelection();
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(*editor, 2), "前壁||4|1|1|3.25|1.3|2.5|1.5|20|-10");
    EXPECT_EQ(Row(*editor, 3), "隔壁||2|0|0|3.5|2.5|1.4|1.5|30|-15"); // Lx refused: kept
    ASSERT_NE(editor->findChild<gui::frmRefusedValues*>(), nullptr);
    EXPECT_EQ(editor->findChild<gui::frmRefusedValues*>()->listText().toStdString(),
              "行\t列\t貼り付けた値\t理由\r\n3\tLx(m)\t4,5x\t数値ではないため入力できません\r\n");

    // One undo takes the whole paste back.
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(Row(*editor, 2) + "/" + Row(*editor, 3), before);

    // Cut clears the block as Delete does (a number its new-row value) and can be undone too.
    editor->setActiveCell(SheetCol::QA, 1);
    sheet->clearSelection();
    Action(*editor, "Cut")->trigger();
    EXPECT_EQ(clipboard->text().toStdString(), "10\r\n");
    EXPECT_EQ(editor->cellText(SheetCol::QA, 1), "0");
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->cellText(SheetCol::QA, 1), "10");

    // Cut over the spans keeps them (a span is never empty) and says so.
    sheet->selectionModel()->select(
        QItemSelection(sheet->model()->index(0, 4), sheet->model()->index(0, 9)),
        QItemSelectionModel::ClearAndSelect);
    Action(*editor, "mnuCut")->trigger();
    EXPECT_EQ(Row(*editor, 1), "ｹｰｽ1||0|0|0|1.5|2|0.75|1|0|-5");
    EXPECT_NE(editor->noticeText().find("Lx, Ly は空欄にできない"), std::string::npos);
}

TEST_F(EditorTest, MarkedLambdaAndTheNearestRatioCommand) {
    WriteTestSideRatios(dir.path()); // 0.5 1.0 1.5 2.0; FIX_4*4: 0.80 1.20
    FillCases(cases, 4);
    const double spans[4][2] = {{2.1, 0.5}, {3.0, 1.0}, {3.9, 1.75}, {4.5, 2.0}}; // Lx, λ; Ly 2
    for (int r = 1; r <= 4; ++r) {
        cases.cell(r, CaseCol::Lx) = Cell(spans[r - 1][0]);
        cases.cell(r, CaseCol::Lambda) = Cell(spans[r - 1][1]); // row 3: not listed
    }
    auto editor = open();
    QAbstractItemModel* model = editor->sheet()->model();
    auto lambdaCell = [&](int row) { return model->index(row - 1, 8); };
    for (int r = 1; r <= 4; ++r) {
        EXPECT_TRUE(lambdaCell(r).data(Qt::BackgroundRole).isValid()) << r;
    }
    EXPECT_EQ(lambdaCell(3).data(Qt::ToolTipRole).toString().toStdString(),
              "λ = 1.75 は計算数表にない辺長比です（最も近い計算数表の λ：2.00）");
    editor->setActiveCell(SheetCol::Lambda, 2);
    EXPECT_NE(editor->statusText(1).find("※2行目：λ = 1.00 が実辺長比 Lx/Ly = 1.50"),
              std::string::npos)
        << editor->statusText(1);

    // Rows 1 to 3 selected: one step sets each λ to the nearest tabulated ratio.
    QTableView* sheet = editor->sheet();
    sheet->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(2, 0)),
                                    QItemSelectionModel::ClearAndSelect);
    const int steps = editor->findChild<QUndoStack*>()->count();
    Action(*editor, "mnuFitLambda")->trigger();
    EXPECT_EQ(editor->findChild<QUndoStack*>()->count(), steps + 1);
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 1),
              "1"); // 1.05: exactly one step away, not marked
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 2), "1.5");
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 3), "2");
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 4), "2"); // not selected: still marked
    for (int r = 1; r <= 3; ++r) {
        EXPECT_FALSE(lambdaCell(r).data(Qt::BackgroundRole).isValid()) << r;
    }
    EXPECT_TRUE(lambdaCell(4).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(editor->statusText(1).find("※"), std::string::npos) << editor->statusText(1);
    // Changing Lx marks the row again; one undo brings back all three λ.
    TypeIntoCell(*editor, SheetCol::Lx, 2, "3.5");
    EXPECT_TRUE(lambdaCell(2).data(Qt::BackgroundRole).isValid());
    Action(*editor, "mnuUndo")->trigger();
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 1) + " " + editor->cellText(SheetCol::Lambda, 2) +
                  " " + editor->cellText(SheetCol::Lambda, 3),
              "0.5 1 1.75");
    // Lx/Ly 2.25 beyond the last ratio 2: λ becomes 2, stays marked, and the notice says why.
    sheet->selectionModel()->select(QItemSelection(model->index(3, 0), model->index(3, 0)),
                                    QItemSelectionModel::ClearAndSelect);
    Action(*editor, "mnuFitLambda")->trigger();
    EXPECT_EQ(editor->cellText(SheetCol::Lambda, 4), "2");
    EXPECT_TRUE(lambdaCell(4).data(Qt::BackgroundRole).isValid());
    EXPECT_NE(editor->noticeText().find("4行目：Lx/Ly が計算数表の辺長比の範囲の外"),
              std::string::npos)
        << editor->noticeText();
}

TEST_F(EditorTest, ConditionDialogEditsTheRowOfItsButton) {
    WriteTestSideRatios(dir.path());
    FillCases(cases, 2);
    cases.cell(2, CaseCol::Lx) = Cell(3.1); // proposal from the spans: 2.0; the row's λ is 1.5
    auto editor = open();
    bool ran = false;
    editor->setDialogRunner([&](frmInpJyoken& d) {
        ran = true;
        d.show(); // as exec() does: the dialog loads its row
        EXPECT_EQ(d.windowTitle().toStdString(), "ﾃﾞｰﾀ№2");
        EXPECT_TRUE(
            Child<QPushButton>(d, "cmdHelp")->isEnabled()); // the manual is beside the tests
        EXPECT_EQ(Child<QLineEdit>(d, "txtTitle")->text().toStdString(), "ｹｰｽ2");
        EXPECT_TRUE(Child<QRadioButton>(d, "optType_1")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "cboRamuda")->count(), 4);
        EXPECT_EQ(Child<QComboBox>(d, "cboRamuda")->currentText().toStdString(),
                  "1.5"); // kept from the row
        EXPECT_EQ(Child<gui::NumberEdit>(d, "numRamuda")->text().toStdString(), "1.55");
        EXPECT_EQ(Child<gui::NumberEdit>(d, "numQB")->text().toStdString(), "-10.00");
        Child<QRadioButton>(d, "optType_4")
            ->setChecked(true); // FIX_4*4: its own list, proposal 1.20
        Child<gui::NumberEdit>(d, "numQA")->setValue(1234.5);
        Child<QPushButton>(d, "cmdOk")->click();
    });
    editor->setActiveCell(SheetCol::Title, 1);
    QTableView* sheet = editor->sheet();
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                      sheet->visualRect(sheet->model()->index(1, 1)).center());
    ASSERT_TRUE(ran);
    EXPECT_EQ(editor->activeRow(), 2);
    EXPECT_EQ(Row(*editor, 2), "ｹｰｽ2||4|0|0|3.1|2|1.55|1.20|1234.5|-10");
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->cellText(SheetCol::TableType, 2), "1");
    EXPECT_EQ(editor->cellText(SheetCol::QA, 2), "20");

    // Cancel leaves the row as it was. After a change it asks first: No keeps
    // the dialog, Yes closes it; unchanged, Esc closes it without a question.
    const std::string row2 = Row(*editor, 2);
    editor->setDialogRunner([this](frmInpJyoken& d) {
        d.show();
        prompter.clear();
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(prompter.shown.empty());
        d.show();
        Child<gui::NumberEdit>(d, "numQA")->selectAll();
        QTest::keyClicks(Child<gui::NumberEdit>(d, "numQA"),
                         "5"); // typed, not yet taken by the field
        prompter.answers = {gui::Prompter::Answer::No, gui::Prompter::Answer::Yes};
        Child<QPushButton>(d, "cmdCancel")->click();
        EXPECT_TRUE(d.isVisible());
        Child<QRadioButton>(d, "optStyle_1")->setChecked(true);
        Child<QLineEdit>(d, "txtTitle")->setText("x");
        Child<QPushButton>(d, "cmdCancel")->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(prompter.shown.size(), 2u);
        EXPECT_EQ(d.UsrTag, "ｷｬﾝｾﾙ");
    });
    editor->openConditionDialog(2);
    EXPECT_EQ(Row(*editor, 2), row2);
}

TEST_F(EditorTest, PastesFoldedFormsIntoEveryKindOfCellAndAddsRowsInOneStep) {
    FillCases(cases, 97);
    auto editor = open();
    QTableView* sheet = editor->sheet();
    // Typed with the input method on, or copied from a sheet in full-width kana.
    QGuiApplication::clipboard()->setText(QString::fromStdString(
        "前壁（Ａ）\t\t四辺固定 "
        "４x４\t底版タイプ\t３桁\t１５０．５\t２．５\t\t１．２\t－１，２３４．５\t"
        "\u22123\r\n"
        "隔壁\t\t２\t側壁\t2\t4\t2\t\t1.5\t0\t0\r\n"
        "底版\t\tFIX_6*4\t1\t3桁\t５\t－２\t\tｘ\t0\t0\r\n"
        "頂版\t\t0\t0\t2\t1\t1\t\t1\t0\t0\r\n"));
    editor->setActiveCell(SheetCol::Title, 97);
    sheet->clearSelection();
    const int steps = editor->findChild<QUndoStack*>()->count();
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);

    // Rows 98 and 99 were added; the fourth line had no row left under the limit.
    ASSERT_EQ(editor->MaxRows(), 99);
    EXPECT_EQ(editor->findChild<QUndoStack*>()->count(), steps + 1);
    EXPECT_FALSE(Action(*editor, "mnuAdd")->isEnabled());
    // The title as typed; 150.5 out of range: Lx kept, the ratio from the new Ly.
    EXPECT_EQ(Row(*editor, 97), "前壁（Ａ）||4|1|1|97.5|2.5|39|1.2|-1234.5|-3");
    EXPECT_EQ(Row(*editor, 98), "隔壁||2|0|0|4|2|2|1.5|0|0");
    EXPECT_EQ(Row(*editor, 99), "底版||3|1|1|5|1|5|1|0|0"); // Ly -2 and λ "ｘ" refused
    const std::string list = editor->findChild<gui::frmRefusedValues*>()->listText().toStdString();
    EXPECT_EQ(
        list,
        "行\t列\t貼り付けた値\t理由\r\n"
        "97\tLx(m)\t１５０．５\t入力範囲：0.001 ～ 99.999 の範囲外のため入力できません\r\n"
        "99\tLy(m)\t－２\tLx, Ly は0より大きい値が必要なため入力できません（入力範囲：0.001 ～ "
        "99.999）\r\n"
        "99\tλ\tｘ\t数値ではないため入力できません\r\n"
        "―\t―\t1 行\t最大検討ｹｰｽ数 99 を超えるため，99行目より下には貼り付けていません\r\n");
    EXPECT_TRUE(editor->findChild<gui::frmRefusedValues*>()->isVisible());
    EXPECT_NE(editor->noticeText().find("4 件"), std::string::npos) << editor->noticeText();
    // A line of the list leads to its cell.
    QTableWidget* lines =
        test::Child<QTableWidget>(*editor->findChild<gui::frmRefusedValues*>(), "lstValues");
    emit lines->cellActivated(2, 0);
    EXPECT_EQ(editor->activeRow() * 100 + editor->activeColumn(), 99 * 100 + 9);

    // A refused choice names what the column takes.
    QGuiApplication::clipboard()->setText("底\r\n");
    editor->setActiveCell(SheetCol::PrintStyle, 1);
    sheet->clearSelection();
    Action(*editor, "mnuPaste")->trigger();
    EXPECT_NE(editor->findChild<gui::frmRefusedValues*>()->listText().toStdString().find(
                  "1\t印刷書式\t底\t選択ﾘｽﾄにない値のため入力できません（入力できるもの：側壁ﾀｲﾌﾟ，"
                  "底版ﾀｲﾌﾟ，"
                  "側壁，底版，番号 0～1）"),
              std::string::npos)
        << editor->findChild<gui::frmRefusedValues*>()->listText().toStdString();

    // One undo takes the added rows back with the values.
    Action(*editor, "mnuUndo")->trigger();
    Action(*editor, "mnuUndo")->trigger();
    EXPECT_EQ(editor->MaxRows(), 97);
    EXPECT_EQ(Row(*editor, 97), "ｹｰｽ97||1|0|0|97.5|2|48.75|1.5|970|-485");
    EXPECT_TRUE(Action(*editor, "mnuAdd")->isEnabled());

    // Typed cells fold the same way: full-width digits in a number, a short form in a choice.
    TypeIntoCell(*editor, SheetCol::QA, 1, "１２３．４");
    EXPECT_EQ(editor->cellText(SheetCol::QA, 1), "123.4");
    editor->setActiveCell(SheetCol::Decimals, 1);
    QTest::keyClick(sheet, Qt::Key_3); // a key on the cell starts its edit with that key
    auto* line = sheet->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text().toStdString(), "3");
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editor->cellText(SheetCol::Decimals, 1), "1");
    TypeIntoCell(*editor, SheetCol::Decimals, 1, "２桁");
    EXPECT_EQ(editor->cellText(SheetCol::Decimals, 1), "0");
    editor->findChild<gui::frmRefusedValues*>()->close();
}

TEST_F(EditorTest, KeyboardClearsMovesDownAndAsksBeforeThrowingEditsAway) {
    FillCases(cases, 3);
    auto editor = open();
    QTableView* sheet = editor->sheet();
    QAbstractItemModel* model = sheet->model();

    // Delete clears the selected cells as Cut does, spans kept; Backspace the active cell.
    sheet->selectionModel()->select(QItemSelection(model->index(0, 2), model->index(1, 10)),
                                    QItemSelectionModel::ClearAndSelect);
    sheet->setFocus();
    QTest::keyClick(sheet, Qt::Key_Delete);
    EXPECT_EQ(Row(*editor, 1), "ｹｰｽ1||0|0|0|1.5|2|0.75|1|0|0");
    EXPECT_EQ(Row(*editor, 2), "ｹｰｽ2||0|0|0|2.5|2|1.25|1|0|0");
    EXPECT_NE(editor->noticeText().find("Lx, Ly は空欄にできない"), std::string::npos);
    editor->setActiveCell(SheetCol::Title, 3);
    sheet->clearSelection();
    QTest::keyClick(sheet, Qt::Key_Backspace);
    EXPECT_EQ(editor->cellText(SheetCol::Title, 3), "");
    EXPECT_EQ(editor->noticeText(), "");

    // Enter moves down, after a typed value too; a refused value keeps the cell
    // and its notice, which the next valid entry removes.
    editor->setActiveCell(SheetCol::QA, 1);
    QTest::keyClick(sheet, Qt::Key_Return);
    EXPECT_EQ(editor->activeRow(), 2);
    TypeIntoCell(*editor, SheetCol::QA, 1, "5");
    EXPECT_EQ(editor->activeRow(), 2);
    TypeIntoCell(*editor, SheetCol::Lx, 1, "1-2");
    EXPECT_EQ(editor->activeRow(), 1);
    EXPECT_NE(editor->noticeText().find("数値ではない"), std::string::npos);
    TypeIntoCell(*editor, SheetCol::Lx, 1, "2");
    EXPECT_EQ(editor->noticeText(), "");
    EXPECT_EQ(editor->activeRow(), 2);

    // A new row gets the cursor: Add (also Ctrl+Shift++ and Ctrl++) and Insert.
    editor->setActiveCell(SheetCol::TableType, 1);
    QTest::keyClick(sheet, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->MaxRows(), 4);
    EXPECT_EQ(editor->activeRow() * 100 + editor->activeColumn(), 403);
    QTest::keyClick(sheet, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(editor->MaxRows(), 5);
    EXPECT_EQ(editor->activeRow(), 5);
    EXPECT_EQ(Action(*editor, "mnuAdd")->shortcut().toString(), "Ctrl+Shift++");
    editor->setActiveCell(SheetCol::Title, 2);
    Action(*editor, "mnuInsert")->trigger();
    EXPECT_EQ(editor->activeRow(), 2);
    EXPECT_EQ(editor->cellText(SheetCol::Title, 2), "(未定義)");

    // Esc with edits asks; No keeps the window. Undone to where it opened: closes unasked.
    prompter.clear();
    QTest::keyClick(sheet, Qt::Key_Escape);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(editor->isVisible());
    while (editor->findChild<QUndoStack*>()->canUndo()) {
        editor->findChild<QUndoStack*>()->undo();
    }
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_FALSE(editor->isVisible());
}

TEST(WidthFold, IsUnicodeNfkcOnWhatItFolds) {
    // Every full-width ASCII form, the ideographic space, every half-width
    // katakana, and each kana followed by a half-width (semi-)voiced mark.
    std::vector<char16_t> singles = {0x3000};
    for (char16_t c = 0xFF01; c <= 0xFF5E; ++c) {
        singles.push_back(c);
    }
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        singles.push_back(c);
    }
    std::vector<QString> texts;
    for (char16_t c : singles) {
        texts.push_back(QString(QChar(c)));
    }
    for (char16_t kana = 0x3041; kana <= 0x30FE; ++kana) {
        if (kana == 0x309B || kana == 0x309C || kana == 0x309F) {
            continue; // spacing marks and ligatures that NFKC itself decomposes
        }
        for (char16_t mark : {char16_t{0xFF9E}, char16_t{0xFF9F}}) {
            texts.push_back(QString(QChar(kana)) + QChar(mark));
        }
    }
    for (char16_t c = 0xFF66; c <= 0xFF9D; ++c) { // half-width kana with half-width marks
        texts.push_back(QString(QChar(c)) + QChar(0xFF9E));
        texts.push_back(QString(QChar(c)) + QChar(0xFF9F));
    }
    for (const QString& text : texts) {
        EXPECT_EQ(QString::fromStdString(FoldWidth(text.toStdString())),
                  text.normalized(QString::NormalizationForm_KC))
            << text.toStdString() << " U+" << std::hex << int(text.front().unicode());
    }
}
