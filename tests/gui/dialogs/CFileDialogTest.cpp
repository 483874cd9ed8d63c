// The file dialog: its filters, its open and save behaviours, and what it
// hands back when confirmed or cancelled.

#include "dialogs/CFileDialog.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace ormavex::test {
namespace {

using gui::CFileDialog;

// Answers the next modal file dialog: types `name` and confirms, or cancels
// when `name` is empty.
void AnswerNextDialog(const QString& name) {
    QTimer::singleShot(0, [name] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        if (name.isEmpty()) {
            d->reject();
            return;
        }
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        static_cast<QDialog*>(d)->accept(); // as the dialog's own button does
    });
}

TEST(CFileDialog, FiltersAndBehavioursFollowTheProperties) {
    CFileDialog dlg;
    dlg.Filter = "入力ﾃﾞｰﾀ(*.kvt)|*.kvt|テキスト|*.txt;*.csv|すべて|*.*";
    dlg.FilterIndex = 2;
    dlg.DefaultExt = ".kvt";
    dlg.Flags = 6148;
    const QStringList filters = CFileDialog::NameFilters(dlg.Filter);
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QStringLiteral("入力ﾃﾞｰﾀ(*.kvt)"));
    EXPECT_EQ(filters[1], QStringLiteral("テキスト (*.txt *.csv)"));

    auto open = dlg.CreateDialog(true);
    EXPECT_EQ(open->selectedNameFilter(), filters[1]);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);

    dlg.Flags = 6150;
    auto save = dlg.CreateDialog(false);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->defaultSuffix(), QStringLiteral("kvt"));
    EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(CFileDialog, SaveAppendsTheExtensionAndCancelKeepsTheName) {
    TempDir dir;
    CFileDialog dlg;
    dlg.Filter = "入力ﾃﾞｰﾀ(*.kvt)|*.kvt";
    dlg.DefaultExt = ".kvt";
    dlg.Flags = 6150;
    dlg.InitialDir = dir.path();
    dlg.FileName = "before";

    AnswerNextDialog(QString());
    EXPECT_FALSE(dlg.Show(false));
    EXPECT_EQ(dlg.FileName, "before");

    AnswerNextDialog(QStringLiteral("plan"));
    ASSERT_TRUE(dlg.Show(false));
    EXPECT_EQ(dlg.FileName, dir.file("plan.kvt"));
    EXPECT_EQ(dlg.FileTitle, "plan.kvt");
}

} // namespace
} // namespace ormavex::test
