// The file dialog: its filters, its open and save behaviours, and what it
// hands back when confirmed or cancelled.

#include "gui/dialogs/CFileDialog.h"
#include "../ModalDriver.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace ormavex::test {
namespace {

using gui::CFileDialog;

// Answers the next modal file dialog: types `name` and confirms, or cancels
// when `name` is empty.
void AnswerNextDialog(const QString& name) {
    OnNextModal([name](QWidget* modal) {
        auto* d = qobject_cast<QFileDialog*>(modal);
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

// The list shows a file's size, type and date whole, in Japanese formats
// (the test main sets the locale up as the programs do, under any LANG).
TEST(CFileDialog, ListShowsSizeTypeAndDateWhole) {
    TempDir dir;
    WriteBytes(dir.file("a-long-project-name-for-the-harbour-study.kvt"), std::string(36, 'x'));
    CFileDialog dlg;
    dlg.Filter = "入力ﾃﾞｰﾀ(*.kvt)|*.kvt";
    dlg.InitialDir = dir.path();
    auto d = dlg.CreateDialog(true);
    d->show();
    auto* tree = d->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(tree, nullptr);
    QAbstractItemModel* model = tree->model();
    for (int i = 0; i < 200 && model->rowCount(tree->rootIndex()) < 1; ++i) {
        QTest::qWait(10); // the folder is read in the background
    }
    ASSERT_EQ(model->rowCount(tree->rootIndex()), 1);
    QTest::qWait(50);
    const QString date = model->index(0, 3, tree->rootIndex()).data().toString();
    EXPECT_TRUE(date.startsWith(QString::number(QDate::currentDate().year()) + u'/'))
        << date.toStdString(); // "2026/12/08 20:31", not "12/8/26 8:31 PM"
    for (int column = 1; column <= 3; ++column) {
        const QString text = model->index(0, column, tree->rootIndex()).data().toString();
        EXPECT_GE(tree->header()->sectionSize(column), tree->fontMetrics().horizontalAdvance(text))
            << "column " << column << " cuts \"" << text.toStdString() << "\"";
    }
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
