#include "core/report/StyleTables.h"

#include "core/text/TextFile.h"

#include <algorithm>

namespace ormavex::printfile {

namespace {

// More records than the drawing writer ever names; the rest are ignored.
constexpr std::size_t kMaxStyles = 99;

// The records of a file in place of `table`, made paintable by `clamp`;
// false (table unchanged) when the file holds none.
template <typename Style, typename Clamp>
bool Replace(std::vector<Style>& table, StyleFile<Style> file, const char* kind,
             std::string* problem, Clamp clamp) {
    if (file.records.empty()) {
        if (problem != nullptr) {
            *problem = std::string("no ") + kind + " style record";
        }
        return false;
    }
    if (!file.ended && problem != nullptr) {
        *problem = "no END record";
    }
    file.records.resize(std::min(file.records.size(), kMaxStyles));
    std::for_each(file.records.begin(), file.records.end(), clamp);
    table = std::move(file.records);
    return true;
}

} // namespace

StyleTables::StyleTables() {
    // The values of the delivered LINE_PRN.DEF and STR_PRN.DEF.
    m_lines = {{18, 0}, {35, 0}, {50, 0}, {18, 1}, {18, 2}, {35, 1}, {18, 3}, {18, 4}, {35, 3}};
    m_texts = {
        {1, "ｺﾞｼｯｸ", 240, 700, 0, 0}, {1, "ｺﾞｼｯｸ", 180, 400, 0, 0}, {1, "ｺﾞｼｯｸ", 120, 400, 0, 0}};
}

const LineStyle& StyleTables::line(int n) const noexcept {
    return n < 1 || n > lineCount() ? m_lines.front() : m_lines[static_cast<std::size_t>(n - 1)];
}

const TextStyle& StyleTables::text(int n) const noexcept {
    return n < 1 || n > textCount() ? m_texts.front() : m_texts[static_cast<std::size_t>(n - 1)];
}

double StyleTables::textHeightMm(int n) const noexcept { return TwipsToMm(text(n).height); }

bool StyleTables::readLineStyles(std::string_view bytes, std::string* problem) {
    return Replace(m_lines, ParseLineStyles(bytes), "line", problem, [](LineStyle& s) {
        s.width = std::clamp(s.width, 0, 1000);
        s.dash = s.dash >= 0 && s.dash <= 4 ? s.dash : 0;
    });
}

bool StyleTables::readTextStyles(std::string_view bytes, std::string* problem) {
    return Replace(m_texts, ParseTextStyles(bytes), "text", problem, [](TextStyle& s) {
        // 1 to 2880 twips: 0.02 to 50.8 mm; anything else cannot be meant.
        s.height = std::clamp(s.height, 1, 2880);
    });
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
        if (!ReadFileBytes(path, bytes, error, FileLimit::Style)) {
            problem = "not read (error " + std::to_string(error.code()) + "), built-in styles used";
        } else if (!(this->*f.read)(bytes, &problem)) {
            problem += ", built-in styles used";
        }
        if (!problem.empty() && notes != nullptr) {
            notes->push_back(std::string(f.name) + ": " + problem);
        }
    }
}

} // namespace ormavex::printfile
