// Report format file: any bytes are read as sections without a crash, and
// every template read is filled with numbers and texts; a failure is an
// Error, never anything else.

#include "FuzzSupport.h"

#include "core/report/basResOutPrn.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = ormavex::fuzz::ScratchFolder() + "/format.fmt";
    ormavex::fuzz::WriteWhole(path, bytes);
    for (const char* section : {"ﾀｲﾄﾙ(2桁)", "ﾀｲﾄﾙ(3桁)"}) {
        auto levels = std::make_unique<ormavex::LevelTable>();
        auto templates = std::make_unique<ormavex::TemplateTable>();
        int count = 0;
        try {
            count = ormavex::ReadTemplateSection(path, section, *levels, *templates);
        } catch (const ormavex::Error&) {
            continue;
        }
        // A line number may come more than once: the count is of lines read.
        FUZZ_CHECK(count >= 0);
        ormavex::NumberValues numbers;
        ormavex::TextValues texts;
        for (int i = 1; i <= ormavex::MaxTemplateLines; ++i) {
            numbers[i] = -1234.5678 * i;
            texts[i] = "ｹｰｽ" + std::to_string(i);
        }
        for (int i = 1; i <= ormavex::MaxTemplateLines; ++i) {
            try {
                (void)ormavex::FillTemplate((*templates)[i], numbers, texts);
            } catch (const ormavex::Error&) {
            }
        }
    }
    return 0;
}
