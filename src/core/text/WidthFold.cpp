#include "core/text/WidthFold.h"

#include "core/platform/Utf8.h"

namespace ormavex {

namespace {

// Half-width katakana U+FF61..U+FF9F and the characters NFKC gives for them.
constexpr char16_t kHalfKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x3099, 0x309A};

constexpr char32_t kVoiced = 0x3099;     // combining voiced mark (from "ﾞ")
constexpr char32_t kSemiVoiced = 0x309A; // combining semi-voiced mark (from "ﾟ")

/// The kana that `base` and a following voiced (or semi-voiced) mark compose
/// to, 0 when they do not compose.
char32_t Compose(char32_t base, char32_t mark) {
    for (const char32_t offset : {char32_t{0}, char32_t{0x60}}) { // hiragana, katakana
        const char32_t b = base - offset;
        if (mark == kVoiced) {
            // か..ち (every other), つ て と, は ひ ふ へ ほ
            if ((b >= 0x304B && b <= 0x3061 && (b - 0x304B) % 2 == 0) || b == 0x3064 ||
                b == 0x3066 || b == 0x3068 ||
                (b >= 0x306F && b <= 0x307B && (b - 0x306F) % 3 == 0)) {
                return base + 1;
            }
            if (b == 0x3046) { // う
                return base + 0x4E;
            }
            if (b == 0x309D) { // ゝ
                return base + 1;
            }
        } else if (b >= 0x306F && b <= 0x307B && (b - 0x306F) % 3 == 0) {
            return base + 2;
        }
    }
    if (mark == kVoiced && ((base >= 0x30EF && base <= 0x30F2) || base == 0x30FD)) {
        return base == 0x30FD ? 0x30FE : base + 8; // ワ ヰ ヱ ヲ ヽ
    }
    return 0;
}

} // namespace

std::string FoldWidth(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    char32_t last = 0;      // the last character written
    std::size_t lastAt = 0; // where it starts in `out`
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        // Only three-byte sequences (U+0800..U+FFFF) hold what is folded;
        // anything else, malformed bytes included, is copied as it is.
        if ((b0 & 0xF0) != 0xE0 || i + 2 >= utf8.size() ||
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) != 0x80 ||
            (static_cast<unsigned char>(utf8[i + 2]) & 0xC0) != 0x80) {
            out += utf8[i];
            last = 0;
            ++i;
            continue;
        }
        char32_t c = (char32_t{b0} & 0x0F) << 12 |
                     (char32_t{static_cast<unsigned char>(utf8[i + 1])} & 0x3F) << 6 |
                     (char32_t{static_cast<unsigned char>(utf8[i + 2])} & 0x3F);
        i += 3;
        if (c >= 0xFF01 && c <= 0xFF5E) {
            c -= 0xFF01 - 0x21;
        } else if (c == 0x3000) {
            c = ' ';
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            c = kHalfKana[c - 0xFF61];
        }
        if ((c == kVoiced || c == kSemiVoiced) && last != 0) {
            if (const char32_t joined = Compose(last, c)) {
                out.resize(lastAt);
                c = joined;
            }
        }
        lastAt = out.size();
        platform::AppendUtf8(out, c);
        last = c;
    }
    return out;
}

} // namespace ormavex
