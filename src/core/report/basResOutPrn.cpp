#include "core/report/basResOutPrn.h"

#include "core/report/ChapterSettings.h"
#include "core/report/PrintFile.h"

#include "core/app/CPrivateProfile.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberPicture.h"
#include "core/text/ShiftJis.h"
#include "core/text/SignalCleanup.h"

#include "core/platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace ormavex {

namespace {

bool IsSingleByte(unsigned char b) noexcept { return b <= 0x7F || (b >= 0xA1 && b <= 0xDF); }

// Replaces every byte that is not part of a whole Shift_JIS character by "?",
// keeping the length: a filled field may have overwritten half of a
// double-byte character of the template.
void RepairShiftJis(std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsShiftJisLeadByte(b)) {
            if (i + 1 < bytes.size() &&
                IsShiftJisTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
                i += 2;
                continue;
            }
            bytes[i] = '?';
        } else if (!IsSingleByte(b)) {
            bytes[i] = '?';
        }
        ++i;
    }
}

// Writes `value` (Shift_JIS) over exactly `width` bytes at `start`: cut at
// the end, a double-byte character that does not fit whole becomes a blank.
void WriteField(std::string& line, std::size_t start, std::size_t width, std::string_view value) {
    std::size_t i = 0;
    while (i < width) {
        if (i >= value.size()) {
            line[start + i] = ' ';
            ++i;
            continue;
        }
        const auto b = static_cast<unsigned char>(value[i]);
        const std::size_t len = IsShiftJisLeadByte(b) && i + 1 < value.size() ? 2 : 1;
        if (i + len > width) {
            line[start + i] = ' ';
            ++i;
            continue;
        }
        line.replace(start + i, len, value.substr(i, len));
        i += len;
    }
}

std::string Blanks(int count) {
    return std::string(count > 0 ? static_cast<std::size_t>(count) : 0u, ' ');
}

// Byte offset of character `chars` (0-based) of a UTF-8 text.
std::size_t Utf8Offset(std::string_view s, std::size_t chars) noexcept {
    std::size_t i = 0;
    for (std::size_t c = 0; c < chars && i < s.size(); ++c) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) {
            ++i;
        }
    }
    return i;
}

// Characters [from, from + count) of a UTF-8 text (count npos: to the end).
std::string_view Utf8Mid(std::string_view s, std::size_t from, std::size_t count) noexcept {
    const std::size_t a = Utf8Offset(s, from);
    if (count == std::string_view::npos) {
        return s.substr(a);
    }
    const std::size_t b = a + Utf8Offset(s.substr(a), count);
    return s.substr(a, b - a);
}

[[noreturn]] void ThrowPrintFileError(const char* verb, const std::string& path, int code) {
    throw Error(std::string("cannot ") + verb + " the print file " + path + " (code " +
                    std::to_string(code) + ")",
                code, path);
}

void CheckWrite(ReportState& state) {
    if (state.out.failed()) {
        ThrowPrintFileError("write", state.currentPrintFile, state.out.errorCode());
    }
}

// Makes a new, empty "~MT" file in `folder`, stores its name in the next
// slot of a list and leaves it open in `out`. The list is untouched when it
// is full or no file could be made.
template <std::size_t N>
std::string MakePrintFile(const std::string& folder, std::array<std::string, N>& slots, int& count,
                          TextOutFile& out, const char* what) {
    if (count >= static_cast<int>(N)) {
        throw Error(std::string("too many ") + what + " print files");
    }
    std::string path;
    int fd = -1;
    int code = 0;
    {
        const HoldCleanupSignals hold; // made and listed as one step
        code = platform::CreateUniqueFile(folder, "~MT", ".tmp", path, fd);
        if (code == 0) {
            RemoveOnSignal(path); // until DeletePrintFiles removes it
        }
    }
    if (code != 0) {
        throw Error("cannot create a temporary file in " + folder + ": " + std::strerror(code),
                    code, folder);
    }
    std::string& slot = slots[static_cast<std::size_t>(count++)];
    slot = path;
    if (!out.adopt(fd, path)) {
        ThrowPrintFileError("open", path, out.errorCode());
    }
    return slot;
}

} // namespace

std::string NewTextPrintFile(PrintFileLists& lists) {
    TextOutFile out;
    return NewTextPrintFile(lists, out); // closed empty
}

