#include "core/text/ListInput.h"

namespace ormavex {

namespace {
bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) noexcept { return c == '\r' || c == '\n'; }
} // namespace

void ListInputReader::skipBlanks() noexcept {
    while (m_pos < m_data.size() && IsBlank(m_data[m_pos])) {
        ++m_pos;
    }
}

// Consumes one comma or one line end (CR LF, CR or LF) at the current position.
void ListInputReader::consumeSeparator() noexcept {
    if (m_pos >= m_data.size()) {
        return;
    }
    char c = m_data[m_pos];
    if (c == ',') {
        ++m_pos;
        // A comma at the very end of a line also ends the line.
        skipBlanks();
        if (m_pos < m_data.size() && IsLineEnd(m_data[m_pos])) {
            consumeSeparator();
        }
    } else if (c == '\r') {
        ++m_pos;
        if (m_pos < m_data.size() && m_data[m_pos] == '\n') {
            ++m_pos;
        }
    } else if (c == '\n') {
        ++m_pos;
    }
}

bool ListInputReader::next(Field& field) noexcept {
    if (m_pos >= m_data.size()) {
        return false;
    }
    field = Field{};
    skipBlanks();
    if (m_pos >= m_data.size() || IsLineEnd(m_data[m_pos])) {
        field.empty = true;
        consumeSeparator();
        return true;
    }
    if (m_data[m_pos] == '"') {
        std::size_t start = ++m_pos;
        while (m_pos < m_data.size() && m_data[m_pos] != '"' && !IsLineEnd(m_data[m_pos])) {
            ++m_pos;
        }
        field.text = m_data.substr(start, m_pos - start);
        field.quoted = true;
        if (m_pos < m_data.size() && m_data[m_pos] == '"') {
            ++m_pos;
        }
        while (m_pos < m_data.size() && m_data[m_pos] != ',' && !IsLineEnd(m_data[m_pos])) {
            ++m_pos;
        }
        consumeSeparator();
        return true;
    }
    std::size_t start = m_pos;
    while (m_pos < m_data.size() && m_data[m_pos] != ',' && !IsLineEnd(m_data[m_pos])) {
        ++m_pos;
    }
    std::size_t end = m_pos;
    while (end > start && IsBlank(m_data[end - 1])) {
        --end;
    }
    field.text = m_data.substr(start, end - start);
    consumeSeparator();
    return true;
}

bool ListInputReader::nextNumberField(std::string_view& text) noexcept {
    while (m_pos < m_data.size() &&
           (IsBlank(m_data[m_pos]) || IsLineEnd(m_data[m_pos]) || m_data[m_pos] == ',')) {
        ++m_pos;
    }
    if (m_pos >= m_data.size()) {
        return false;
    }
    std::size_t start = m_pos;
    while (m_pos < m_data.size() && !IsBlank(m_data[m_pos]) && !IsLineEnd(m_data[m_pos]) &&
           m_data[m_pos] != ',') {
        ++m_pos;
    }
    text = m_data.substr(start, m_pos - start);
    return true;
}

} // namespace ormavex
