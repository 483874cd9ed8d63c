// The user manual and the help window: every link and image of the manual
// (as the build puts it beside the program) resolves, F1 in each window opens
// the page named for it, and the help window's contents, history and search
// work over the real pages.

#include "../FakePrompter.h"
#include "../FindChild.h"
#include "../ModalDriver.h"
#include "core/project/ProjectLoad.h"
#include "gui/cases/frmInpJyoken.h"
#include "gui/cases/frmInpJyokenSS.h"
#include "gui/cases/frmRefusedValues.h"
#include "gui/common/AppPaths.h"
#include "gui/common/AppState.h"
#include "gui/help/HelpKey.h"
#include "gui/help/HelpWindow.h"
#include "gui/main/frmAbout.h"
#include "gui/main/frmMenuMain.h"
#include "gui/report/frmInpRenban.h"
#include "gui/report/frmMenuPrint.h"
#include "gui/report/frmResults.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ormavex::test {
namespace {

const QString kManual = QStringLiteral(ORMAVEX_BIN_DIR "/manual");

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool HasAnchor(const QString& html, const QString& anchor) {
    return html.contains(QStringLiteral("name=\"%1\"").arg(anchor)) ||
           html.contains(QStringLiteral("id=\"%1\"").arg(anchor));
}

TEST(Manual, EveryLinkAndImageResolvesAndEveryPageIsInTheContents) {
    const QStringList pages =
        QDir(kManual).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_GE(pages.size(), 15) << kManual.toStdString();
    // Every page of the source is in the build's manual folder.
    for (const QString& page : QDir(QStringLiteral(ORMAVEX_SOURCE_DIR "/docs/manual"))
                                   .entryList({QStringLiteral("*.html")}, QDir::Files)) {
        EXPECT_TRUE(pages.contains(page)) << page.toStdString() << " not copied";
    }
    const QRegularExpression ref(QStringLiteral("(href|src)=\"([^\"]*)\""));
    QStringList broken;
    QStringList linked;
    for (const QString& page : pages) {
        const QString html = ReadText(kManual + QLatin1Char('/') + page);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (auto it = ref.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(2);
            if (target.startsWith(QStringLiteral("http://")) ||
                target.startsWith(QStringLiteral("https://"))) {
                continue;
            }
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? target : target.left(hash);
            const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
            const QString path = file.isEmpty() ? kManual + QLatin1Char('/') + page
                                                : kManual + QLatin1Char('/') + file;
            if (!QFileInfo(path).isFile()) {
                broken << page + QStringLiteral(": ") + target;
            } else if (!anchor.isEmpty() && !HasAnchor(ReadText(path), anchor)) {
                broken << page + QStringLiteral(": ") + target + QStringLiteral(" (no anchor)");
            }
            if (page == QStringLiteral("index.html")) {
                linked << file;
            }
        }
    }
    EXPECT_TRUE(broken.isEmpty()) << broken.join(QLatin1Char('\n')).toStdString();
    for (const QString& page : pages) {
        EXPECT_TRUE(page == QStringLiteral("index.html") || linked.contains(page))
            << page.toStdString() << " is not in the contents";
    }
}

class HelpTest : public ::testing::Test {
protected:
    HelpTest() {
        gui::InstallHelpKey(*qApp, ORMAVEX_BIN_DIR);
        paths.programFolder = ORMAVEX_BIN_DIR;
        paths.settingsFile = dir.file("Kivet.ini");
        paths.userDataFolder = dir.path();
        state.dataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";
        state.report.lists.folder = dir.path();
    }
    ~HelpTest() override {
        if (gui::HelpWindow* help = gui::CurrentHelpWindow()) {
            help->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// F1 pressed in `widget`: the page and anchor the help window shows.
    static std::string PressF1(QWidget* widget) {
        QTest::keyClick(widget, Qt::Key_F1);
        const gui::HelpWindow* help = gui::CurrentHelpWindow();
        if (help == nullptr || !help->isVisible()) {
            return "(no help window)";
        }
        EXPECT_TRUE(help->windowTitle().contains(QStringLiteral("ヘルプ")));
        EXPECT_FALSE(help->browser()->documentTitle().isEmpty()); // the page was read
        const QString anchor = help->currentAnchor();
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(HasAnchor(help->browser()->toHtml(), anchor) ||
                        HasAnchor(ReadText(kManual + "/" + help->currentPage()), anchor));
        }
        return (help->currentPage() + (anchor.isEmpty() ? QString() : "#" + anchor)).toStdString();
    }

    TempDir dir;
    gui::AppPaths paths;
    AppState state;
    FakePrompter prompter;
};

TEST_F(HelpTest, F1InEachWindowOpensItsPage) {
    struct Case {
        const char* window;
        std::function<std::unique_ptr<QWidget>()> make;
        const char* page;
    };
    const Case cases[] = {
        {"main window", [&] { return std::make_unique<gui::frmMenuMain>(state, paths, prompter); },
         "main-window.html"},
        {"case table editor",
         [&] {
             return std::make_unique<gui::frmInpJyokenSS>(paths.settingsFile, state.dataFolder,
                                                          prompter);
         },
         "case-editor.html"},
        {"condition dialog",
         [&] { return std::make_unique<gui::frmInpJyoken>(paths.settingsFile, prompter); },
         "case-dialog.html"},
        {"numbering dialog",
         [&] { return std::make_unique<gui::frmInpRenban>(paths.settingsFile, prompter); },
         "numbering.html"},
        {"print menu", [&] { return std::make_unique<gui::frmMenuPrint>(state, paths, prompter); },
         "print-menu.html"},
        {"About box", [&] { return std::make_unique<gui::frmAbout>(paths, prompter); },
         "main-window.html#about"},
        {"help window", [&] { return std::make_unique<gui::HelpWindow>(kManual); },
         "help-window.html"},
        {"results window",
         [&] {
             return std::make_unique<gui::frmResults>(state.cases, state.calc, state.dataFolder,
                                                      paths.settingsFile, "", prompter);
         },
         "results.html"},
        {"refusal list", [&] { return std::make_unique<gui::frmRefusedValues>(); },
         "case-editor.html#paste"},
        {"file dialog",
         [&] {
             auto d = std::make_unique<QFileDialog>();
             d->setOption(QFileDialog::DontUseNativeDialog);
             return d;
         },
         "main-window.html#file-dialog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        std::unique_ptr<QWidget> window = c.make();
        window->show();
        // The key reaches the window through whichever of its widgets has the focus.
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.get();
        EXPECT_EQ(PressF1(target), c.page);
        window->close();
    }
}

TEST_F(HelpTest, F1InAMessageBoxOpensThePageOfItsWindow) {
    gui::frmInpJyokenSS editor(paths.settingsFile, state.dataFolder, prompter);
    editor.show();
    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok, &editor);
    box.show();
    EXPECT_EQ(PressF1(&box), "case-editor.html");
    // A window the manual does not know opens the contents.
    QWidget stray;
    stray.show();
    EXPECT_EQ(PressF1(&stray), "index.html");
}

TEST_F(HelpTest, HelpButtonsAndTheHelpMenuOpenTheirPages) {
    ASSERT_TRUE(
        LoadProject(state.cases, std::string(ORMAVEX_SOURCE_DIR) + "/examples/caisson-A.kvt").ok);
    gui::frmMenuMain main(state, paths, prompter);
    main.show();
    // The Help button of the modal window its opener shows, pressed: the page.
    auto pressHelp = [](QWidget* window) -> std::string {
        auto* help = window ? window->findChild<QPushButton*>(QStringLiteral("cmdHelp")) : nullptr;
        if (help == nullptr || !help->isEnabled()) {
            return "(Help disabled)";
        }
        help->click();
        const gui::HelpWindow* h = gui::CurrentHelpWindow();
        return h ? h->currentPage().toStdString() : "(no help window)";
    };
    std::string editorPage, dialogPage, numberingPage, printPage;
    OnNextModal(&main, [&](QWidget* modal) {
        auto* editor = qobject_cast<gui::frmInpJyokenSS*>(modal);
        ASSERT_NE(editor, nullptr);
        editorPage = pressHelp(editor);
        editor->setDialogRunner([&](gui::frmInpJyoken& d) {
            d.show();
            dialogPage = pressHelp(&d);
            d.reject();
        });
        editor->openConditionDialog(1);
        editor->reject();
    });
    Child<QPushButton>(main, "cmdMenu0")->click();
    OnNextModal(
        &main, [&](QWidget* d) { numberingPage = pressHelp(qobject_cast<gui::frmInpRenban*>(d)); });
    Child<QPushButton>(main, "cmdMenu2")->click();
    OnNextModal(&main,
                [&](QWidget* d) { printPage = pressHelp(qobject_cast<gui::frmMenuPrint*>(d)); });
    Child<QPushButton>(main, "cmdMenu1")->click();
    EXPECT_EQ(editorPage, "case-editor.html");
    EXPECT_EQ(dialogPage, "case-dialog.html");
    EXPECT_EQ(numberingPage, "numbering.html");
    EXPECT_EQ(printPage, "print-menu.html");

    // The Help menu: the contents, and the About box.
    main.findChild<QAction*>(QStringLiteral("mnuHelpContents"))->trigger();
    ASSERT_NE(gui::CurrentHelpWindow(), nullptr);
    EXPECT_EQ(gui::CurrentHelpWindow()->currentPage().toStdString(), "index.html");
    bool aboutShown = false;
    OnNextModal(&main,
                [&](QWidget* d) { aboutShown = qobject_cast<gui::frmAbout*>(d) != nullptr; });
    main.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
    EXPECT_TRUE(aboutShown);
    main.setEditedFlag(false); // closing asks nothing
}

TEST_F(HelpTest, ContentsHistoryAndSearch) {
    gui::HelpWindow* help = gui::ShowHelp(QString());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentPage().toStdString(), "index.html");
    // The contents tree holds every page the index links to, under its groups.
    QStringList inTree;
    for (QTreeWidgetItemIterator it(help->contents()); *it != nullptr; ++it) {
        const QString page = (*it)->data(0, Qt::UserRole).toString();
        if (!page.isEmpty()) {
            inTree << page;
        }
    }
    EXPECT_EQ(inTree.size(), help->pages().size());
    EXPECT_TRUE(inTree.contains(QStringLiteral("case-editor.html")));

