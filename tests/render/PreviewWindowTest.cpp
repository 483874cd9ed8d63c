// The preview program's command line and window: pages shown, PDF output
// through the action, settings kept in the folder it was given.

#include "gui/preview/PreviewWindow.h"
#include "core/app/CPrivateProfile.h"
#include "core/text/ShiftJis.h"
#include "gui/preview/PreviewCommandLine.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <filesystem>

namespace ormavex::preview {
namespace {

TEST(PreviewCommandLineTest, TakesTheIniFolderAndTheFileAsThePrintMenuPassesThem) {
    CommandLine cl =
        ParseCommandLine({"/INI=/home/u/.local/share/Velmorra/ormavex", "/tmp/~MT1.tmp"});
    EXPECT_TRUE(cl.error.empty());
    EXPECT_EQ(cl.iniFolder, "/home/u/.local/share/Velmorra/ormavex");
    EXPECT_EQ(cl.printFile, "/tmp/~MT1.tmp");
    EXPECT_TRUE(cl.pdfPath.empty());

    // Quotes that survived, and a path with a blank split in two.
    cl = ParseCommandLine({"/ini=\"/a b/c\"", "/tmp/my", "dir/~MT2.tmp"});
    EXPECT_EQ(cl.iniFolder, "/a b/c");
    EXPECT_EQ(cl.printFile, "/tmp/my dir/~MT2.tmp");
}

TEST(PreviewCommandLineTest, PdfOptionAndUsageErrors) {
    CommandLine cl = ParseCommandLine({"--pdf", "o.pdf", "p.tmp"});
    EXPECT_EQ(cl.pdfPath, "o.pdf");
    EXPECT_EQ(cl.printFile, "p.tmp");
    EXPECT_FALSE(ParseCommandLine({"--pdf"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--zoom", "p.tmp"}).error.empty());
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string bytes;
        for (int i = 1; i <= 3; ++i) {
            bytes += (i > 1 ? "\f" : "") + ToShiftJis("?R1第" + std::to_string(i) + "頁") + "\r\n";
        }
        test::WriteBytes(dir.file("p.tmp"), bytes);
        doc = std::make_shared<printfile::ReportDocument>();
        QString message;
        ASSERT_TRUE(OpenReport(dir.file("p.tmp"), dir.path(), *doc, &message));
    }

    QAction* action(PreviewWindow& w, const char* name) {
        return w.findChild<QAction*>(QString::fromUtf8(name));
    }

    test::TempDir dir;
    std::shared_ptr<printfile::ReportDocument> doc;
};

// The page box and the end buttons follow the page shown, whichever way it
// was reached: actions, their keys, the box itself and plain scrolling.
TEST_F(PreviewWindowTest, PageBoxAndButtonsFollowEveryNavigation) {
    PreviewWindow w(doc, dir.file("p.tmp"), "");
    w.resize(800, 900);
    w.show();
    QApplication::processEvents();
    w.findChild<QPrintPreviewWidget*>()->updatePreview();
    QApplication::processEvents();
    ASSERT_EQ(w.pageCount(), 3);
    auto* box = w.findChild<QSpinBox*>(QStringLiteral("pageNumber"));
    ASSERT_NE(box, nullptr);
    auto state = [&]() {
        return std::to_string(w.currentPage()) + "/" + std::to_string(box->value()) + " " +
               (action(w, "actionFirst")->isEnabled() ? "F" : "-") +
               (action(w, "actionPrevious")->isEnabled() ? "P" : "-") +
               (action(w, "actionNext")->isEnabled() ? "N" : "-") +
               (action(w, "actionLast")->isEnabled() ? "L" : "-");
    };
    EXPECT_EQ(state(), "1/1 --NL");
    action(w, "actionLast")->trigger();
    EXPECT_EQ(state(), "3/3 FP--");
    action(w, "actionPrevious")->trigger();
    EXPECT_EQ(state(), "2/2 FPNL");
    auto key = [&](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(w.findChild<QGraphicsView*>()->viewport(), static_cast<Qt::Key>(k), m);
        QApplication::processEvents();
    };
    w.findChild<QGraphicsView*>()->setFocus();
    key(Qt::Key_PageDown);
    EXPECT_EQ(state(), "3/3 FP--");
    key(Qt::Key_Home);
    EXPECT_EQ(state(), "1/1 --NL");
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(state(), "3/3 FP--");
    key(Qt::Key_PageUp);
    EXPECT_EQ(state(), "2/2 FPNL");
    box->setValue(1);
    EXPECT_EQ(state(), "1/1 --NL");
    // Scrolling the view to its end, as the wheel does, shows the last page.
    QScrollBar* bar = w.findChild<QGraphicsView*>()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    EXPECT_EQ(state(), "3/3 FP--");
}

TEST_F(PreviewWindowTest, ZoomFieldCtrlWheelAndEscape) {
    PreviewWindow w(doc, dir.file("p.tmp"), "");
    w.show();
    QApplication::processEvents();
    auto* zoom = w.findChild<QComboBox*>(QStringLiteral("zoom"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->currentText(), QString::fromUtf8("幅に合わせる"));
    zoom->setEditText(QStringLiteral("150"));
    emit zoom->textActivated(zoom->currentText());
    EXPECT_EQ(w.findChild<QPrintPreviewWidget*>()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_NEAR(w.findChild<QPrintPreviewWidget*>()->zoomFactor(), 1.5, 1e-9);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("150%"));
    emit zoom->textActivated(QString::fromUtf8("ﾍﾟｰｼﾞ全体"));
    EXPECT_EQ(w.findChild<QPrintPreviewWidget*>()->zoomMode(), QPrintPreviewWidget::FitInView);
    emit zoom->textActivated(QStringLiteral("abc")); // refused: the zoom in force is shown
    EXPECT_EQ(zoom->currentText(), QString::fromUtf8("ﾍﾟｰｼﾞ全体"));

    emit zoom->textActivated(QStringLiteral("100%"));
    QWidget* viewport = w.findChild<QGraphicsView*>()->viewport();
    QWheelEvent up(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &up);
    EXPECT_GT(w.findChild<QPrintPreviewWidget*>()->zoomFactor(), 1.0);
    EXPECT_NE(zoom->currentText(), QStringLiteral("100%"));
    EXPECT_TRUE(zoom->currentText().endsWith(QLatin1Char('%')));

    QTest::keyClick(viewport, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());

    // The underlined letters of the print and close buttons work with Alt.
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(action(w, "actionPrint")->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_P)));
    QTest::keyClick(viewport, Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(PreviewWindowTest, TitleAndPdfNameComeFromTheProjectNeverFromATemporaryFile) {
    test::WriteBytes(dir.file("~MTab12.tmp"), test::ReadBytes(dir.file("p.tmp")));
    PreviewWindow w(doc, dir.file("~MTab12.tmp"), "");
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("印刷ﾌﾟﾚﾋﾞｭｰ"));
    EXPECT_FALSE(w.suggestedPdfPath().contains(QStringLiteral("~MT")));
    w.setProject("/home/k/work/caisson-A.kvt");
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("印刷ﾌﾟﾚﾋﾞｭｰ - caisson-A"));
    EXPECT_EQ(w.suggestedPdfPath(), QStringLiteral("/home/k/work/caisson-A.pdf"));
    EXPECT_EQ(PreviewWindow::ReportName("", dir.file("p.tmp")), QStringLiteral("p"));

    const CommandLine cl =
        ParseCommandLine({"/INI=/u", "/PROJECT=\"/a b/c.kvt\"", "/tmp/~MT1.tmp"});
    EXPECT_EQ(cl.projectFile, "/a b/c.kvt");
    EXPECT_EQ(cl.printFile, "/tmp/~MT1.tmp");
}

TEST_F(PreviewWindowTest, PagesArePaintedInTheWindow) {
    PreviewWindow w(doc, dir.file("p.tmp"), "");
    w.resize(800, 900);
    w.show();
    w.findChild<QPrintPreviewWidget*>()->updatePreview();
    QApplication::processEvents();
    const QImage shot = w.findChild<QPrintPreviewWidget*>()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            dark += qGray(shot.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20); // the heading text of the first page
}

TEST_F(PreviewWindowTest, PdfActionWritesTheChosenFile) {
    PreviewWindow w(doc, dir.file("p.tmp"), "");
    QString suggested;
    w.setPdfNameQuery([&](QWidget*, const QString& s) {
        suggested = s;
        return QString::fromStdString(dir.file("out"));
    });
    QString shownError;
    w.setErrorSink([&](QWidget*, const QString& t) { shownError = t; });
    QString offered;
    QString opened;
    w.setOpenFolderQuery([&](QWidget*, const QString& pdf) {
        offered = pdf;
        return true;
    });
    w.setFolderOpener([&](const QString& folder) { opened = folder; });
    ASSERT_NE(action(w, "actionPdf"), nullptr);
    EXPECT_EQ(action(w, "actionPdf")->text(), QString::fromUtf8("PDF出力"));
    action(w, "actionPdf")->trigger();
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("p.pdf")));
    EXPECT_TRUE(shownError.isEmpty());
    EXPECT_EQ(test::ReadBytes(dir.file("out.pdf")).rfind("%PDF", 0), 0u); // ".pdf" added
    // Confirmed with the file's name, and its folder offered and opened.
    EXPECT_TRUE(
        w.statusBar()->currentMessage().endsWith(QString::fromStdString(dir.file("out.pdf"))));
    EXPECT_EQ(offered, QString::fromStdString(dir.file("out.pdf")));
    EXPECT_EQ(opened, QString::fromStdString(dir.path()));

