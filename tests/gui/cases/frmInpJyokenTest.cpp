// The case condition dialog on its own: the λ proposal, the decimal switch,
// the range message and the list when the side-ratio file is missing.
#include "CasesTestSupport.h"

#include "gui/cases/NumberEdit.h"
#include "gui/cases/frmInpJyoken.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace ormavex;
using namespace ormavex::test;
using gui::frmInpJyoken;
using gui::NumberEdit;

namespace {

/// The dialog with LoadRamuda answered from the side-ratio list of `folder`.
struct Dialog {
    explicit Dialog(const TempDir& dir) : d(dir.file("Kivet.ini"), prompter) {
        QObject::connect(&d, &frmInpJyoken::LoadRamuda, &d, [this, &dir](short& index) {
            d.setLambdaItems(LoadSideRatioList(SideRatioListPath(dir.path()), index));
        });
    }
    void show() {
        d.show();
        QApplication::setActiveWindow(&d);
        (void)QTest::qWaitForWindowActive(&d);
    }
    std::string lambda() const {
        return Child<QComboBox>(d, "cboRamuda")->currentText().toStdString();
    }

    FakePrompter prompter; // answers the range message
    frmInpJyoken d;
};

} // namespace

TEST(frmInpJyoken, ProposesTheNextTabulatedLambda) {
    TempDir dir;
    WriteTestSideRatios(dir.path());
    Dialog t(dir);
    t.show();
    Child<QRadioButton>(t.d, "optType_0")->setChecked(true);
    ASSERT_EQ(Child<QComboBox>(t.d, "cboRamuda")->count(), 4);
    const struct {
        double lx, ly;
        const char* ratio;
        const char* lambda;
    } cases[] = {{3, 2, "1.50", "1.5"},
                 {3.1, 2, "1.55", "2.0"},
                 {5, 2, "2.50", "2.0"},
                 {5, 0.001, "0.00", "0.5"}};
    for (const auto& c : cases) {
        Child<NumberEdit>(t.d, "numLx")->setValue(c.lx);
        Child<NumberEdit>(t.d, "numLy")->setValue(c.ly);
        EXPECT_EQ(Child<NumberEdit>(t.d, "numRamuda")->text().toStdString(), c.ratio)
            << c.lx << "/" << c.ly;
        EXPECT_EQ(t.lambda(), c.lambda) << c.lx << "/" << c.ly;
    }
    // Another table type replaces the list and proposes from it.
    Child<NumberEdit>(t.d, "numLy")->setValue(2);
    Child<QRadioButton>(t.d, "optType_4")->setChecked(true);
    EXPECT_EQ(Child<QComboBox>(t.d, "cboRamuda")->count(), 2);
    EXPECT_EQ(t.lambda(), "1.20");

    // A long list (the real ones hold up to 75 ratios) drops down with about
    // 20 at a time and scrolls, also while the λ is marked.
    QComboBox* list = Child<QComboBox>(t.d, "cboRamuda");
    for (int i = 0; i < 75; ++i) {
        list->addItem(QString::number(0.3 + 0.05 * i, 'f', 2));
    }
    for (const double lx : {2.4, 9.0}) { // λ 1.20 fits, then is marked
        Child<NumberEdit>(t.d, "numLx")->setValue(lx);
        list->showPopup();
        const int rows = list->view()->height() / list->view()->sizeHintForRow(0);
        EXPECT_GE(rows, 15) << lx;
        EXPECT_LE(rows, 21) << lx;
        list->hidePopup();
    }
    EXPECT_FALSE(Child<QLabel>(t.d, "lblLambdaNote")->text().isEmpty());
}

TEST(frmInpJyoken, SwitchingToTwoPlacesRoundsHalfToEven) {
    TempDir dir;
    Dialog t(dir);
    t.show();
    Child<QRadioButton>(t.d, "optKeta_1")->setChecked(true);
    ASSERT_TRUE(Child<NumberEdit>(t.d, "numLx")->setValue(1.234));
    ASSERT_TRUE(Child<NumberEdit>(t.d, "numLy")->setValue(1.225));
    EXPECT_EQ(Child<NumberEdit>(t.d, "numLx")->text().toStdString(), "1.234");
    Child<QRadioButton>(t.d, "optKeta_0")->setChecked(true);
    EXPECT_DOUBLE_EQ(Child<NumberEdit>(t.d, "numLx")->Value(), 1.23);
    EXPECT_DOUBLE_EQ(Child<NumberEdit>(t.d, "numLy")->Value(), 1.22);
    EXPECT_EQ(Child<NumberEdit>(t.d, "numLx")->text().toStdString(), "1.23");
    EXPECT_DOUBLE_EQ(Child<NumberEdit>(t.d, "numLx")->MaxValue(), 99.99);
    Child<QRadioButton>(t.d, "optKeta_1")->setChecked(true);
    EXPECT_DOUBLE_EQ(Child<NumberEdit>(t.d, "numLx")->Value(), 1.23);
    EXPECT_EQ(Child<NumberEdit>(t.d, "numLx")->text().toStdString(), "1.230");
}

