#include "core/drawing/StyleFiles.h"

#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

namespace ormavex {

namespace {

// The fields of a style file after its first line, empty lines skipped.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : m_reader(AfterFirstLine(bytes)) {}

    bool next(std::string_view& field) noexcept {
        ListInputReader::Field f;
        while (m_reader.next(f)) {
            if (!f.empty) {
                field = f.text;
                return true;
            }
        }
        return false;
    }

    bool text(std::string& value) {
        std::string_view field;
        if (!next(field)) {
            return false;
        }
        value = FromShiftJis(field);
        return true;
    }

    bool skip() noexcept {
        std::string_view field;
        return next(field);
    }

    bool integer(std::int32_t& value) noexcept {
        std::string_view field;
        if (!next(field)) {
            return false;
        }
        double v = 0.0;
        if (!ParseNumber(field, v) || !RoundToInt32(v, value)) {
            value = 0;
        }
        return true;
    }

private:
    static std::string_view AfterFirstLine(std::string_view bytes) noexcept {
        LineReader lines(bytes);
        lines.skip(1);
        return bytes.substr(lines.position());
    }

    ListInputReader m_reader;
};

// The fields after the key; false when the file ends inside the record.
bool ReadRecord(FieldReader& in, LineStyle& s) {
    return in.integer(s.width) && in.integer(s.dash) && in.skip();
}

bool ReadRecord(FieldReader& in, TextStyle& s) {
    return in.integer(s.face) && in.text(s.fontName) && in.integer(s.height) &&
           in.integer(s.weight) && in.integer(s.italic) && in.integer(s.spacing) && in.skip();
}

template <typename Style> StyleFile<Style> Parse(std::string_view bytes) {
    StyleFile<Style> file;
    FieldReader in(bytes);
    std::string_view key;
    while (in.next(key)) {
        if (key == "END") {
            file.ended = true;
            break;
        }
        Style s;
        if (!ReadRecord(in, s)) {
            break;
        }
        file.records.push_back(std::move(s));
    }
    return file;
}

} // namespace

StyleFile<LineStyle> ParseLineStyles(std::string_view bytes) { return Parse<LineStyle>(bytes); }

StyleFile<TextStyle> ParseTextStyles(std::string_view bytes) { return Parse<TextStyle>(bytes); }

} // namespace ormavex
