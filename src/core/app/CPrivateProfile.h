#pragma once
// INI files (the settings file, the side-ratio list): sections in brackets
// holding key=value lines, Shift_JIS with CR LF. Section and key names match
// without regard to letter case. Reading never fails: a missing file, section
// or key gives the default. Strings are cut to 127 bytes of their Shift_JIS
// form, as a 128-byte buffer holds them.

#include <cstdint>
#include <string>
#include <string_view>

namespace ormavex {

class CPrivateProfile {
public:
    /// The key's value as a 32-bit integer: its leading sign and digits, 0 when
    /// the file or key is missing or the value does not start with digits.
    static std::int32_t GetValueLong(const std::string& strINIFileName,
                                     const std::string& strSection, const std::string& strKey);
    /// The same from the bytes of an INI file already read (empty bytes: a
    /// missing file), for reading many keys with one read of the file.
    static std::int32_t GetValueLongIn(std::string_view iniBytes, const std::string& strSection,
                                       const std::string& strKey);
    /// The key's text (blanks around it and one pair of enclosing quotes
    /// removed), at most 127 bytes; empty when missing.
    static std::string GetValueString(const std::string& strINIFileName,
                                      const std::string& strSection, const std::string& strKey);
    /// The key's text as GetValueString gives it, but whole, however long:
    /// for paths (recent files, the last folder), which are often longer
    /// than 127 bytes.
    static std::string GetValueStringWhole(const std::string& strINIFileName,
                                           const std::string& strSection,
                                           const std::string& strKey);
    /// Writes the key, creating the file and the section when needed. True on
    /// success. The file is replaced as a whole, never left half written.
    static bool SetValueString(const std::string& strINIFileName, const std::string& strSection,
                               const std::string& strKey, const std::string& strValue);
};

/// A key's text read into a 128-byte buffer with an empty default.
std::string GetIniString(const std::string& section, const std::string& key,
                         const std::string& path);

} // namespace ormavex
