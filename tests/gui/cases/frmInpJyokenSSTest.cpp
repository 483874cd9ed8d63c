// The case table editor driven as a user drives it: rows, cells, clipboard,
// undo, the condition dialog and the hand-over to the case table.
#include "CasesTestSupport.h"

#include "app/CPrivateProfile.h"
#include "cases/CaseSheetModel.h"
#include "cases/NumberEdit.h"
#include "cases/frmInpJyoken.h"
#include "project/basIO.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace ormavex;
using namespace ormavex::test;

namespace {

/// Types `text` into a cell and leaves it with Enter, as a user does.
void TypeIntoCell(frmInpJyokenSS& editor, int column, int row, const QString& text) {
    editor.setActiveCell(column, row);
    QTableView* sheet = editor.vaSpread1();
    sheet->edit(sheet->currentIndex());
    auto* edit = sheet->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    // Enter commits and closes the editor at the next turn of the event loop.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::string Row(const frmInpJyokenSS& editor, int row) {
    std::string s;
    for (int c = 1; c <= SheetColumns; ++c) {
        s += (c > 1 ? "|" : "") + editor.cellText(c, row);
    }
    return s;
}

class EditorTest : public ::testing::Test {
protected:
    TempDir dir;
    CaseTable cases;
};

} // namespace

TEST_F(EditorTest, InsertsAndDeletesRowsAtTheActiveCell) {
    FillCases(cases, 5);
    auto editor = OpenEditor(cases, dir);
    ASSERT_EQ(editor->MaxRows(), 5);
    EXPECT_EQ(editor->activeRow(), 1);
    EXPECT_EQ(editor->statusText(2), "※ 同時に計算可能な最大検討ｹｰｽ数：99");
    const std::string row3 = Row(*editor, 3);
    const std::string row5 = Row(*editor, 5);

    editor->setActiveCell(6, 3);
    Action(*editor, "Insert")->trigger();  // the toolbar button
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
    auto editor = OpenEditor(cases, dir);
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
    auto full = OpenEditor(cases, dir);
    EXPECT_TRUE(Action(*full, "Add")->isEnabled());
    Action(*full, "Add")->trigger();
    EXPECT_EQ(full->MaxRows(), 99);
}

TEST_F(EditorTest, TypedSpansSetTheRatioAndRefusedValuesAreNamed) {
    FillCases(cases, 2);
    auto editor = OpenEditor(cases, dir);
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
    EXPECT_NE(editor->noticeText().find("1行目「Lx(m)」「100」"), std::string::npos) << editor->noticeText();
    EXPECT_NE(editor->noticeText().find("0 ～ 99.999"), std::string::npos);
    TypeIntoCell(*editor, 10, 2, "1-2");
    EXPECT_EQ(editor->cellText(10, 2), "20");
    EXPECT_NE(editor->noticeText().find("「1-2」"), std::string::npos);

    // A double quote cannot be typed into a title (a project file cannot hold it).
    TypeIntoCell(*editor, 1, 2, "A\"B");
    EXPECT_EQ(editor->cellText(1, 2), "AB");
    EXPECT_NE(editor->noticeText().find("「\"」"), std::string::npos);

    // Undo and redo, step by step, with the keys of any spreadsheet.
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier);  // the title
    EXPECT_EQ(editor->cellText(1, 2), "ｹｰｽ2");
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier);  // Ly 0
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Z, Qt::ControlModifier);  // Ly 4
    EXPECT_EQ(editor->cellText(7, 1), "2");
    EXPECT_EQ(editor->cellText(8, 1), "1");  // 2 / 2
    QTest::keyClick(editor->vaSpread1(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor->cellText(8, 1), "0.5");
}

TEST_F(EditorTest, StatusBarHintFollowsTheActiveCell) {
    FillCases(cases, 1);
    auto editor = OpenEditor(cases, dir);
    const std::pair<int, std::string> hints[] = {
        {1, "入力範囲：40ﾊﾞｲﾄ以内の文字列"}, {2, ""}, {3, "入力範囲：(選択ﾘｽﾄ一覧より選択)"},
        {7, "入力範囲：0 ～ 99.999"}, {9, "入力範囲：0 ～ 9.99"}, {11, "入力範囲：-9999.99 ～ 9999.99"}};
    for (const auto& [column, hint] : hints) {
        editor->setActiveCell(column, 1);
        EXPECT_EQ(editor->statusText(1), hint) << column;
    }
}

TEST_F(EditorTest, CopiesAndPastesSpreadsheetBlocks) {
    FillCases(cases, 3);
    auto editor = OpenEditor(cases, dir);
    QClipboard* clipboard = QGuiApplication::clipboard();

    // Nothing selected: exactly the active cell.
    editor->setActiveCell(3, 2);
    editor->vaSpread1()->clearSelection();
    QTest::keyClick(editor->vaSpread1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "三辺固定一辺自由版（６×４）\r\n");

    // A block: visible texts of the choices, plain decimals, CR LF rows.
    auto* sheet = editor->vaSpread1();
    sheet->selectionModel()->select(QItemSelection(sheet->model()->index(0, 0), sheet->model()->index(1, 5)),
                                    QItemSelectionModel::ClearAndSelect);
    Action(*editor, "Copy")->trigger();
    EXPECT_EQ(clipboard->text().toStdString(),
              "ｹｰｽ1\t\t三辺固定一辺自由版（８×４）\t側壁ﾀｲﾌﾟ\t２桁\t1.5\r\n"
              "ｹｰｽ2\t\t三辺固定一辺自由版（６×４）\t側壁ﾀｲﾌﾟ\t２桁\t2.5\r\n");

    // A block from a spreadsheet with one bad value: the rest is pasted, the bad one named.
    const std::string before = Row(*editor, 2) + "/" + Row(*editor, 3);
    clipboard->setText(QString::fromStdString(
        "前壁\t\t四辺固定版（４×４）\t底版ﾀｲﾌﾟ\t３桁\t3.25\t1.3\r\n"
        "隔壁\t\t四辺固定版（８×４）\t側壁ﾀｲﾌﾟ\t２桁\t4,5x\t2.5\r\n"));
    editor->setActiveCell(1, 2);
    sheet->clearSelection();
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(*editor, 2), "前壁||4|1|1|3.25|1.3|2.5|1.5|20|-10");
    EXPECT_EQ(Row(*editor, 3), "隔壁||2|0|0|3.5|2.5|1.4|1.5|30|-15");  // Lx refused: kept
    EXPECT_NE(editor->noticeText().find("3行目「Lx(m)」「4,5x」"), std::string::npos) << editor->noticeText();

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

