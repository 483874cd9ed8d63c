#pragma once
// Reader of list-input items: the fields of project files and coefficient
// files. Works on the file's raw Shift_JIS bytes (quotes, commas and line ends
// never occur inside a double-byte character); quoted text is returned as
// bytes for the caller to convert.

#include <cstddef>
#include <string_view>

namespace ormavex {

class ListInputReader {
public:
    struct Field {
        std::string_view text; ///< without quotes and surrounding blanks
        bool quoted = false;   ///< the item stood in double quotes
        bool empty = false;    ///< an empty line (no item at all)
    };

    explicit ListInputReader(std::string_view data) noexcept : m_data(data) {}

    /// The next item. Items are separated by commas and line ends; blanks
    /// around an unquoted item are skipped; a double-quoted item runs to the
    /// next double quote (a missing closing quote ends it at the line end) and
    /// whatever follows it up to the next separator is dropped. An empty line
    /// is an empty item. Returns false when the data has ended.
    bool next(Field& field) noexcept;

    /// The next numeric field: like next(), but blanks also separate fields
    /// and empty lines are skipped. Returns false when the data has ended.
    bool nextNumberField(std::string_view& text) noexcept;

    bool atEnd() const noexcept { return m_pos >= m_data.size(); }
    std::size_t position() const noexcept { return m_pos; }

private:
    void skipBlanks() noexcept;
    void consumeSeparator() noexcept;

    std::string_view m_data;
    std::size_t m_pos = 0;
};

} // namespace ormavex
