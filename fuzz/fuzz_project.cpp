// Project file reader: any bytes are read without a crash, and whatever is
// read survives a write and a second read unchanged.

#include "FuzzSupport.h"

#include "core/app/basToolsStd.h"
#include "core/cases/CaseTable.h"
#include "core/project/basIO.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)ormavex::InputFileVersionOf(bytes);
    for (int cells : {10, 9}) {
        auto first = std::make_unique<ormavex::CaseTable>();
        ormavex::Error error;
        if (!ormavex::detail::ReadProjectBytes(*first, bytes, cells, error)) {
            FUZZ_CHECK(error.code() != 0);
            continue;
        }
        const std::string written = ormavex::InputFileBytes(*first);
        FUZZ_CHECK(ormavex::InputFileVersionOf(written) == "2.10");
        auto second = std::make_unique<ormavex::CaseTable>();
        FUZZ_CHECK(ormavex::detail::ReadProjectBytes(*second, written, 10, error));
        FUZZ_CHECK(ormavex::InputFileBytes(*second) == written);
    }
    return 0;
}