std::string NewTextPrintFile(PrintFileLists& lists, TextOutFile& out) {
    return MakePrintFile(lists.folder, lists.text, lists.textCount, out, "text");
}

std::string NewDrawingPrintFile(PrintFileLists& lists, TextOutFile& out) {
    return MakePrintFile(lists.folder, lists.drawing, lists.drawingCount, out, "drawing");
}

void ResetReportRun(ReportState& state) noexcept {
    state.lists.textCount = 0;
    state.lists.drawingCount = 0;
    state.currentLevel = 1;
    for (int k = 1; k <= 4; ++k) {
        state.counters[k] = 0;
    }
}

void LoadNumberingSettings(ReportState& state, const std::string& settingsFile) {
    // One read of the file for all keys; a file that cannot be read gives 0
    // for every key, as a missing key does. Every value is within its range.
    const ChapterSettings s = ReadChapterSettings(settingsFile);
    state.method = s.method;
    for (int k = 1; k <= 4; ++k) {
        state.styles[k] = s.styles[static_cast<std::size_t>(k - 1)];
        state.margins[k] = s.margins[static_cast<std::size_t>(k - 1)];
    }
}

int ReadTemplateSection(const std::string& formatFile, const std::string& section,
                        LevelTable& levels, TemplateTable& templates) {
    FileReadCache files; // disabled: reads the file
    return ReadTemplateSection(files, formatFile, section, levels, templates);
}

namespace {

// The template lines of a section as read: line number, level, template.
struct SectionLines {
    std::vector<std::tuple<int, int, std::string>> lines;
};

int ReadTemplateSectionLines(FileReadCache& files, const std::string& formatFile,
                             const std::string& section, LevelTable& levels,
                             TemplateTable& templates, SectionLines& read);

} // namespace

int ReadTemplateSection(FileReadCache& files, const std::string& formatFile,
                        const std::string& section, LevelTable& levels, TemplateTable& templates) {
    // A section read before in this run is replayed; a failure is not kept,
    // so it is met again the same way.
    const std::string key = "template section\n" + formatFile + "\n" + section;
    const SectionLines* known = files.findParsed<SectionLines>(key);
    if (known == nullptr) {
        SectionLines read;
        const int count =
            ReadTemplateSectionLines(files, formatFile, section, levels, templates, read);
        files.keepParsed(key, std::move(read));
        return count;
    }
    for (const auto& [number, level, text] : known->lines) {
        levels[number] = level;
        templates[number] = text;
    }
    return static_cast<int>(known->lines.size());
}

namespace {

int ReadTemplateSectionLines(FileReadCache& files, const std::string& formatFile,
                             const std::string& section, LevelTable& levels,
                             TemplateTable& templates, SectionLines& read) {
    std::string data;
    Error error;
    if (!files.read(formatFile, data, error, FileLimit::Format)) {
        throw Error("cannot read the report format file " + formatFile + " (code " +
                        std::to_string(error.code()) + ")",
                    error.code(), formatFile);
    }
    // Lines are compared as Shift_JIS bytes, so that only the template lines
    // of the wanted section are converted. A name that Shift_JIS cannot hold
    // matches no line.
    const std::string name = ToShiftJis(section);
    const bool nameFits = FromShiftJis(name) == section;
    LineReader lines(data);
    std::string_view raw;
    bool found = false;
    while (nameFits && lines.next(raw)) {
        if (raw == name) {
            found = true;
            break;
        }
    }
    if (!found) {
        throw Error("section " + section + " is missing from " + formatFile, 0, formatFile);
    }
    int count = 0;
    while (true) {
        if (!lines.next(raw)) {
            throw Error("section " + section + " of " + formatFile + " has no End line", 0,
                        formatFile);
        }
        if (raw == "End") {
            return count;
        }
        if (!raw.empty() && raw[0] == '\'') {
            continue;
        }
        const std::string line = FromShiftJis(raw);
        std::int32_t number = 0;
        if (!RoundToInt32(LeadingNumber(Utf8Mid(line, 0, 3)), number) || number < 1 ||
            number > MaxTemplateLines) {
            throw Error("template line \"" + line + "\" of section " + section +
                            " has no line number from 1 to 20",
                        0, formatFile);
        }
        // One character: at most a single digit, so 0..9.
        levels[number] = static_cast<int>(LeadingNumber(Utf8Mid(line, 4, 1)));
        templates[number] = std::string(Utf8Mid(line, 5, std::string_view::npos));
        read.lines.emplace_back(number, levels[number], templates[number]);
        ++count;
    }
}

// One number formatted by a field's picture, without padding: a picture
// starting with "+" puts "+" in front of a value of zero or more, one
// starting with "\" puts a literal "\" in front of the number.
std::string FormatFieldNumber(double value, std::string_view picture) {
    if (!picture.empty() && picture[0] == '+') {
        std::string s = FormatNumber(value, picture.substr(1));
        return value >= 0.0 ? "+" + s : s;
    }
    if (!picture.empty() && picture[0] == '\\') {
        // "\\" is a literal backslash in a picture.
        return FormatNumber(value, "\\\\" + std::string(picture.substr(1)));
    }
    return FormatNumber(value, picture);
}

} // namespace

