// Page breaking of the report: form feeds, full pages, figures that do not
// fit, and the promise that one case page fits on one A4 sheet.

#include "core/report/ReportDocument.h"
#include "core/text/ShiftJis.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace ormavex::printfile {
namespace {

PrintLine Text(const std::string& s) {
    PrintLine l;
    l.runs = SplitIntoRuns(ToShiftJis(s));
    return l;
}

PrintLine Blank() { return PrintLine{}; }

PrintLine Break() {
    PrintLine l;
    l.kind = PrintLine::Kind::PageBreak;
    return l;
}

PrintLine FigureLine(int column = 4) {
    PrintLine l;
    l.kind = PrintLine::Kind::Figure;
    l.figureColumn = column;
    l.figurePath = "fig";
    return l;
}

// A loader that gives figures of a fixed area without reading files.
FigureLoader AreaLoader(double width, double height, int* calls = nullptr) {
    return [=](const PrintLine&) {
        if (calls != nullptr) {
            ++*calls;
        }
        auto f = std::make_shared<LoadedFigure>();
        f->file.width = width;
        f->file.height = height;
        return std::shared_ptr<const LoadedFigure>(f);
    };
}

// The lines of one case page as the report writes them: title, two blanks,
// plate sentence, two blanks, three value lines, two blanks, two sentences
// with a blank between, two blanks, the figure line and the closing line.
std::vector<PrintLine> CasePage() {
    std::vector<PrintLine> p = {Text("?R1title"), Blank(),    Blank(),    Text("plate"),
                                Blank(),          Blank(),    Text("Lx"), Text("ratio"),
                                Text("Ly"),       Blank(),    Blank(),    Text("s7"),
                                Blank(),          Text("s8"), Blank(),    Blank()};
    p.push_back(FigureLine());
    p.push_back(Text(" "));
    return p;
}

TEST(PaginationTest, EveryCasePageFitsOnOneSheet) {
    PrintFileContent c;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) {
            c.lines.push_back(Break());
        }
        for (PrintLine& l : CasePage()) {
            c.lines.push_back(std::move(l));
        }
    }
    std::vector<Page> pages = Paginate(c, AreaLoader(140, 160));
    ASSERT_EQ(pages.size(), 5u);
    const PageSetup s;
    for (const Page& p : pages) {
        ASSERT_EQ(p.figures.size(), 1u);
        EXPECT_EQ(p.texts.size(), 17u);
        const PlacedFigure& f = p.figures[0];
        EXPECT_DOUBLE_EQ(f.y, s.topMargin + 16 * s.linePitch); // right under the 16 lines
        EXPECT_DOUBLE_EQ(f.x, s.columnX(4));
        EXPECT_DOUBLE_EQ(f.scale, 1.0);
        EXPECT_DOUBLE_EQ(p.texts.back().y, f.y + 160.0); // the closing line under the figure
        EXPECT_LE(p.texts.back().y + s.linePitch, s.contentBottom());
    }
}

TEST(PaginationTest, EightyColumnsFitBetweenTheMargins) {
    const PageSetup s;
    EXPECT_LE(s.columnX(80), s.paperWidth - s.leftMargin + 1e-9);
    EXPECT_DOUBLE_EQ(s.fontHeight, 2 * s.columnWidth); // a double-byte character is 2 columns
}

TEST(PaginationTest, FullPageContinuesOnTheNext) {
    const PageSetup s;
    const int perPage = static_cast<int>((s.contentBottom() - s.topMargin) / s.linePitch + 1e-9);
    PrintFileContent c;
    for (int i = 0; i < perPage + 3; ++i) {
        c.lines.push_back(Text("x"));
    }
    std::vector<Page> pages = Paginate(c, AreaLoader(1, 1));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].texts.size(), static_cast<std::size_t>(perPage));
    EXPECT_EQ(pages[1].texts.size(), 3u);
    EXPECT_DOUBLE_EQ(pages[1].texts[0].y, s.topMargin);
}

