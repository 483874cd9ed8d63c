#pragma once
// The heading numbering values of section "Chapter" of the settings file,
// read once and kept within the ranges that the numbering dialog offers, so
// that neither the report writer nor the dialog ever works with a value it
// could not have set itself; and written back as the dialog leaves them.

#include <array>
#include <string>
#include <string_view>

namespace ormavex {

inline constexpr int kMaxHeadingMargin = 10; ///< blanks before a heading number
inline constexpr int kMaxHeadingInit = 99;   ///< initial number of the chapter
inline constexpr int kMaxHeadingStyle = 9;   ///< styles 1..9; 0 = none chosen
inline constexpr int kMaxHeadingMethod = 3;  ///< methods 0..3

struct ChapterSettings {
    int method = 0;
    int init = 0;
    std::array<int, 4> styles{};  ///< levels 1..4 at [0..3]
    std::array<int, 4> margins{}; ///< levels 1..4 at [0..3]
};

/// Reads keys "Method", "Init", "Style1".."Style4" and "Margin1".."Margin4"
/// from the bytes of a settings file (empty: a missing file; a missing key
/// reads as 0). A value outside its range becomes the nearest value inside.
ChapterSettings ChapterSettingsIn(std::string_view iniBytes);

/// The same from the file (one read; an unreadable file reads as missing).
ChapterSettings ReadChapterSettings(const std::string& settingsFile);

/// Writes the keys ReadChapterSettings reads into the settings file, one
/// key after the other; a method below 0 (none chosen) is written empty.
/// False when a key could not be written (the keys before it stay written).
bool WriteChapterSettings(const std::string& settingsFile, const ChapterSettings& settings);

/// `value` within [low, high].
constexpr int ClampSetting(long long value, int low, int high) noexcept {
    return value < low ? low : value > high ? high : static_cast<int>(value);
}

} // namespace ormavex
