#pragma once
// Reading code page 932 (Shift_JIS) into UTF-8, the same on every system:
// from a table made from glibc's iconv conversion, so that no converter
// module is loaded to read a project.

#include "core/platform/Cp932ReadTable.h"
#include "core/platform/Utf8.h"

#include <string>
#include <string_view>

namespace ormavex::platform::cp932 {

/// `bytes` as UTF-8. A lead byte takes the next byte with it, even when the
/// two are no character, and a lead byte at the end stands alone; what is no
/// character is U+FFFD.
inline std::string Read(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2 + 8);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        char16_t c = u'\uFFFD';
        if (lead && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (trail >= 0x40 && trail <= 0xFC) {
                c = kPairs[b <= 0x9F ? b - 0x81 : b - 0xE0 + 0x1F][trail - 0x40];
            }
            i += 2;
        } else {
            c = kSingle[b - 0x80];
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace ormavex::platform::cp932
