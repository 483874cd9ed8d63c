#pragma once
// The drawing buffer of one diagram and its writers.
//
// A diagram fills the buffer (points, lines, arrows, texts: the drawing
// command file's other kinds are produced by nobody), adds dimension
// lines through AddHorizontalDimension/AddVerticalDimension, writes the buffer
// as a drawing command file and places that file on a figure area through a
// figure file. The preview program reads both files.
//
// Lengths are millimetres on paper, x to the right, y upward. The records
// and both file formats are those of DrawingCommandFile.h, FigureFile.h and
// StyleFiles.h.
//
// Failures are thrown as Error: a style file that is missing, ends before
// "END" or has too many records; a table overflow; an unknown text style; a
// file error; a number that is not finite (nothing non-finite is ever written
// into a file).

#include "core/drawing/DrawingCommandFile.h"
#include "core/drawing/FigureFile.h"
#include "core/drawing/StyleFiles.h"
#include "core/text/Error.h"
#include "core/text/TextFile.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ormavex {

/// Capacities the diagrams give the tables.
inline constexpr int MaxLineStyles = 9;
inline constexpr int MaxTextStyles = 3;
inline constexpr int MaxDrawPoints = 600;
inline constexpr int MaxDrawLines = 600;
inline constexpr int MaxDrawArrows = 500;
inline constexpr int MaxDrawTexts = 500;
inline constexpr int MaxFigures = 10;

/// An entry of the figure table: a drawing command file, its offsets on the
/// figure area and the extents read back from the file (rounded to 2
/// decimals there).
struct FigureEntry : FigureFile::Entry {
    DrawingExtents extents;
};

/// A table numbered from 1 with a capacity fixed by reset() and a count of
/// used entries. add() beyond the capacity throws Error.
template <typename T> class DrawTable {
public:
    int count() const noexcept { return static_cast<int>(m_items.size()); }
    /// The entries in number order.
    const std::vector<T>& items() const noexcept { return m_items; }
    const T& operator[](int number) const {
        assert(number >= 1 && number <= count());
        return m_items[static_cast<std::size_t>(number - 1)];
    }
    T& operator[](int number) {
        assert(number >= 1 && number <= count());
        return m_items[static_cast<std::size_t>(number - 1)];
    }

    /// Empties the table and sets its capacity.
    void reset(int capacity) {
        m_capacity = capacity;
        m_items.clear();
        m_items.reserve(static_cast<std::size_t>(capacity));
    }
    void clear() noexcept { m_items.clear(); }
    /// Appends at position count + 1 and returns that number.
    int add(T item, const char* tableName);

private:
    std::vector<T> m_items;
    int m_capacity = 0;
};

/// The drawing buffer, the style tables, the dimension settings and the
/// figure table: the state of the drawing writer, used by one diagram at a
/// time. A diagram calls SizeTables(), reads both style files, sets the
/// dimension settings, fills the buffer and writes its two files.
class DrawingContext {
public:
    // Style tables, refilled by ReadLineStyles / ReadTextStyles.
    DrawTable<LineStyle> LineStyles;
    DrawTable<TextStyle> TextStyles;

    // The drawing buffer.
    DrawTable<DrawPoint> Points;
    DrawTable<DrawLine> Lines;
    DrawTable<DrawArrow> Arrows;
    DrawTable<DrawText> Texts;

    // Dimension settings.
    double DimOffset = 10.0;
    double DimPitch = 5.0;
    double ExtGap = 1.0;
    double TextGap = 1.0;
    std::int32_t CurrentLineStyle = 1;
    std::int32_t CurrentTextStyle = 2;

    DrawTable<FigureEntry> Figures;

    /// The style definition files as read once per report run.
    FileReadCache staticFiles;

    /// Sizes every table with the diagrams' capacities (line styles 9, text
    /// styles 3, points 600, lines 600, arrows 500, texts 500, figures 10)
    /// and empties them.
    void SizeTables();
    /// Sets the counts of the drawing buffer to 0 (style and figure tables kept).
    void ClearBuffer() noexcept;

    /// Refills the line style table from LINE_PRN.DEF.
    void ReadLineStyles(const std::string& path);
    /// Refills the text style table from STR_PRN.DEF.
    void ReadTextStyles(const std::string& path);

    /// Character height of text style `style` in mm. Throws Error for a
    /// style number that is not in the table.
    double TextHeight(std::int32_t style) const {
        if (style < 1 || style > TextStyles.count()) {
            ThrowUndefinedTextStyle(style);
        }
        return TwipsToMm(TextStyles[style].height);
    }
    /// Width of `text` in text style `style`, mm: a full-width (double-byte)
    /// character is as wide as the style's height, a half-width one half that.
    double TextWidth(std::int32_t style, std::string_view text) const;
    /// The same for a text of the buffer, from the counts taken when it was
    /// added: the layout measures every text many times.
    double TextWidth(const DrawText& t) const;

