// Print files: any bytes are parsed and laid out on pages without a crash;
// every line lands on a page within the paper, and a figure line names its
// file only through the loader.

#include "FuzzSupport.h"

#include "core/report/PrintFile.h"
#include "core/report/ReportDocument.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex::printfile;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PrintFileContent content = ParsePrintFile(bytes);
    FUZZ_CHECK(content.lines.size() <= kMaxLines);
    auto blank = std::make_shared<LoadedFigure>();
    blank->error = "not loaded";
    const PageSetup setup;
    const auto pages = Paginate(
        content, [&](const PrintLine&) { return std::shared_ptr<const LoadedFigure>(blank); },
        setup);
    FUZZ_CHECK(!pages.empty() && pages.size() <= kMaxPages);
    for (const Page& page : pages) {
        for (const PlacedText& t : page.texts) {
            FUZZ_CHECK(t.y >= 0.0 && t.y <= setup.paperHeight);
        }
    }
    return 0;
}
