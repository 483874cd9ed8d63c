#include "StyleTables.h"

#include "text/LeadingNumber.h"
#include "text/ListInput.h"
#include "text/ShiftJis.h"
#include "text/TextFile.h"

#include <algorithm>
#include <cmath>

namespace ormavex::render {

namespace {

// More records than the drawing writer ever names; the rest are ignored.
constexpr int kMaxStyles = 99;
// Style files are a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxStyleFileBytes = 1u << 20;

// The fields of a style file after its first line, blank lines skipped.
class StyleFieldReader {
public:
    explicit StyleFieldReader(std::string_view bytes) : m_reader(SkipFirstLine(bytes)) {}

    bool next(std::string_view& text) {
        ListInputReader::Field f;
        while (m_reader.next(f)) {
            if (!f.empty) {
                text = f.text;
                return true;
            }
        }
        return false;
    }

    bool nextInt(int& value) {
        std::string_view text;
        if (!next(text)) {
            return false;
        }
        double v = LeadingNumber(text);
        if (!std::isfinite(v)) {
            v = 0.0;
        }
        value = static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
        return true;
    }

private:
    static std::string_view SkipFirstLine(std::string_view bytes) {
        LineReader lines(bytes);
        lines.skip(1);
        return bytes.substr(lines.position());
    }

    ListInputReader m_reader;
};

} // namespace

StyleTables::StyleTables() {
    // The values of the delivered LINE_PRN.DEF and STR_PRN.DEF.
    m_lines = {{18, DashPattern::Solid},  {35, DashPattern::Solid},  {50, DashPattern::Solid},
               {18, DashPattern::Dashed}, {18, DashPattern::Dotted}, {35, DashPattern::Dashed},
               {18, DashPattern::Chain},  {18, DashPattern::TwoDotChain},
               {35, DashPattern::Chain}};
    m_texts = {TextStyle{"ｺﾞｼｯｸ", 240, true, false}, TextStyle{"ｺﾞｼｯｸ", 180, false, false},
               TextStyle{"ｺﾞｼｯｸ", 120, false, false}};
}

const LineStyle& StyleTables::line(int n) const noexcept {
    if (n < 1 || n > lineCount()) {
        return m_lines.front();
    }
    return m_lines[static_cast<std::size_t>(n - 1)];
}

const TextStyle& StyleTables::text(int n) const noexcept {
    if (n < 1 || n > textCount()) {
        return m_texts.front();
    }
    return m_texts[static_cast<std::size_t>(n - 1)];
}

double StyleTables::textHeightMm(int n) const noexcept {
    return text(n).heightTwips / 1440.0 * 25.4;
}

bool StyleTables::readLineStyles(std::string_view bytes, std::string* problem) {
    StyleFieldReader in(bytes);
    std::vector<LineStyle> table;
    std::string_view key;
    bool ended = false;
    while (in.next(key)) {
        if (key == "END") {
            ended = true;
            break;
        }
        int width = 0;
        int dash = 0;
        std::string_view comment;
        if (!in.nextInt(width) || !in.nextInt(dash) || !in.next(comment)) {
            break;
        }
        if (static_cast<int>(table.size()) < kMaxStyles) {
            LineStyle s;
            s.widthHundredthsMm = std::clamp(width, 0, 1000);
            s.dash = (dash >= 0 && dash <= 4) ? static_cast<DashPattern>(dash) : DashPattern::Solid;
            table.push_back(s);
        }
    }
    if (table.empty()) {
        if (problem != nullptr) {
            *problem = "no line style record";
        }
        return false;
    }
    if (!ended && problem != nullptr) {
        *problem = "no END record";
    }
    m_lines = std::move(table);
    return true;
}

bool StyleTables::readTextStyles(std::string_view bytes, std::string* problem) {
    StyleFieldReader in(bytes);
    std::vector<TextStyle> table;
    std::string_view key;
    bool ended = false;
    while (in.next(key)) {
        if (key == "END") {
            ended = true;
            break;
        }
        int face = 0;
        std::string_view font;
        int height = 0;
        int weight = 0;
        int italic = 0;
        int spacing = 0;
        std::string_view comment;
        if (!in.nextInt(face) || !in.next(font) || !in.nextInt(height) || !in.nextInt(weight) ||
            !in.nextInt(italic) || !in.nextInt(spacing) || !in.next(comment)) {
            break;
        }
        if (static_cast<int>(table.size()) < kMaxStyles) {
            // 1 to 2880 twips: 0.02 to 50.8 mm; anything else cannot be meant.
            table.push_back(
                TextStyle{FromShiftJis(font), std::clamp(height, 1, 2880), weight >= 600, italic != 0});
        }
    }
    if (table.empty()) {
        if (problem != nullptr) {
            *problem = "no text style record";
        }
        return false;
    }
    if (!ended && problem != nullptr) {
        *problem = "no END record";
    }
    m_texts = std::move(table);
    return true;
}

void StyleTables::load(const std::string& programFolder, std::vector<std::string>* notes) {
    struct File {
        const char* name;
        bool (StyleTables::*read)(std::string_view, std::string*);
    };
    for (const File& f : {File{"LINE_PRN.DEF", &StyleTables::readLineStyles},
                          File{"STR_PRN.DEF", &StyleTables::readTextStyles}}) {
        const std::string path = programFolder + "/" + f.name;
        std::string bytes;
        Error error;
        std::string problem;
        if (!ReadFileBytes(path, bytes, error, kMaxStyleFileBytes)) {
            problem = "not read (error " + std::to_string(error.code()) + "), built-in styles used";
        } else if (bytes.size() > kMaxStyleFileBytes) {
            problem = "too large, built-in styles used";
        } else if (!(this->*f.read)(bytes, &problem)) {
            problem += ", built-in styles used";
        }
        if (!problem.empty() && notes != nullptr) {
            notes->push_back(std::string(f.name) + ": " + problem);
        }
    }
}

} // namespace ormavex::render
