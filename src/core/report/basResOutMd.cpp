#include "core/report/basResOutMd.h"

#include "core/report/PrintFile.h"
#include "core/text/Error.h"

#include <cmath>

namespace ormavex {

std::string FormatFilePath(const std::string& dataFolder) { return dataFolder + "/Kivet.fmt"; }

namespace {

void WritePage(ReportState& report, const CaseTable& cases, const CalcArrays& calc,
               const std::string& formatFile, int caseNo, Member member,
               const DiagramWriter& diagram) {
    const double lx = calc.CalcLx[caseNo];
    const double ly = calc.CalcLy[caseNo];
    // Ly = 0 (or a span that is not finite) leaves no ratio to print or to
    // choose the sentences by; the page fails before anything is written.
    const double ratio = lx / ly;
    if (!std::isfinite(ratio)) {
        throw Error("the side ratio Lx/Ly of case " + std::to_string(caseNo) +
                    " cannot be formed (Lx = " + std::to_string(lx) +
                    ", Ly = " + std::to_string(ly) + ")");
    }

    LevelTable levels;
    TemplateTable templates;
    ReadTemplateSection(report.staticFiles, formatFile,
                        calc.CalcKeta[caseNo] == 2 ? "ﾀｲﾄﾙ(2桁)" : "ﾀｲﾄﾙ(3桁)", levels, templates);
    NumberValues numbers;
    const TextValues texts; // never set: text fields print as blanks

    auto rawLine = [&](int k) {
        PrintHeadingPrefix(report, levels[k]);
        PrintLine(report, templates[k]);
    };
    auto filledLine = [&](int k) {
        PrintTemplateLine(report, templates[k], levels[k], numbers, texts);
    };

    OpenPrintFile(report);
    PrintHeadingPrefix(report, levels[1]);
    PrintLine(report, cases.title(caseNo));
    PrintBlankLines(report, 2);
    const TableTypeInfo* type = TableType(calc.CalcType[caseNo]);
    rawLine(type != nullptr && type->freeEdge ? 2 : 3);
    PrintBlankLines(report, 2);
    numbers[1] = lx;
    filledLine(4);
    numbers[1] = ratio;
    numbers[2] = calc.CalcRamuda[caseNo];
    filledLine(5);
    numbers[1] = ly;
    filledLine(6);
    PrintBlankLines(report, 2);
    if (ratio > 1.0) {
        rawLine(7);
        PrintBlankLines(report, 1);
        rawLine(8);
    } else {
        rawLine(9);
        PrintBlankLines(report, 1);
        rawLine(10);
    }
    PrintBlankLines(report, 2);
    PrintHeadingPrefix(report, levels[10]);
    const std::string figure = diagram(member, caseNo);
    PrintLine(report, "  " + std::string(printfile::kFigurePlacement) + figure);
    PrintHeadingPrefix(report, levels[10]);
    PrintLine(report, " ");
    ClosePrintFile(report);
}

} // namespace

bool WriteMemberPage(ReportState& report, const CaseTable& cases, const CalcArrays& calc,
                     const std::string& formatFile, int caseNo, Member member,
                     const DiagramWriter& diagram, Error* error) {
    // The page is where every failure of the writer and the diagram ends:
    // the file is closed and the run goes on with the next case.
    try {
        WritePage(report, cases, calc, formatFile, caseNo, member, diagram);
        return true;
    } catch (const std::exception& e) {
        report.out.close();
        if (error != nullptr) {
            const auto* known = dynamic_cast<const Error*>(&e);
            *error = known != nullptr ? *known : Error(e.what());
        }
        return false;
    }
}

} // namespace ormavex
