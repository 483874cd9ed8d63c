#pragma once
// The two style files of the program folder as the renderer applies them.
//
// LINE_PRN.DEF: after a first line that is skipped whole, records of
//   key, pen width (1/100 mm), dash pattern code, comment
// until the key "END". Dash codes: 0 solid, 1 dashed, 2 dotted, 3 chain
// (dash-dot), 4 two-dot chain; any other code draws solid.
// STR_PRN.DEF: after the first line, records of
//   key, face code, face name, character height (twips), weight (400 normal,
//   700 bold), italic (0/1), character spacing (twips), comment
// until "END". Height, weight and italic are applied; every text is drawn in
// the report's Japanese monospaced font, whose full-width characters are as
// wide as they are high, as the drawing writer measures them.
//
// Guarantees: reading never throws. A missing or malformed file leaves the
// built-in table (the values of the delivered files) in place and says why in
// the returned note. Style numbers outside the table fall back to style 1.

#include <string>
#include <string_view>
#include <vector>

namespace ormavex::render {

enum class DashPattern { Solid = 0, Dashed = 1, Dotted = 2, Chain = 3, TwoDotChain = 4 };

struct LineStyle {
    int widthHundredthsMm = 18;
    DashPattern dash = DashPattern::Solid;
};

struct TextStyle {
    std::string fontName;
    int heightTwips = 180;
    bool bold = false;
    bool italic = false;
};

class StyleTables {
public:
    /// The built-in tables, those of the delivered files: 9 line styles (1 thin
    /// solid, 3 thick solid, 7 chain) and 3 text styles (1: 240 twips bold,
    /// 2: 180 twips, 3: 120 twips).
    StyleTables();

    /// Line style n (1-based); style 1 for an unknown number.
    const LineStyle& line(int n) const noexcept;
    /// Text style n (1-based); style 1 for an unknown number.
    const TextStyle& text(int n) const noexcept;
    /// Character height of text style n in millimetres (twips / 1440 x 25.4).
    double textHeightMm(int n) const noexcept;
    int lineCount() const noexcept { return static_cast<int>(m_lines.size()); }
    int textCount() const noexcept { return static_cast<int>(m_texts.size()); }

    /// Replaces the line table with the records of LINE_PRN.DEF bytes. Returns
    /// false (table unchanged, `problem` set) when no record could be read.
    bool readLineStyles(std::string_view bytes, std::string* problem);
    /// Same for STR_PRN.DEF bytes.
    bool readTextStyles(std::string_view bytes, std::string* problem);

    /// Reads both files from the program folder; notes about missing or bad
    /// files are appended to `notes`.
    void load(const std::string& programFolder, std::vector<std::string>* notes);

private:
    std::vector<LineStyle> m_lines;
    std::vector<TextStyle> m_texts;
};

} // namespace ormavex::render
