// Figure files: any bytes are parsed without a crash; what is kept stays
// within the limits of a figure.

#include "FuzzSupport.h"

#include "FigureFile.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex::render;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FigureFile figure;
    std::string error;
    if (ParseFigureFile(bytes, figure, &error)) {
        FUZZ_CHECK(figure.entries.size() <= kMaxFigureEntries);
        FUZZ_CHECK(std::isfinite(figure.width) && std::isfinite(figure.height));
    }
    return 0;
}
