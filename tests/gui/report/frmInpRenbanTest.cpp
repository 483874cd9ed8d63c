// The numbering dialog on its own: samples, tabs and range messages. Its
// load and save of section Chapter go through the main window
// (frmMenuMainTest).

#include "gui/report/frmInpRenban.h"
#include "../FakePrompter.h"
#include "../FindChild.h"
#include "gui/report/RangeSpinBox.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace ormavex::test {
namespace {

void LeaveField(gui::RangeSpinBox* box, const QString& typed) {
    box->findChild<QLineEdit*>()->setText(typed);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

TEST(NumberingDialog, SamplesFollowTheMethodAndMargins) {
    TempDir dir;
    FakePrompter prompter;
    gui::frmInpRenban d(dir.file("Kivet.ini"), prompter);
    d.load();
    EXPECT_EQ(d.settings().method, -1);
    EXPECT_FALSE(d.findChild<QWidget*>(QStringLiteral("cmdHelp"))->isEnabled());
    EXPECT_EQ(Child<QPlainTextEdit>(d, "txtMethod")->toPlainText(),
              QStringLiteral("○○○\n  ○○○\n    ○○○\n        ○○○\n\n○○○\n  ○○○"));

    Child<QRadioButton>(d, "optMethod2")->click();
    EXPECT_EQ(Child<QPlainTextEdit>(d, "txtMethod")->toPlainText(),
              QStringLiteral("(章)○○○\n  (章)-(節)○○○\n    (章)-(節)-(項)○○○\n"
                             "        (No)○○○\n\n(章)○○○\n  (章)-(節)○○○"));
    Child<gui::RangeSpinBox>(d, "numMargin0")->setValue(1);
    Child<gui::RangeSpinBox>(d, "numMargin1")->setValue(3);
    Child<gui::RangeSpinBox>(d, "numMargin3")->setValue(10);
    EXPECT_EQ(Child<QPlainTextEdit>(d, "txtMargin")->toPlainText(),
              QStringLiteral(" (章)○○○\n   (章)-(節)○○○\n(章)-(節)-(項)○○○\n"
                             "          (No)○○○\n\n (章)○○○\n   (章)-(節)○○○"));
    Child<QRadioButton>(d, "optMethod3")->click();
    EXPECT_TRUE(Child<QPlainTextEdit>(d, "txtMargin")
                    ->toPlainText()
                    .contains(QStringLiteral("   (章).(節)○○○")));

    // Only the selected tab's frame is enabled.
    Child<QTabWidget>(d, "TabStrip1")->setCurrentIndex(1);
    EXPECT_FALSE(d.findChild<QGroupBox*>(QStringLiteral("Frame1"))->isEnabled());
    EXPECT_TRUE(d.findChild<QGroupBox*>(QStringLiteral("Frame2"))->isEnabled());
    EXPECT_FALSE(d.findChild<QGroupBox*>(QStringLiteral("Frame3"))->isEnabled());
    d.reject();
}

TEST(NumberingDialog, OutOfRangeValuesAreRefused) {
    TempDir dir;
    FakePrompter prompter;
    gui::frmInpRenban d(dir.file("Kivet.ini"), prompter);
    int saves = 0;
    QObject::connect(&d, &gui::frmInpRenban::SaveData, [&](bool*) { ++saves; });
    d.load();

    LeaveField(Child<gui::RangeSpinBox>(d, "numMargin2"), QStringLiteral("11"));
    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "入力範囲：0 ～ 10");
    EXPECT_EQ(prompter.shown[0].icon, Message::Icon::Information);
    EXPECT_EQ(Child<QTabWidget>(d, "TabStrip1")->currentIndex(),
              2); // the field's tab is shown again

    // OK refuses it too, without saving.
    d.cmdOk_Click();
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(prompter.shown.size(), 2u);

    LeaveField(Child<gui::RangeSpinBox>(d, "numMargin2"), QStringLiteral("10"));
    LeaveField(Child<gui::RangeSpinBox>(d, "numInit"), QStringLiteral("100"));
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[2].text, "入力範囲：0 ～ 99");
    LeaveField(Child<gui::RangeSpinBox>(d, "numInit"), QStringLiteral("99"));
    EXPECT_EQ(prompter.shown.size(), 3u);

    // The arrows stay inside the range.
    Child<gui::RangeSpinBox>(d, "numMargin0")->setValue(10);
    Child<gui::RangeSpinBox>(d, "numMargin0")->stepBy(1);
    EXPECT_EQ(Child<gui::RangeSpinBox>(d, "numMargin0")->value(), 10);

    d.cmdOk_Click();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

} // namespace
} // namespace ormavex::test
