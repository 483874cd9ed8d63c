#include "core/app/CPrivateProfile.h"

#include "core/text/Blanks.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <cctype>
#include <optional>
#include <vector>

namespace ormavex {

namespace {

// The lines of a settings file, without their line ends.
std::vector<std::string> SplitLines(std::string_view data) {
    std::vector<std::string> lines;
    LineReader reader(data);
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

// The index of the first line that sets key `k` in section `sec` (names
// compared without case), or npos. `sectionEnd` receives the index behind the
// section's last key line (npos when there is no such section).
std::size_t FindKey(const std::vector<std::string>& lines, std::string_view sec, std::string_view k,
                    std::size_t& sectionEnd) {
    bool inSection = false;
    sectionEnd = std::string::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view t = TrimBlanks(lines[i]);
        if (!t.empty() && t.front() == '[') {
            std::size_t close = t.find(']');
            inSection = close != std::string_view::npos &&
                        EqualsNoCase(TrimBlanks(t.substr(1, close - 1)), sec);
            if (inSection) {
                sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!t.empty()) {
            sectionEnd = i + 1;
        }
        std::size_t eq = t.find('=');
        if (eq != std::string_view::npos && EqualsNoCase(TrimBlanks(t.substr(0, eq)), k)) {
            return i;
        }
    }
    return std::string::npos;
}

// The raw (Shift_JIS) value of a key, or nothing.
std::optional<std::string> RawValueIn(std::string_view data, const std::string& section,
                                      const std::string& key) {
    const std::vector<std::string> lines = SplitLines(data);
    std::size_t sectionEnd = 0;
    const std::size_t i = FindKey(lines, ToShiftJis(section), ToShiftJis(key), sectionEnd);
    if (i == std::string::npos) {
        return std::nullopt;
    }
    const std::string_view t = TrimBlanks(lines[i]);
    std::string_view v = TrimBlanks(t.substr(t.find('=') + 1));
    if (v.size() >= 2 &&
        ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''))) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

std::optional<std::string> RawValue(const std::string& path, const std::string& section,
                                    const std::string& key) {
    std::string data;
    Error error;
    if (!ReadFileBytes(path, data, error, FileLimit::Settings)) {
        return std::nullopt;
    }
    return RawValueIn(data, section, key);
}

std::int32_t LeadingLong(const std::optional<std::string>& v) {
    if (!v) {
        return 0;
    }
    std::size_t i = 0;
    bool neg = false;
    if (i < v->size() && ((*v)[i] == '-' || (*v)[i] == '+')) {
        neg = (*v)[i] == '-';
        ++i;
    }
    std::int64_t n = 0;
    for (; i < v->size() && std::isdigit(static_cast<unsigned char>((*v)[i])); ++i) {
        n = n * 10 + ((*v)[i] - '0');
        if (n > 0x7FFFFFFFLL) {
            n = 0x7FFFFFFFLL + (neg ? 1 : 0);
            break;
        }
    }
    return static_cast<std::int32_t>(neg ? -n : n);
}

std::string Cut127(const std::string& raw) {
    std::string s = raw.size() > 127 ? raw.substr(0, 127) : raw;
    return FromShiftJis(s);
}

} // namespace

std::int32_t CPrivateProfile::GetValueLong(const std::string& strINIFileName,
                                           const std::string& strSection,
                                           const std::string& strKey) {
    return LeadingLong(RawValue(strINIFileName, strSection, strKey));
}

std::int32_t CPrivateProfile::GetValueLongIn(std::string_view iniBytes,
                                             const std::string& strSection,
                                             const std::string& strKey) {
    return LeadingLong(RawValueIn(iniBytes, strSection, strKey));
}

std::string CPrivateProfile::GetValueString(const std::string& strINIFileName,
                                            const std::string& strSection,
                                            const std::string& strKey) {
    std::optional<std::string> v = RawValue(strINIFileName, strSection, strKey);
    return v ? Cut127(*v) : std::string();
}

std::string CPrivateProfile::GetValueStringWhole(const std::string& strINIFileName,
                                                 const std::string& strSection,
                                                 const std::string& strKey) {
    std::optional<std::string> v = RawValue(strINIFileName, strSection, strKey);
    return v ? FromShiftJis(*v) : std::string();
}

bool CPrivateProfile::SetValueString(const std::string& strINIFileName,
                                     const std::string& strSection, const std::string& strKey,
                                     const std::string& strValue) {
    std::string data;
    Error error;
    if (!ReadFileBytes(strINIFileName, data, error, FileLimit::Settings) &&
        error.code() != FileError::FileNotFound) {
        return false;
    }
    const std::string sec = ToShiftJis(strSection);
    const std::string k = ToShiftJis(strKey);
    const std::string newLine = k + "=" + ToShiftJis(strValue);

    std::vector<std::string> lines = SplitLines(data);
    std::size_t sectionEnd = 0;
    const std::size_t found = FindKey(lines, sec, k, sectionEnd);
    if (found != std::string::npos) {
        lines[found] = newLine;
    } else if (sectionEnd == std::string::npos) {
        lines.push_back("[" + sec + "]");
        lines.push_back(newLine);
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), newLine);
    }
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return ReplaceFileContents(strINIFileName, out, error);
}

std::string GetIniString(const std::string& section, const std::string& key,
                         const std::string& path) {
    return CPrivateProfile::GetValueString(path, section, key);
}

} // namespace ormavex