    // Appends to the drawing buffer; each returns the new entry's number.
    int AddPoint(double x, double y);
    int AddLine(int point1, int point2, std::int32_t style);
    int AddArrow(int point, std::int32_t direction, std::int32_t style);
    int AddText(std::string text, std::int32_t style, std::int32_t direction, double x, double y);

    /// A dimension below points A and B (A left of B) at height `position`,
    /// level 1 the nearest: 6 points, up to 3 lines, up to 2 arrows, 1 text
    /// centred between A and B. `flags` of six characters: "1" at 1/2 draws
    /// the extension line at A/B, at 3 the dimension line, at 4/5 the arrow
    /// head at A's/B's end; "U" at 6 puts the text above the line.
    void AddHorizontalDimension(int pointA, int pointB, double position, int level,
                                const std::string& text, std::string_view flags);
    /// The same turned a quarter turn: A below B, the dimension line at x =
    /// `position` right of them, further levels further right; "U" puts the
    /// text on the left of the line, reading upward.
    void AddVerticalDimension(int pointA, int pointB, double position, int level,
                              const std::string& text, std::string_view flags);

    /// Least and greatest x and y over all points and the boxes of all texts
    /// (arrows and the other kinds do not count). All 0 for an empty buffer.
    using Extents = DrawingBounds;
    Extents DrawingExtents() const;

    /// The buffer as the bytes of a drawing command file, replacing `bytes`,
    /// and its extents as the figure placement reads them back (rounded to 2
    /// decimals); the buffer stays unchanged. Throws for a value that is not
    /// finite.
    void DrawingFileBytes(const std::string& title1, const std::string& title2, std::string& bytes,
                          ormavex::DrawingExtents& written) const;

    /// Writes the whole buffer as a drawing command file (created or
    /// truncated); the buffer stays unchanged.
    void WriteDrawingFile(const std::string& path, const std::string& title1,
                          const std::string& title2) const;
    /// Reads back the extents of every figure entry's drawing command file,
    /// centres entry 1 on the area and writes the figure file.
    void PlaceFigures(const std::string& path, const std::string& title, double areaWidth,
                      double areaHeight);
    /// Writes the figure file from the figure table.
    void WriteFigureFile(const std::string& path, const std::string& title, double areaWidth,
                         double areaHeight) const;

private:
    [[noreturn]] static void ThrowUndefinedTextStyle(std::int32_t style);
    /// A dimension line in its own frame: `vertical` turns the horizontal
    /// one a quarter turn (see the two public calls).
    void AddDimension(int pointA, int pointB, double position, int level, const std::string& text,
                      std::string_view flags, bool vertical);

    /// Bytes and characters of a text's Shift_JIS form.
    struct ShiftJisCounts {
        std::size_t bytes = 0;
        std::size_t chars = 0;
    };
    ShiftJisCounts Counts(std::string_view text) const;
    struct CountedText {
        std::string text;
        std::string sjis;
        ShiftJisCounts counts;
    };
    /// The slot of a non-ASCII text, converted and counted.
    const CountedText& Converted(std::string_view text) const;
    /// Appends a text's Shift_JIS bytes, non-ASCII ones from their slots.
    void AppendText(std::string& out, std::string_view text) const;
    /// The counts of non-ASCII texts measured before, one per slot.
    mutable std::array<CountedText, 64> m_counts;
    /// The bytes of the drawing command file written last.
    mutable std::string m_fileBytes;
    /// Reads back the extents of every figure entry and centres entry 1.
    void CentreFigures(double areaWidth, double areaHeight);
    /// The figure file's text; throws for a value that is not finite.
    std::string FigureText(const std::string& title, double areaWidth, double areaHeight) const;

    /// The extents line of the drawing command file written last, as the
    /// numbers read back from it would be: PlaceFigures takes them from here
    /// instead of reading the file again. Forgotten by SizeTables().
    struct WrittenExtents {
        std::string path;
        ormavex::DrawingExtents extents;
    };
    mutable WrittenExtents m_lastWritten;
};

/// Writes the bytes of a drawing command file into `file`, a new file open
/// for writing, and closes it; throws Error when that fails.
void WriteDrawingFileBytes(TextOutFile& file, std::string_view bytes);

/// The figure entry of one drawing command file, `path` with `extents` as
/// read back, centred on a figure area of `areaWidth` x `areaHeight`.
FigureEntry CentredFigure(const std::string& path, const ormavex::DrawingExtents& extents,
                          double areaWidth, double areaHeight);

/// Writes the figure file of one entry into `file`, a new file open for
/// writing, closed at the end; throws Error for a value that is not finite
/// or when writing fails.
void WriteFigureFile(TextOutFile& file, const std::string& title, const FigureEntry& entry,
                     double areaWidth, double areaHeight);

template <typename T> int DrawTable<T>::add(T item, const char* tableName) {
    if (count() >= m_capacity) {
        throw Error(std::string("drawing table full: ") + tableName + " (" +
                    std::to_string(m_capacity) + ")");
    }
    m_items.push_back(std::move(item));
    return count();
}

} // namespace ormavex
