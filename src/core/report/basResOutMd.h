#pragma once
// The result page of one study case: the case title as a level-1 heading, the
// plate's support sentence, its spans and side ratios, the sentence naming the
// reference span, and the member's section force diagram as a figure line.
// The front wall page and the bottom slab page differ only in the diagram
// they place.
//
// Lines used from the format section ("ﾀｲﾄﾙ(2桁)" for 2 decimal places, else
// "ﾀｲﾄﾙ(3桁)"): 1 only its level (for the title), 2 or 3 unfilled (plate with
// a free edge / four fixed edges), 4 filled with Lx, 5 with Lx/Ly and λ, 6
// with Ly, 7 and 8 unfilled when Lx/Ly > 1, else 9 and 10; the level of line
// 10 sets the indentation of the figure line.

#include "core/cases/CaseTable.h"
#include "core/drawing/SectionForceDiagram.h"
#include "core/report/basResOutPrn.h"

#include <functional>
#include <string>

namespace ormavex {

/// Figure area of the diagram on a page, mm.
inline constexpr double PageFigureWidth = 140.0;
inline constexpr double PageFigureHeight = 160.0;

/// Draws the section force diagram of `member` for a case into drawing print
/// files and returns the figure file's path; throws on failure.
using DiagramWriter = std::function<std::string(Member member, int caseNo)>;

/// The report format file in the program folder.
std::string FormatFilePath(const std::string& dataFolder);

/// Appends the page of case `caseNo` to the current print file of `report`.
/// Returns false when any step failed (a span ratio that is not a finite
/// number, the format file or section missing, a bad template line, a file
/// error, a failure of the diagram); the print file is then closed and keeps
/// the lines already written, and `error` (when given) says what failed.
bool WriteMemberPage(ReportState& report, const CaseTable& cases, const CalcArrays& calc,
                     const std::string& formatFile, int caseNo, Member member,
                     const DiagramWriter& diagram, Error* error = nullptr);

} // namespace ormavex