    w.setPdfNameQuery(
        [](QWidget*, const QString&) { return QStringLiteral("/no/such/dir/x.pdf"); });
    offered.clear();
    action(w, "actionPdf")->trigger();
    EXPECT_FALSE(shownError.isEmpty());
    EXPECT_TRUE(offered.isEmpty()); // nothing written, nothing offered
}

TEST_F(PreviewWindowTest, SizeAndZoomAreKeptInTheSettingsFolder) {
    const std::string ini = dir.path() + "/user"; // made when first written
    {
        PreviewWindow w(doc, dir.file("p.tmp"), ini);
        w.resize(700, 600);
        w.findChild<QPrintPreviewWidget*>()->setZoomFactor(1.5);
        ASSERT_TRUE(w.saveSettings());
    }
    const std::string file = PreviewWindow::SettingsFile(ini);
    EXPECT_EQ(CPrivateProfile::GetValueLong(file, "Preview", "Width"), 700);
    EXPECT_EQ(CPrivateProfile::GetValueLong(file, "Preview", "ZoomMode"), 0);
    EXPECT_EQ(CPrivateProfile::GetValueLong(file, "Preview", "ZoomPercent"), 150);

    PreviewWindow again(doc, dir.file("p.tmp"), ini);
    again.restoreSettings();
    EXPECT_EQ(again.size(), QSize(700, 600));
    EXPECT_NEAR(again.findChild<QPrintPreviewWidget*>()->zoomFactor(), 1.5, 1e-9);
    EXPECT_EQ(again.findChild<QPrintPreviewWidget*>()->zoomMode(), QPrintPreviewWidget::CustomZoom);
}

TEST_F(PreviewWindowTest, UnreadableFileGivesAMessageNamingIt) {
    printfile::ReportDocument d;
    QString message;
    EXPECT_FALSE(OpenReport(dir.file("missing.tmp"), dir.path(), d, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("missing.tmp")));
}

} // namespace
} // namespace ormavex::preview
