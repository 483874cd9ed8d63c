// Settings files: any bytes are read without a crash, the heading numbering
// values stay within their ranges, and a value written is read back as
// written while the other keys keep their values.

#include "FuzzSupport.h"

#include "core/app/CPrivateProfile.h"
#include "core/report/ChapterSettings.h"
#include "core/report/basResOutPrn.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = ormavex::fuzz::ScratchFolder() + "/settings.ini";
    ormavex::fuzz::WriteWhole(path, bytes);

    auto state = std::make_unique<ormavex::ReportState>();
    ormavex::LoadNumberingSettings(*state, path);
    for (int k = 1; k <= 4; ++k) {
        FUZZ_CHECK(state->margins[k] >= 0 && state->margins[k] <= ormavex::kMaxHeadingMargin);
        FUZZ_CHECK(state->styles[k] >= 0 && state->styles[k] <= ormavex::kMaxHeadingStyle);
    }
    FUZZ_CHECK(state->method >= 0 && state->method <= ormavex::kMaxHeadingMethod);

    using ormavex::CPrivateProfile;
    const std::string before = CPrivateProfile::GetValueStringWhole(path, "Window", "Left");
    const std::string value = "12 ｶﾞｲﾄﾞ";
    if (CPrivateProfile::SetValueString(path, "Chapter", "Margin1", value)) {
        FUZZ_CHECK(CPrivateProfile::GetValueStringWhole(path, "Chapter", "Margin1") == value);
        FUZZ_CHECK(CPrivateProfile::GetValueLong(path, "Chapter", "Margin1") == 12);
        FUZZ_CHECK(CPrivateProfile::GetValueStringWhole(path, "Window", "Left") == before);
    }
    return 0;
}