    // Pages seen are kept: back and forward.
    help->showPage(QStringLiteral("case-editor.html"));
    help->showPage(QStringLiteral("calculation.html#lambda"));
    EXPECT_EQ(help->currentAnchor().toStdString(), "lambda");
    help->browser()->backward();
    EXPECT_EQ(help->currentPage().toStdString(), "case-editor.html");
    help->browser()->forward();
    EXPECT_EQ(help->currentPage().toStdString(), "calculation.html");
    EXPECT_TRUE(help->windowTitle().contains(QStringLiteral("計算の内容")));

    // Search: pages holding every word, in the contents' order.
    const QStringList codes = help->search(QStringLiteral("ｴﾗｰｺｰﾄﾞ 75"));
    EXPECT_TRUE(codes.contains(QStringLiteral("troubleshooting.html")));
    EXPECT_TRUE(codes.contains(QStringLiteral("safety.html")));
    EXPECT_FALSE(codes.contains(QStringLiteral("numbering.html")));
    EXPECT_TRUE(
        help->search(QStringLiteral("ν = 1/6")).contains(QStringLiteral("calculation.html")));
    EXPECT_TRUE(help->search(QStringLiteral("xyzzy-nowhere")).isEmpty());
    // Through the window: the list, then the first result opened at the word.
    auto* field = Child<QLineEdit>(*help, "txtSearch");
    auto* results = Child<QListWidget>(*help, "lstResults");
    field->setText(QStringLiteral("Timoshenko"));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(results->count(), 1);
    emit results->itemActivated(results->item(0));
    EXPECT_EQ(help->currentPage().toStdString(), "coefficients.html");
    EXPECT_EQ(help->browser()->textCursor().selectedText().toStdString(), "Timoshenko");
}

} // namespace
} // namespace ormavex::test
