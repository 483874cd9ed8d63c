// Drawing command files: any bytes are read without a crash; the records
// kept stay within the limit, and what was read is written again as a file
// that reads back to the same points and lines (a text reading "END" would
// end its section: texts are not compared).

#include "FuzzSupport.h"

#include "core/drawing/DrawingCommandFile.h"
#include "core/text/ShiftJis.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DrawingCommandFile drawing;
    if (!ParseDrawingCommandFile(bytes, drawing, nullptr)) {
        return 0;
    }
    FUZZ_CHECK(drawing.lines.size() <= kMaxRecords && drawing.texts.size() <= kMaxRecords);
    FUZZ_CHECK(drawing.warnings.size() <= kMaxWarnings + 1);
    // Numbers read are finite, so the writer takes all of them.
    const std::string text = DrawingCommandFileText(drawing);
    DrawingCommandFile again;
    FUZZ_CHECK(ParseDrawingCommandFile(ToShiftJis(text), again, nullptr));
    FUZZ_CHECK(again.points.size() == drawing.points.size() &&
               again.lines.size() == drawing.lines.size());
    return 0;
}
