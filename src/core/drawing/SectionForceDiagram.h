#pragma once
// The one procedure behind both section force diagrams. The front wall is
// drawn upright (Ly across, Lx downward from y = 0, point 1 at the bottom
// edge, load diagram on the left); the bottom slab lies down (Lx across from
// x = 0, Ly centred on y = 0, point 1 at the left edge, load diagram below).
// Everything else (grid, labels, moment texts, dimensions, hatching) follows
// the same rules.
//
// Legibility: every label is placed from its measured width (TextWidth) so
// that no two texts overlap and no line crosses a text, for any valid case
// (FindOverlaps of DrawingOverlaps.h finds nothing). Where the standard
// positions would collide, and only there, the diagram moves: the front
// wall's row labels, headings and centre line rise above the tallest top
// moment; a dimension moves out past the moments written beyond its edge (1
// mm clear); the load base line moves out when a load of the other sign would
// reach the point labels or the span dimension; a load text moves away from
// the member in 0.5 mm steps until 0.5 mm clear; moments too long for their
// grid spacing are set in text style 3 (120 twips). Always: the centre line
// stops 1 mm short of the row label "Ⅰ"; after everything else the
// drawing holds come, in this order, strokes within 0.5 mm outside each fixed edge
// (not the free edge of tables 1 and 2), the caption (the diagram's name, text
// style 1), "単位：kN・m/m" and, when the two scales differ by more than 10 %,
// "縮尺不同".

#include "core/drawing/basResOutPrnZ.h"

#include "core/cases/CaseTable.h"

#include <functional>
#include <string>

namespace ormavex {

/// The member a result page and its diagram show.
enum class Member { FrontWall, BottomSlab };

/// Makes a new drawing print file, open for writing in `out`, and returns its
/// path; throws when the file cannot be made. The report hands the diagrams
/// its drawing print file list this way.
using NewPrintFile = std::function<std::string(TextOutFile& out)>;

/// Draws case `caseNo` (1..99, already calculated) as the diagram of
/// `member` on a figure area of `width` x `height` mm: the plate, its grid,
/// Mx and My at every node, both spans as dimension lines and, when
/// `loadFlag` is 1, the load diagram of QA and QB. Reads LINE_PRN.DEF and
/// STR_PRN.DEF from `dataFolder`, writes a drawing command file and a figure
/// file into two files made by `newFile` and returns the figure file's path.
///
/// Scales (mm of drawing per m of plate), with W x H the figure area and n
/// the points per row: the common scale S fits the plate into the area less
/// 45 mm across the member's width and 35 mm along its span; each axis is then
/// raised to at least 60 mm for the width and 15 mm per point interval for the
/// span. Front wall 4 x 5 m, n = 9, on 140 x 160: S = 19, drawn 95 x 120 mm.
///
/// Throws before any file is made when a span is not a positive finite number
/// (the scale cannot be formed), when the case has no valid point count, or
/// when a load or moment is not finite; and on a style file, a full table or
/// list, or a file error.
std::string DrawSectionForceDiagram(Member member, DrawingContext& drawing,
                                    const NewPrintFile& newFile, const CalcArrays& calc,
                                    const std::string& dataFolder, int loadFlag, int caseNo,
                                    double width, double height);

/// A diagram drawn but not yet written: the bytes of its drawing command file
/// and their extents, by which its figure file centres it.
struct DrawnDiagram {
    Member member = Member::FrontWall;
    std::string bytes;
    DrawingExtents extents;
};

/// Everything DrawSectionForceDiagram does before it makes its two files:
/// fills the drawing buffer (FillSectionForceDiagram) and forms the drawing
/// command file's bytes into `out`. The same failures; no file is made.
void RenderSectionForceDiagram(Member member, DrawingContext& drawing, const CalcArrays& calc,
                               const std::string& dataFolder, int loadFlag, int caseNo,
                               double width, double height, DrawnDiagram& out);

/// The rest of DrawSectionForceDiagram: makes the drawing command file with
/// `newFile` and writes the diagram's bytes into it, then the figure file
/// that centres it on a `width` x `height` area; returns the figure file's
/// path, and its entry in `placed` when given.
std::string WriteDrawnDiagram(const DrawnDiagram& diagram, const NewPrintFile& newFile,
                              double width, double height, FigureEntry* placed = nullptr);

/// Everything DrawSectionForceDiagram does before it writes its two files:
/// reads the style files and fills the drawing buffer. The same failures.
void FillSectionForceDiagram(Member member, DrawingContext& drawing, const CalcArrays& calc,
                             const std::string& dataFolder, int loadFlag, int caseNo, double width,
                             double height);

} // namespace ormavex
