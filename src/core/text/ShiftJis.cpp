#include "core/text/ShiftJis.h"

#include "core/platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>

namespace ormavex {

namespace {

// Position of the first byte of 0x80 or above at or after `from`; the size
// when there is none. Eight bytes at a time.
std::size_t FirstHighByte(std::string_view s, std::size_t from) noexcept {
    std::size_t i = from;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, s.data() + i, 8);
        if ((w & 0x8080808080808080ULL) != 0) {
            break;
        }
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) {
        ++i;
    }
    return i;
}

// The conversions to Shift_JIS of the non-ASCII texts and runs seen last,
// one cache per thread: a report converts the same few labels and headings
// again and again. A run is kept in a slot chosen by its bytes and takes the place of
// the run there. The slots are plain storage with nothing to destroy, so
// that a thread may end while its cache is in use anywhere: a thread-local
// object with a destructor is not safe to leave behind on every runtime
// (MinGW's runs it after the thread's storage is freed). Runs of up to
// MaxRunBytes bytes whose conversion takes at most MaxConvertedBytes are
// kept.
template <std::size_t Slots, std::size_t MaxRunBytes, std::size_t MaxConvertedBytes>
class RunCache {
public:
    /// Appends the conversion of `run` to `out`.
    template <typename Convert>
    void append(std::string& out, std::string_view run, Convert convert) {
        if (run.size() > kMaxRunBytes) {
            out += convert(run);
            return;
        }
        std::uint32_t hash = 2166136261u;
        for (const char c : run) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        Slot& slot = m_slots[hash % kSlots];
        if (!slot.used || slot.runBytes != run.size() ||
            std::memcmp(slot.run, run.data(), run.size()) != 0) {
            const std::string converted = convert(run);
            if (converted.size() > kMaxConvertedBytes) {
                out += converted;
                return;
            }
            slot.used = true;
            slot.runBytes = static_cast<std::uint8_t>(run.size());
            slot.convertedBytes = static_cast<std::uint8_t>(converted.size());
            std::memcpy(slot.run, run.data(), run.size());
            std::memcpy(slot.converted, converted.data(), converted.size());
        }
        out.append(slot.converted, slot.convertedBytes);
    }

private:
    static constexpr std::size_t kSlots = Slots;
    static constexpr std::size_t kMaxRunBytes = MaxRunBytes;
    static constexpr std::size_t kMaxConvertedBytes = MaxConvertedBytes;
    static_assert(kMaxRunBytes <= 255 && kMaxConvertedBytes <= 255);
    struct Slot {
        bool used;
        std::uint8_t runBytes;
        std::uint8_t convertedBytes;
        char run[kMaxRunBytes];
        char converted[kMaxConvertedBytes];
    };
    Slot m_slots[kSlots];
};

// Short runs of UTF-8: a run of 64 bytes converts to at most 64 bytes of
// Shift_JIS ("?" for what is not UTF-8).
using ShortRuns = RunCache<128, 64, 64>;
static_assert(std::is_trivially_destructible_v<ShortRuns>);

// The system's converter does the work: iconv on Linux, code page 932 of
// Windows there.
std::string Utf8RunToSjis(std::string_view run) { return platform::Utf8ToCp932(run); }

} // namespace

bool IsAscii(std::string_view s) noexcept { return FirstHighByte(s, 0) == s.size(); }

namespace {

// ASCII is the same in both encodings and is copied as it is; only the runs
// of other characters go through the converter. A run of UTF-8 ends before
// the next ASCII byte (no multi-byte sequence holds one). A run that ends
// inside a sequence is a malformed tail: it and everything after it go to the
// converter in one piece, exactly as the whole text would.
void AppendRuns(std::string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t j = FirstHighByte(utf8, i);
        out.append(utf8.data() + i, j - i);
        if (j == utf8.size()) {
            break;
        }
        std::size_t k = j;
        bool whole = true;
        while (k < utf8.size() && static_cast<unsigned char>(utf8[k]) >= 0x80) {
            const std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(utf8[k]));
            if (n < 2 || k + n > utf8.size()) {
                whole = false;
                break;
            }
            for (std::size_t m = 1; m < n; ++m) {
                if ((static_cast<unsigned char>(utf8[k + m]) & 0xC0) != 0x80) {
                    whole = false;
                }
            }
            if (!whole) {
                break;
            }
            k += n;
        }
        if (!whole) {
            out += Utf8RunToSjis(utf8.substr(j));
            break;
        }
        thread_local ShortRuns runs;
        runs.append(out, utf8.substr(j, k - j), Utf8RunToSjis);
        i = k;
    }
}

} // namespace

void AppendShiftJis(std::string& out, std::string_view utf8) {
    if (IsAscii(utf8)) {
        out += utf8;
        return;
    }
    // A report writes the same headings and template lines page after page:
    // whole texts are kept converted as well, in a cache of their own.
    // A text converts to at most its own size in Shift_JIS ("?" for a byte
    // that is not UTF-8).
    thread_local RunCache<64, 128, 128> texts;
    texts.append(out, utf8, [](std::string_view text) {
        std::string converted;
        AppendRuns(converted, text);
        return converted;
    });
}

std::string ToShiftJis(std::string_view utf8) {
    std::string out;
    AppendShiftJis(out, utf8);
    return out;
}

std::string FromShiftJis(std::string_view sjis) {
    // Read from a table, ASCII as it is: no converter and no cache needed.
    return IsAscii(sjis) ? std::string(sjis) : platform::Cp932ToUtf8(sjis);
}

std::size_t ShiftJisLength(std::string_view utf8) {
    return IsAscii(utf8) ? utf8.size() : ToShiftJis(utf8).size();
}

std::size_t ShiftJisCharOffset(std::string_view sjis, std::size_t chars) noexcept {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < chars && pos < sjis.size(); ++i) {
        pos += IsShiftJisLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
    }
    return std::min(pos, sjis.size());
}

std::size_t ShiftJisCutLength(std::string_view sjis, std::size_t bytes) noexcept {
    std::size_t pos = 0;
    while (pos < sjis.size()) {
        const std::size_t n = IsShiftJisLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
        if (pos + n > bytes) {
            break;
        }
        pos += n;
    }
    return std::min(pos, sjis.size());
}

std::string CutToShiftJisBytes(std::string_view utf8, std::size_t bytes) {
    const std::string s = ToShiftJis(utf8);
    return FromShiftJis(std::string_view(s).substr(0, ShiftJisCutLength(s, bytes)));
}

} // namespace ormavex
