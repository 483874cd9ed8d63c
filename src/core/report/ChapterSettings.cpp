#include "ChapterSettings.h"

#include "app/CPrivateProfile.h"
#include "text/TextFile.h"

namespace ormavex {

ChapterSettings ChapterSettingsIn(std::string_view ini) {
    auto value = [ini](const std::string& key, int low, int high) {
        return ClampSetting(CPrivateProfile::GetValueLongIn(ini, "Chapter", key), low, high);
    };
    ChapterSettings s;
    s.method = value("Method", 0, kMaxHeadingMethod);
    s.init = value("Init", 0, kMaxHeadingInit);
    for (int k = 1; k <= 4; ++k) {
        const std::string digit = std::to_string(k);
        s.styles[static_cast<std::size_t>(k - 1)] = value("Style" + digit, 0, kMaxHeadingStyle);
        s.margins[static_cast<std::size_t>(k - 1)] = value("Margin" + digit, 0, kMaxHeadingMargin);
    }
    return s;
}

ChapterSettings ReadChapterSettings(const std::string& settingsFile) {
    std::string ini; // left empty, as a missing file, when it cannot be read
    Error error;
    ReadFileBytes(settingsFile, ini, error, FileLimit::Settings);
    return ChapterSettingsIn(ini);
}

} // namespace ormavex
