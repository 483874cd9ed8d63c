#include "core/report/ChapterSettings.h"

#include "core/app/CPrivateProfile.h"
#include "core/text/TextFile.h"

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

bool WriteChapterSettings(const std::string& settingsFile, const ChapterSettings& s) {
    auto put = [&settingsFile](const std::string& key, const std::string& value) {
        return CPrivateProfile::SetValueString(settingsFile, "Chapter", key, value);
    };
    bool ok = put("Method", s.method < 0 ? std::string() : std::to_string(s.method)) &&
              put("Init", std::to_string(s.init));
    for (std::size_t k = 0; ok && k < s.styles.size(); ++k) {
        const std::string digit = std::to_string(k + 1);
        ok = put("Style" + digit, std::to_string(s.styles[k])) &&
             put("Margin" + digit, std::to_string(s.margins[k]));
    }
    return ok;
}

} // namespace ormavex