TEST(PaginationTest, FormFeedAfterAnOverflowDoesNotLeaveABlankPage) {
    const PageSetup s;
    const int perPage = static_cast<int>((s.contentBottom() - s.topMargin) / s.linePitch + 1e-9);
    PrintFileContent c;
    for (int i = 0; i < perPage; ++i) {
        c.lines.push_back(Text("x"));
    }
    c.lines.push_back(Text("overflow"));
    c.lines.push_back(Break());
    c.lines.push_back(Text("next"));
    EXPECT_EQ(Paginate(c, AreaLoader(1, 1)).size(), 3u);

    // A full page that ends exactly: the form feed then begins the next page,
    // and no blank one lies between.
    c.lines.clear();
    for (int i = 0; i < perPage; ++i) {
        c.lines.push_back(Text("x"));
    }
    c.lines.push_back(Break());
    c.lines.push_back(Text("next"));
    EXPECT_EQ(Paginate(c, AreaLoader(1, 1)).size(), 2u);
}

TEST(PaginationTest, TwoFormFeedsMakeABlankPageAndATrailingOneNone) {
    PrintFileContent c;
    c.lines = {Text("a"), Break(), Break(), Text("b"), Break()};
    std::vector<Page> pages = Paginate(c, AreaLoader(1, 1));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[1].texts.empty());
    EXPECT_EQ(pages[2].texts.size(), 1u);
}

TEST(PaginationTest, FigureThatDoesNotFitStartsANewPage) {
    PrintFileContent c;
    for (int i = 0; i < 30; ++i) {
        c.lines.push_back(Text("x"));
    }
    c.lines.push_back(FigureLine(6));
    c.lines.push_back(Text("after"));
    std::vector<Page> pages = Paginate(c, AreaLoader(140, 160));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[0].figures.empty());
    ASSERT_EQ(pages[1].figures.size(), 1u);
    const PageSetup s;
    EXPECT_DOUBLE_EQ(pages[1].figures[0].y, s.topMargin);
    EXPECT_DOUBLE_EQ(pages[1].figures[0].x, s.columnX(6));
    EXPECT_DOUBLE_EQ(pages[1].texts[0].y, s.topMargin + 160.0);
}

TEST(PaginationTest, FigureLargerThanAPageIsScaledToFit) {
    PrintFileContent c;
    c.lines = {FigureLine(0)};
    std::vector<Page> pages = Paginate(c, AreaLoader(100, 514));
    ASSERT_EQ(pages.size(), 1u);
    const PageSetup s;
    const PlacedFigure& f = pages[0].figures[0];
    EXPECT_NEAR(f.scale, 0.5, 1e-12);
    EXPECT_NEAR(f.height, s.contentBottom() - s.topMargin, 1e-9);
    EXPECT_NEAR(f.width, 50.0, 1e-9);

    // Wider than the paper right of its column: scaled to end 5 mm short of
    // the paper's edge.
    c.lines = {FigureLine(10)};
    pages = Paginate(c, AreaLoader(400, 100));
    const PlacedFigure& w = pages[0].figures[0];
    EXPECT_NEAR(w.x + w.width, s.paperWidth - 5.0, 1e-9);
    EXPECT_NEAR(w.height, 100.0 * w.scale, 1e-9);
}

TEST(PaginationTest, UnreadableFigureTakesANoteOfThreeLines) {
    PrintFileContent c;
    c.lines = {FigureLine(), Text("after")};
    std::vector<Page> pages = Paginate(c, [](const PrintLine&) {
        auto f = std::make_shared<LoadedFigure>();
        f->error = "figure file not read";
        return std::shared_ptr<const LoadedFigure>(f);
    });
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].figures.size(), 1u);
    const PageSetup s;
    EXPECT_DOUBLE_EQ(pages[0].figures[0].height, 3 * s.linePitch);
    EXPECT_DOUBLE_EQ(pages[0].texts[0].y, s.topMargin + 3 * s.linePitch);
}

