// Drawing command files: any bytes are parsed without a crash; the records
// kept stay within the limit.

#include "FuzzSupport.h"

#include "DrawingFile.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex::render;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Drawing drawing;
    std::string error;
    if (ParseDrawingFile(bytes, drawing, &error)) {
        FUZZ_CHECK(drawing.lines.size() <= kMaxRecords && drawing.texts.size() <= kMaxRecords);
        FUZZ_CHECK(drawing.warnings.size() <= kMaxWarnings + 1);
    }
    return 0;
}