std::string FillTemplate(std::string_view templateText, const NumberValues& numbers,
                         const TextValues& texts) {
    const std::string tmpl = ToShiftJis(templateText);
    std::string line = tmpl;
    const std::size_t n = tmpl.size();

    struct Field {
        std::size_t start;
        std::size_t width;
        bool right;
        bool single;
    };

    // Number fields. The scan runs over every byte, trail bytes of double-byte
    // characters included.
    std::vector<Field> numberFields;
    for (std::size_t p = 0; p < n;) {
        const char c = tmpl[p];
        const bool starts =
            c == '#' || ((c == '+' || c == '\\') && p + 1 < n && tmpl[p + 1] == '#');
        if (!starts) {
            ++p;
            continue;
        }
        std::size_t e = p + 1;
        while (e < n && std::string_view("#,.0").find(tmpl[e]) != std::string_view::npos) {
            ++e;
        }
        numberFields.push_back({p, e - p, false, false});
        p = e;
    }

    std::vector<Field> textFields;
    for (std::size_t p = 0; p < n;) {
        const std::size_t amp = tmpl.find('&', p);
        if (amp != std::string::npos) {
            const std::size_t close = tmpl.find('&', amp + 1);
            const std::size_t end = close == std::string::npos ? n : close + 1;
            const bool right = amp + 1 < n && tmpl[amp + 1] == '>';
            textFields.push_back({amp, end - amp, right, false});
            p = end;
            continue;
        }
        const std::size_t bang = tmpl.find('!', p);
        if (bang == std::string::npos) {
            break;
        }
        textFields.push_back({bang, 1, false, true});
        p = bang + 1;
    }

    if (numberFields.size() > static_cast<std::size_t>(MaxTemplateLines) ||
        textFields.size() > static_cast<std::size_t>(MaxTemplateLines)) {
        throw Error("template \"" + std::string(templateText) + "\" has more than 20 fields");
    }

    for (std::size_t k = 0; k < numberFields.size(); ++k) {
        const Field& f = numberFields[k];
        const double value = numbers[static_cast<int>(k) + 1];
        if (!std::isfinite(value)) {
            throw Error("a value of template \"" + std::string(templateText) +
                        "\" is not a finite number");
        }
        std::string s = FormatFieldNumber(value, std::string_view(tmpl).substr(f.start, f.width));
        if (s.size() < f.width) {
            s.insert(0, f.width - s.size(), ' ');
        }
        WriteField(line, f.start, f.width, s);
    }

    for (std::size_t k = 0; k < textFields.size(); ++k) {
        const Field& f = textFields[k];
        const std::string value = ToShiftJis(texts[static_cast<int>(k) + 1]);
        if (value.empty() || f.single) {
            WriteField(line, f.start, f.width, value.substr(0, value.empty() ? 0 : 1));
        } else if (f.right && value.size() < f.width) {
            WriteField(line, f.start, f.width, std::string(f.width - value.size(), ' ') + value);
        } else {
            WriteField(line, f.start, f.width, value);
        }
    }

    RepairShiftJis(line);
    return line;
}

namespace {

bool HeldOpen(const ReportState& state) {
    return state.runHoldsFile && state.out.isOpen() && state.out.path() == state.currentPrintFile;
}

} // namespace

void OpenPrintFile(ReportState& state) {
    if (HeldOpen(state)) {
        return;
    }
    if (!state.out.open(state.currentPrintFile, TextOutFile::Mode::Append)) {
        ThrowPrintFileError("open", state.currentPrintFile, state.out.errorCode());
    }
}

