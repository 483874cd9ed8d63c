// The renderer given hostile print, figure and drawing files: control codes
// planted inside a line, special files named as figures, the same figure
// under many spellings, drawings past the memory budget, huge print files.

#include "core/report/PrintFile.h"
#include "core/report/ReportDocument.h"
#include "core/text/ShiftJis.h"
#include "gui/preview/PreviewWindow.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <filesystem>
#include <sys/stat.h>

namespace ormavex::render {
namespace {

using namespace printfile;

using ormavex::test::RunBounded;
using ormavex::test::SjisLines;
using ormavex::test::TempDir;
using ormavex::test::WriteBytes;

const std::vector<std::string> kDrawing = {"t1",
                                           "t2",
                                           "95.30, 141.25, -62.65, -128.00, 32.65, 13.25",
                                           "座標情報",
                                           "12, 30.500000, -7.250000",
                                           "13, 40.000000, -7.250000",
                                           "END",
                                           "線分情報",
                                           "5, 12, 13, 1",
                                           "END"};

TEST(HostileRender, ControlCodesCountOnlyAtTheStartOfALine) {
    // A form feed inside a line breaks the page, but what follows is text.
    PrintFileContent c = ParsePrintFile("  ?R1 1 A\f?FG;000;000;/dev/zero\r\n\f?R2 B\r\n");
    ASSERT_EQ(c.lines.size(), 5u);
    EXPECT_EQ(c.lines[0].heading, 1);
    EXPECT_EQ(c.lines[1].kind, PrintLine::Kind::PageBreak);
    EXPECT_EQ(c.lines[2].kind, PrintLine::Kind::Text);
    EXPECT_TRUE(c.lines[2].figurePath.empty());
    // The writer's page break stands first on its line: the heading behind it counts.
    EXPECT_EQ(c.lines[3].kind, PrintLine::Kind::PageBreak);
    EXPECT_EQ(c.lines[4].heading, 2);
}

TEST(HostileRender, SpecialAndHugeFilesGiveAClearErrorWithinBounds) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    for (const std::string& name : {std::string("/dev/zero"), dir.file("fifo")}) {
        // As the print file itself.
        EXPECT_TRUE(RunBounded(
            [&] {
                ReportDocument doc;
                std::string error;
                return !BuildReportDocument(name, dir.path(), doc, &error) &&
                       error.find("not a regular file") != std::string::npos;
            },
            5, 1024))
            << name;
        // As a figure file and as a drawing named by one.
        WriteBytes(dir.file("f.fig"), SjisLines({"t", " 140  160 ", name, " 0  0 ", "END"}));
        WriteBytes(dir.file("p.prn"), "?FG;000;000;" + name + "\r\n?FG;000;000;f.fig\r\n");
        EXPECT_TRUE(RunBounded(
            [&] {
                ReportDocument doc;
                std::string error;
                if (!BuildReportDocument(dir.file("p.prn"), dir.path(), doc, &error)) {
                    return false;
                }
                const auto& figures = doc.pages.at(0).figures;
                return figures.size() == 2 && !figures[0].figure->error.empty() &&
                       !figures[1].figure->drawings.at(0).error.empty();
            },
            5, 1024))
            << name;
    }
    // 64 MB of bytes that start no character, in one line and in lines of
    // one byte: bounded time and memory.
    for (const std::string& unit :
         {std::string("\x80"), std::string("\x80\n"), std::string("\f")}) {
        std::string big;
        big.reserve(kMaxPrintFileBytes);
        while (big.size() + unit.size() <= kMaxPrintFileBytes) {
            big += unit;
        }
        WriteBytes(dir.file("big.prn"), big);
        EXPECT_TRUE(RunBounded(
            [&] {
                ReportDocument doc;
                std::string error;
                return BuildReportDocument(dir.file("big.prn"), dir.path(), doc, &error);
            },
            60, 2048));
    }
}

TEST(HostileRender, AFigureIsLoadedOnceAndDrawingsStayWithinTheBudget) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("sub"));
    WriteBytes(dir.file("d.drw"), SjisLines(kDrawing));
    WriteBytes(dir.file("f.fig"),
               SjisLines({"t", " 140  160 ", "d.drw", " 0  0 ", "./d.drw", " 1  1 ", "END"}));
    WriteBytes(
        dir.file("p.prn"),
        "?FG;000;000;f.fig\r\n?FG;000;000;./f.fig\r\n?FG;000;000;sub/../f.fig\r\n?FG;000;000;" +
            dir.file("f.fig") + "\r\n");
    ReportDocument doc;
    std::string error;
    ASSERT_TRUE(BuildReportDocument(dir.file("p.prn"), dir.path(), doc, &error)) << error;
    std::vector<const LoadedFigure*> loaded;
    for (const Page& p : doc.pages) {
        for (const PlacedFigure& f : p.figures) {
            loaded.push_back(f.figure.get());
        }
    }
    ASSERT_EQ(loaded.size(), 4u);
    for (const LoadedFigure* f : loaded) {
        EXPECT_EQ(f, loaded[0]);
    }
    ASSERT_EQ(loaded[0]->drawings.size(), 2u);
    EXPECT_TRUE(loaded[0]->drawings[1].error.empty());

    // A budget for one drawing: the second is not kept.
    DrawingCommandFile one;
    ASSERT_TRUE(LoadDrawingCommandFile(dir.file("d.drw"), one, nullptr));
    std::size_t budget = ApproximateBytes(one) + 10;
    const auto fig = LoadFigure(dir.file("f.fig"), budget);
    EXPECT_TRUE(fig->drawings[0].error.empty());
    EXPECT_EQ(fig->drawings[1].error, kBudgetExceeded);
    EXPECT_TRUE(fig->drawings[1].drawing.lines.empty());
}

TEST(HostileRender, PreviewPositionStaysOnTheDesktop) {
    TempDir dir;
    WriteBytes(dir.file("p.prn"), "x\r\n");
    auto doc = std::make_shared<ReportDocument>();
    std::string error;
    ASSERT_TRUE(BuildReportDocument(dir.file("p.prn"), dir.path(), *doc, &error));
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    for (const char* value : {"2147483647", "-2147483648"}) {
        std::filesystem::remove_all(dir.file("ini"));
        std::filesystem::create_directory(dir.file("ini"));
        WriteBytes(ormavex::preview::PreviewWindow::SettingsFile(dir.file("ini")),
                   std::string("[Preview]\r\nLeft=") + value + "\r\nTop=" + value + "\r\n");
        ormavex::preview::PreviewWindow w(doc, dir.file("p.prn"), dir.file("ini"));
        w.restoreSettings();
        EXPECT_TRUE(desk.contains(w.pos())) << value;
    }
}

} // namespace
} // namespace ormavex::render