TEST_F(EditorTest, HandsTheSheetOverOnOkOnly) {
    // OK with an empty sheet: no cases.
    FillCases(cases, 2);
    {
        auto editor = OpenEditor(cases, dir);
        editor->setActiveCell(1, 1);
        editor->mnuDelete_Click();
        editor->mnuDelete_Click();
        editor->mnuDelete_Click();  // no row left: nothing happens
        editor->findChild<QPushButton*>("cmdOk")->click();
        EXPECT_EQ(editor->UsrTag(), "OK");
        EXPECT_EQ(cases.CaseCount, 0);
    }
    // Cancel: the case table is untouched, whatever was done.
    FillCases(cases, 3);
    const CaseTable original = cases;
    {
        auto editor = OpenEditor(cases, dir);
        TypeIntoCell(*editor, 6, 1, "7.5");
        editor->mnuAdd_Click();
        editor->findChild<QPushButton*>("cmdCancel")->click();
        EXPECT_EQ(editor->UsrTag(), "ｷｬﾝｾﾙ");
    }
    EXPECT_EQ(cases.CaseCount, 3);
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= CaseColumns; ++c) {
            EXPECT_EQ(cases.cell(r, c), original.cell(r, c)) << r << "," << c;
        }
    }
    // The window's place was kept, in twips.
    EXPECT_GT(CPrivateProfile::GetValueLong(dir.file("Kivet.ini"), "InpJyokenSS", "Width"), 0);
}

TEST_F(EditorTest, ConditionDialogEditsTheRowOfItsButton) {
    WriteTestSideRatios(dir.path());
    FillCases(cases, 2);
    cases.cell(2, 5) = Cell(3.1);  // proposal from the spans: 2.0; the row's λ is 1.5
    auto editor = OpenEditor(cases, dir);
    bool ran = false;
    editor->setDialogRunner([&](frmInpJyoken& d) {
        ran = true;
        d.show();  // as exec() does: the dialog loads its row
        EXPECT_EQ(d.windowTitle().toStdString(), "ﾃﾞｰﾀ№2");
        EXPECT_FALSE(d.cmdHelp()->isEnabled());
        EXPECT_EQ(d.txtTitle()->text().toStdString(), "ｹｰｽ2");
        EXPECT_TRUE(d.optType(1)->isChecked());
        EXPECT_EQ(d.cboRamuda()->count(), 4);
        EXPECT_EQ(d.cboRamuda()->currentText().toStdString(), "1.5");  // kept from the row
        EXPECT_EQ(d.numRamuda()->text().toStdString(), "1.55");
        EXPECT_EQ(d.numQB()->text().toStdString(), "-10.00");
        d.optType(4)->setChecked(true);  // FIX_4*4: its own list, proposal 1.20
        d.numQA()->setValue(1234.5);
        d.cmdOk()->click();
    });
    editor->setActiveCell(1, 1);
    QTableView* sheet = editor->vaSpread1();
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, sheet->visualRect(sheet->model()->index(1, 1)).center());
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

TEST_F(EditorTest, SampleProjectThroughTheEditorChangesOnlyTheEditedSpan) {
    std::int32_t code = 0;
    const std::string sample = ORMAVEX_SOURCE_DIR "/examples/caisson-A.kvt";
    ASSERT_TRUE(ReadInputFile(cases, sample, code));
    {
        auto editor = OpenEditor(cases, dir);
        TypeIntoCell(*editor, 6, 2, "3.85");
        editor->findChild<QPushButton*>("cmdOk")->click();
    }
    ASSERT_TRUE(WriteInputFile(cases, dir.file("out.kvt"), code));
    CaseTable back;
    ASSERT_TRUE(ReadInputFile(back, dir.file("out.kvt"), code));
    EXPECT_DOUBLE_EQ(back.cell(2, 5).toNumber(), 3.85);
    EXPECT_DOUBLE_EQ(back.cell(2, 7).toNumber(), 3.85 / 4.6);  // Lx/Ly follows the span

    // Line by line, only the span and the ratio of case 2 differ.
    auto lines = [](const std::string& bytes) {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
            out.push_back(bytes.substr(start, end - start));
        }
        return out;
    };
    const auto before = lines(ReadBytes(sample));
    const auto after = lines(ReadBytes(dir.file("out.kvt")));
    ASSERT_EQ(before.size(), after.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changed.push_back(before[i] + " -> " + after[i]);
        }
    }
    EXPECT_EQ(changed, (std::vector<std::string>{"3.8 -> 3.85", "0.826086956521739 -> 0.83695652173913"}));
}
