// Figure files: any bytes are read without a crash; what is kept stays
// within the limits of a figure and is written again without a failure.

#include "FuzzSupport.h"

#include "core/drawing/FigureFile.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FigureFile figure;
    if (ParseFigureFile(bytes, figure, nullptr)) {
        FUZZ_CHECK(figure.entries.size() <= kMaxFigureEntries);
        FUZZ_CHECK(std::isfinite(figure.width) && std::isfinite(figure.height));
        FUZZ_CHECK(!FigureFileText(figure).empty());
    }
    return 0;
}
