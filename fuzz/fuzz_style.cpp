// Style files (line styles and text styles): any bytes are read without a
// crash, by the reader both the drawing writer and the renderer use, and by
// the writer's table filling, which fails only with Error.

#include "FuzzSupport.h"

#include "core/drawing/basResOutPrnZ.h"
#include "core/report/StyleTables.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        ormavex::printfile::StyleTables tables;
        std::string problem;
        (void)tables.readLineStyles(bytes, &problem);
        (void)tables.readTextStyles(bytes, &problem);
        FUZZ_CHECK(tables.lineCount() >= 1 && tables.textCount() >= 1);
    }
    const std::string path = ormavex::fuzz::ScratchFolder() + "/style.def";
    ormavex::fuzz::WriteWhole(path, bytes);
    auto context = std::make_unique<ormavex::DrawingContext>();
    context->SizeTables();
    try {
        context->ReadLineStyles(path);
    } catch (const ormavex::Error&) {
    }
    try {
        context->ReadTextStyles(path);
    } catch (const ormavex::Error&) {
    }
    return 0;
}
