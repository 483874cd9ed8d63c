// The whole way from a project file to the pages: any bytes that read as a
// project and calculate are written as a report, the report item is joined
// into the combined print file and the renderer lays it out. Every figure
// the print file names must read back without a problem, and once the print
// files are deleted nothing of the run is left in its folder.

#include "FuzzSupport.h"

#include "core/app/basToolsStd.h"
#include "core/calc/basCalcMd.h"
#include "core/project/basIO.h"
#include "core/report/PrintFile.h"
#include "core/report/ReportDocument.h"
#include "core/report/ReportRun.h"
#include "core/text/TextFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string version = InputFileVersionOf(bytes);
    auto cases = std::make_unique<CaseTable>();
    Error error;
    if (!detail::ReadProjectBytes(*cases, bytes, version == "2.00" ? 9 : 10, error)) {
        return 0;
    }
    static const std::string dataFolder = std::string(ORMAVEX_SOURCE_DIR) + "/data";
    auto calc = std::make_unique<CalcArrays>();
    auto coef = std::make_unique<CoefWorkTables>();
    if (!CalcMoments(*cases, *calc, *coef, dataFolder, &error)) {
        return 0;
    }
    static const std::string folder = [] {
        const std::string f = fuzz::ScratchFolder() + "/run";
        std::filesystem::create_directories(f);
        return f;
    }();
    auto report = std::make_unique<ReportState>();
    report->lists.folder = folder;
    auto drawing = std::make_unique<DrawingContext>();
    ReportRunOutcome outcome;
    const std::string noSettings = folder + "/none.ini";
    FUZZ_CHECK(RunReport(*report, *drawing, *cases, *calc, dataFolder, noSettings, outcome));
    FUZZ_CHECK(CollectSelectedItems(*report, {1}, &error));
    const std::string combined =
        report->lists.text[static_cast<std::size_t>(report->lists.textCount - 1)];

    std::string printed;
    FUZZ_CHECK(ReadFileBytes(combined, printed, error, FileLimit::Print));
    const printfile::PrintFileContent content = printfile::ParsePrintFile(printed);
    FUZZ_CHECK(!content.truncated);
    for (const printfile::PrintLine& line : content.lines) {
        if (line.kind == printfile::PrintLine::Kind::Figure) {
            FUZZ_CHECK(!line.figurePath.empty());
            const auto figure = printfile::LoadFigure(line.figurePath);
            FUZZ_CHECK(figure->error.empty());
            FUZZ_CHECK(figure->problems().empty());
        }
    }
    printfile::ReportDocument doc;
    std::string why;
    FUZZ_CHECK(printfile::BuildReportDocument(combined, dataFolder, doc, &why));
    FUZZ_CHECK(!doc.pages.empty());

    DeletePrintFiles(*report);
    FUZZ_CHECK(std::filesystem::is_empty(folder));
    return 0;
}