void ClosePrintFile(ReportState& state) {
    if (HeldOpen(state) ? !state.out.flush() : !state.out.close()) {
        ThrowPrintFileError("write", state.currentPrintFile, state.out.errorCode());
    }
}

void PrintTemplateLine(ReportState& state, std::string_view templateText, int level,
                       const NumberValues& numbers, const TextValues& texts) {
    const std::string filled = FillTemplate(templateText, numbers, texts);
    PrintHeadingPrefix(state, level);
    state.out.writeBytes(filled);
    state.out.writeBytes("\r\n");
    CheckWrite(state);
}

std::string HeadingPrefix(ReportState& state, int level) {
    if (level < 0 || level > MaxHeadingLevel) {
        throw Error("heading level " + std::to_string(level) + " is outside 0 to 5");
    }
    if (level == 0) {
        return Blanks(ClampSetting(state.margins[state.currentLevel], 0, kMaxHeadingMargin) + 2);
    }
    const std::string number =
        state.method != NumberingMethod::None ? HeadingNumberText(state, level) : std::string();
    const std::string_view code = level == 1   ? printfile::kHeading1
                                  : level == 2 ? printfile::kHeading2
                                               : std::string_view();
    return Blanks(ClampSetting(state.margins[level], 0, kMaxHeadingMargin)) + std::string(code) +
           number;
}

void PrintHeadingPrefix(ReportState& state, int level) {
    state.out.write(HeadingPrefix(state, level));
    CheckWrite(state);
}

void PrintBlankLines(ReportState& state, int count) {
    for (int i = 0; i < count; ++i) {
        state.out.writeBytes("\r\n");
    }
    CheckWrite(state);
}

void PrintLine(ReportState& state, std::string_view text) {
    state.out.writeLine(text);
    CheckWrite(state);
}

void AppendPageBreak(ReportState& state) noexcept {
    if (HeldOpen(state)) {
        state.out.writeBytes(printfile::kPageBreak);
        if (state.out.failed()) {
            state.out.close(); // the next page opens the file afresh
        }
        return;
    }
    if (state.out.open(state.currentPrintFile, TextOutFile::Mode::Append)) {
        state.out.writeBytes(printfile::kPageBreak);
    }
    state.out.close();
}

std::string HeadingNumberText(ReportState& state, int level) {
    assert(level >= 1 && level <= MaxHeadingLevel);
    state.currentLevel = level;
    state.counters[level] += 1;
    for (int k = level + 1; k <= MaxHeadingLevel; ++k) {
        state.counters[k] = 0;
    }
    std::array<std::string, MaxHeadingLevel + 1> part;
    for (int k = 1; k <= MaxHeadingLevel; ++k) {
        part[static_cast<std::size_t>(k)] = NumberInStyle(state.styles[k], state.counters[k]);
    }
    std::string text;
    if (level >= 3 || state.method == NumberingMethod::Own ||
        state.method == NumberingMethod::None) {
        text = part[static_cast<std::size_t>(level)];
    } else if (level == 1) {
        text = part[1] + ".";
    } else {
        text = part[1] + (state.method == NumberingMethod::Hyphen ? "-" : ".") + part[2];
    }
    return text + " ";
}

std::string NumberInStyle(int style, int& counter) {
    static const char* const kLetters = "abcdefghijklmnopqrstuvwxyz";
    static const char* const kRoman[] = {"i",  "ii",  "iii",  "iv", "v",
                                         "vi", "vii", "viii", "ix", "x"};
    static const char* const kCircled[] = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩",
                                           "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱", "⑲", "⑳"};
    if (counter <= 0) {
        return {};
    }
    auto wrap = [&counter](int last) {
        if (counter > last) {
            counter = 1;
        }
    };
    switch (style) {
    case 1: wrap(99); return std::to_string(counter);
    case 2: wrap(99); return "(" + std::to_string(counter) + ")";
    case 3: wrap(99); return std::to_string(counter) + ")";
    case 4: wrap(26); return std::string("(") + kLetters[counter - 1] + ")";
    case 5: wrap(26); return std::string(1, kLetters[counter - 1]) + ")";
    case 6: wrap(10); return std::string("(") + kRoman[counter - 1] + ")";
    case 7: wrap(10); return std::string(kRoman[counter - 1]) + ")";
    case 8: wrap(20); return kCircled[counter - 1];
    case 9: return "･";
    default: return {};
    }
}

} // namespace ormavex