TEST(frmInpJyoken, TypedValueOutOfRangeIsReportedAndTheFocusReturns) {
    TempDir dir;
    Dialog t(dir);
    t.show();
    Child<QRadioButton>(t.d, "optKeta_0")->setChecked(true);
    Child<NumberEdit>(t.d, "numLx")->setValue(4.5);
    NumberEdit* lx = Child<NumberEdit>(t.d, "numLx");
    lx->setFocus();
    QTest::keyClicks(lx, "100");
    QTest::keyClick(lx, Qt::Key_Return); // Enter moves on as Tab does, and leaves the field
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_EQ(t.prompter.shown[0].text, "入力範囲：0.00 ～ 99.99");
    EXPECT_EQ(t.prompter.shown[0].icon, Message::Icon::Information);
    EXPECT_EQ(t.prompter.beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), lx);
    EXPECT_DOUBLE_EQ(lx->Value(), 4.5);

    // A value in range is taken, and Enter goes to the next field.
    lx->selectAll();
    QTest::keyClicks(lx, "12.5");
    QTest::keyClick(lx, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(lx->Value(), 12.5);
    EXPECT_EQ(QApplication::focusWidget(), Child<NumberEdit>(t.d, "numLy"));

    NumberEdit* qa = Child<NumberEdit>(t.d, "numQA");
    qa->setFocus();
    QTest::keyClicks(qa, "-10000");
    QTest::keyClick(qa, Qt::Key_Tab);
    ASSERT_EQ(t.prompter.shown.size(), 2u);
    EXPECT_EQ(t.prompter.shown[1].text, "入力範囲：-9,999.99 ～ 9,999.99");
    EXPECT_EQ(QApplication::focusWidget(), qa);
}

TEST(frmInpJyoken, MissingSideRatioListLeavesTheDialogUsable) {
    TempDir dir; // no 計算数表.ini
    Dialog t(dir);
    bool saved = false;
    QObject::connect(&t.d, &frmInpJyoken::SaveData, &t.d, [&](bool&) { saved = true; });
    t.show();
    Child<QRadioButton>(t.d, "optType_2")->setChecked(true);
    Child<NumberEdit>(t.d, "numLx")->setValue(3);
    Child<NumberEdit>(t.d, "numLy")->setValue(2);
    EXPECT_EQ(Child<QComboBox>(t.d, "cboRamuda")->count(), 0);
    EXPECT_EQ(Child<NumberEdit>(t.d, "numRamuda")->text().toStdString(), "1.50");
    Child<QPushButton>(t.d, "cmdOk")->click();
    EXPECT_TRUE(saved);
    EXPECT_EQ(t.d.UsrTag, "OK");
}

TEST(frmInpJyoken, SpansAboveZeroAndTheMarkedLambda) {
    TempDir dir;
    WriteTestSideRatios(dir.path());
    Dialog t(dir);
    bool saved = false;
    QObject::connect(&t.d, &frmInpJyoken::SaveData, &t.d, [&](bool&) { saved = true; });
    t.show();
    Child<QRadioButton>(t.d, "optType_0")->setChecked(true);
    Child<NumberEdit>(t.d, "numLx")->setValue(3);
    Child<NumberEdit>(t.d, "numLy")->setValue(2);
    EXPECT_TRUE(
        Child<QLabel>(t.d, "lblLambdaNote")->text().isEmpty()); // the proposal 1.5 suits 1.50

    // 0, nothing and a negative span are refused with the reason; the field keeps its value.
    NumberEdit* ly = Child<NumberEdit>(t.d, "numLy");
    for (const char* bad : {"0", "", "-1"}) {
        t.prompter.clear();
        ly->setFocus();
        ly->selectAll();
        QTest::keyClicks(ly, bad);
        if (std::string(bad).empty()) {
            QTest::keyClick(ly, Qt::Key_Delete);
        }
        QTest::keyClick(ly, Qt::Key_Tab);
        ASSERT_EQ(t.prompter.shown.size(), 1u) << bad;
        EXPECT_EQ(t.prompter.shown[0].text,
                  "Ｌy は0より大きい値でなければなりません。\n入力範囲：0.01 ～ 99.99")
            << bad;
        EXPECT_DOUBLE_EQ(ly->Value(), 2.0) << bad;
        EXPECT_EQ(QApplication::focusWidget(), ly) << bad;
    }

    // A stale λ from the row is marked beside the list, with the reason.
    ASSERT_TRUE(t.d.selectLambda("2.0"));
    EXPECT_EQ(Child<QLabel>(t.d, "lblLambdaNote")->text().toStdString(),
              "※λ = 2.00 が実辺長比 Lx/Ly = 1.50 と 0.05 を超えて違います"
              "（最も近い計算数表の λ：1.50）");
    // A λ the list does not hold: the list shows another, and the note says which OK writes.
    EXPECT_FALSE(t.d.selectLambda("0.93"));
    EXPECT_EQ(Child<QLabel>(t.d, "lblLambdaNote")->text().toStdString(),
              "ﾃﾞｰﾀ行の λ = 0.93 は計算数表にない辺長比です。OK で一覧の λ = 2.0 に置き換えます");

    // A span of 0 that came with the row is not written back by OK.
    t.prompter.clear();
    ASSERT_TRUE(Child<NumberEdit>(t.d, "numLx")->setValue(0));
    Child<QPushButton>(t.d, "cmdOk")->click();
    EXPECT_FALSE(saved);
    ASSERT_EQ(t.prompter.shown.size(), 1u);
    EXPECT_NE(t.prompter.shown[0].text.find("Ｌx は0より大きい値"), std::string::npos);
    t.d.reject();
}
