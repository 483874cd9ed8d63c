// Filling the report format file: every template of a fuzzed Kivet.fmt is
// filled with values of every kind (wide, negative, double-byte texts, cut
// in the middle of a character) and each filled line keeps exactly its
// template's length in Shift_JIS bytes, so no line of the report moves.

#include "FuzzSupport.h"

#include "core/report/basResOutPrn.h"
#include "core/text/ShiftJis.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ormavex;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchFolder() + "/fill.fmt";
    fuzz::WriteWhole(path, bytes);
    // The values come from the input's first bytes, so that the fuzzer
    // steers them as well: numbers from tiny to huge, texts of mixed width.
    static constexpr double kNumbers[] = {0.0,     -0.0,   1.0,      -1.5,    0.005,   -0.005,
                                          9999.99, -99999, 1.0e15,   -1.0e15, 1.0e300, 123456789.0,
                                          0.5,     -0.5,   2.675e-3, 1e-300};
    static constexpr const char* kTexts[] = {
        "", "A", "ｹｰｽ", "前壁断面力図", "№12", "&#!", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "底"};
    NumberValues numbers;
    TextValues texts;
    for (int i = 1; i <= MaxTemplateLines; ++i) {
        const std::uint8_t b = size > static_cast<std::size_t>(i) ? data[i] : 0;
        numbers[i] = kNumbers[b % std::size(kNumbers)] * (b & 0x80 ? -1 : 1);
        texts[i] = kTexts[(b >> 4) % std::size(kTexts)];
    }
    for (const char* section : {"ﾀｲﾄﾙ(2桁)", "ﾀｲﾄﾙ(3桁)"}) {
        auto levels = std::make_unique<LevelTable>();
        auto templates = std::make_unique<TemplateTable>();
        try {
            ReadTemplateSection(path, section, *levels, *templates);
        } catch (const Error&) {
            continue;
        }
        for (int i = 1; i <= MaxTemplateLines; ++i) {
            const std::string& tmpl = (*templates)[i];
            std::string filled;
            try {
                filled = FillTemplate(tmpl, numbers, texts);
            } catch (const Error&) {
                continue; // too many fields: the page fails, no line is written
            }
            FUZZ_CHECK(filled.size() == ToShiftJis(tmpl).size());
        }
    }
    return 0;
}
