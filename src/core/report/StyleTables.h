#pragma once
// The two style files of the program folder as the renderer applies them
// (their records: drawing/StyleFiles.h). Dash codes: 0 solid, 1 dashed,
// 2 dotted, 3 chain (dash-dot), 4 two-dot chain. A text style's height,
// weight (600 and above is bold) and italic flag are applied; every text is
// drawn in the report's Japanese monospaced font, whose full-width
// characters are as wide as they are high, as the drawing writer measures
// them.
//
// Guarantees: reading never throws. A missing file, or one without a single
// record, leaves the built-in table (the values of the delivered files) in
// place and says why in the returned note; so does a file without "END",
// whose records are used. The tables hold only values that can be painted:
// pen widths 0 to 1000 (1/100 mm), a dash code of 0 to 4 (any other code
// draws solid), heights of 1 to 2880 twips; at most 99 records each. Style
// numbers outside a table fall back to style 1.

#include "core/drawing/StyleFiles.h"

#include <string>
#include <string_view>
#include <vector>

namespace ormavex::printfile {

enum class DashPattern { Solid = 0, Dashed = 1, Dotted = 2, Chain = 3, TwoDotChain = 4 };

/// The dash pattern of a line style of the tables.
inline DashPattern Dash(const LineStyle& style) noexcept {
    return static_cast<DashPattern>(style.dash);
}

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

} // namespace ormavex::printfile