TEST(PaginationTest, EndlessPagesStopAtThePageLimit) {
    std::string bytes;
    for (std::size_t i = 0; i < kMaxPages * 2; ++i) {
        bytes += "x\f";
    }
    PrintFileContent c = ParsePrintFile(bytes);
    std::vector<Page> pages = Paginate(c, AreaLoader(1, 1));
    EXPECT_EQ(pages.size(), kMaxPages);
    EXPECT_EQ(pages.back().texts.size(), 1u);
    EXPECT_EQ(pages.back().note, "このﾌｧｲﾙは大きすぎるため，10000ﾍﾟｰｼﾞ以降を省略しました。");

    // Exactly as many pages as the limit, also with a form feed behind the
    // last: printed whole, without a note.
    for (std::size_t size : {kMaxPages * 2 - 1, kMaxPages * 2}) {
        pages = Paginate(ParsePrintFile(bytes.substr(0, size)), AreaLoader(1, 1));
        EXPECT_EQ(pages.size(), kMaxPages) << size;
        EXPECT_EQ(pages.back().texts.size(), 1u) << size;
        EXPECT_TRUE(pages.back().note.empty()) << size;
    }

    // A page begun past the limit by an overflow: figures a page high.
    const PageSetup s;
    c.lines.assign(kMaxPages + 1, FigureLine());
    pages = Paginate(c, AreaLoader(1, s.contentBottom() - s.topMargin));
    EXPECT_EQ(pages.size(), kMaxPages);
    EXPECT_FALSE(pages.back().note.empty());
}

TEST(PaginationTest, EmptyFileOrOnlyFormFeedsGiveOneBlankPage) {
    EXPECT_EQ(Paginate(ParsePrintFile(""), AreaLoader(1, 1)).size(), 1u);
    EXPECT_EQ(Paginate(ParsePrintFile(std::string(100000, '\f')), AreaLoader(1, 1)).size(), 1u);
}

TEST(BuildReportDocumentTest, LoadsEachFigureFileOnceAndResolvesRelativePaths) {
    test::TempDir dir;
    test::WriteSjisLines(dir.file("d.tmp"), {"a", "b", "10, 10, 0, 0, 10, 10", "座標情報", "END"});
    test::WriteSjisLines(dir.file("f.tmp"), {"t", " 50  20 ", "d.tmp", " 0  0 ", "END"});
    test::WriteSjisLines(dir.file("p.tmp"), {"  ?FG;000;000;f.tmp", "  ?FG;000;000;f.tmp"});
    ReportDocument doc;
    std::string error;
    ASSERT_TRUE(BuildReportDocument(dir.file("p.tmp"), std::string(ORMAVEX_SOURCE_DIR) + "/data",
                                    doc, &error))
        << error;
    ASSERT_EQ(doc.pages.size(), 1u);
    ASSERT_EQ(doc.pages[0].figures.size(), 2u);
    EXPECT_EQ(doc.pages[0].figures[0].figure, doc.pages[0].figures[1].figure);
    const LoadedFigure& f = *doc.pages[0].figures[0].figure;
    EXPECT_TRUE(f.error.empty()) << f.error;
    ASSERT_EQ(f.drawings.size(), 1u);
    EXPECT_TRUE(f.drawings[0].error.empty()) << f.drawings[0].error;
    EXPECT_TRUE(f.problems().empty());
}

TEST(BuildReportDocumentTest, MissingPrintFileFailsAndMissingFigureBecomesANote) {
    ReportDocument doc;
    std::string error;
    EXPECT_FALSE(BuildReportDocument("/nonexistent/print.tmp", "", doc, &error));
    EXPECT_FALSE(error.empty());

    test::TempDir dir;
    test::WriteSjisLines(dir.file("p.tmp"),
                         {"text", "  ?FG;000;000;/nonexistent/fig.tmp", "?FG;bad"});
    ASSERT_TRUE(BuildReportDocument(dir.file("p.tmp"), dir.path(), doc, &error));
    ASSERT_EQ(doc.pages[0].figures.size(), 2u);
    EXPECT_FALSE(doc.pages[0].figures[0].figure->error.empty());
    EXPECT_FALSE(doc.pages[0].figures[1].figure->error.empty());
    EXPECT_EQ(doc.notes.size(), 2u); // neither style file in that folder
}

} // namespace
} // namespace ormavex::printfile
