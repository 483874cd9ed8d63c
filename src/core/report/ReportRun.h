#pragma once
// The report run behind the print menu, without the window: writing the pages
// of all cases into the results file, joining the chosen report items into
// the combined print file, the preview program's command line, and deleting
// every print file of the run. The print menu window and ormavex-batch both
// call these.
//
// Text print file positions of a run: 0 the results of all cases (report item
// 0, "計算結果の印刷"), 1 the combined print file (always the last one).

#include "core/app/Messages.h"
#include "core/cases/CaseTable.h"
#include "core/report/basResOutMd.h"
#include "core/report/basResOutPrn.h"

#include <functional>
#include <string>
#include <vector>

namespace ormavex {

/// Writes the page of a case for a member; false when the page failed, with
/// the cause in `error` when given.
using PageWriter = std::function<bool(int caseNo, Member member, Error* error)>;

/// True, with the reason in `why`, when case `caseNo` cannot have a page.
using PageRefusal = std::function<bool(int caseNo, Error& why)>;

/// What a report run left to tell the user.
struct ReportRunOutcome {
    /// Cases whose page failed, in case order, and why (same order): the
    /// failure's own sentence (English, for logs and the command line) and a
    /// Japanese line for the window (see PageFailureCause).
    std::vector<int> failedCases;
    std::vector<std::string> reasons;
    std::vector<std::string> causes;
    /// Set when the run itself could not be done (no print file could be made).
    std::string failure;
};

/// The report run: resets the print file lists and the heading numbering,
/// loads the numbering settings from section "Chapter" of `settingsFile`,
/// makes the results file (position 0) and writes every case's page into it,
/// a page break between pages (print style 0: the front wall page, any other
/// value: the bottom slab page), then makes the combined print file
/// (position 1). A failed page is listed in the outcome and the run goes on.
/// A case that `refuse` (when given) refuses gets no page at all (and no
/// page break) and is listed as failed with the refusal's Error.
/// Returns false only when the run itself failed (`outcome.failure` says
/// why); failed pages still count as a finished run.
bool RunReport(ReportState& report, const CaseTable& cases, const std::string& settingsFile,
               const PageWriter& writePage, ReportRunOutcome& outcome,
               const PageRefusal& refuse = nullptr);

/// The report run of the application: a case without calculated points or
/// with a span that is not greater than 0 in `calc` gets no page (a page
/// would stop short of its diagram); every other case its member page of the
/// calculated values `calc`, written with the format file of `dataFolder`
/// and ending with its section force diagram (style files of `dataFolder`,
/// drawn in `drawing` into drawing print files of `report`).
bool RunReport(ReportState& report, DrawingContext& drawing, const CaseTable& cases,
               const CalcArrays& calc, const std::string& dataFolder,
               const std::string& settingsFile, ReportRunOutcome& outcome);

/// "№2 №5 ": "№", the case number and a blank per failed case.
std::string FailedCaseList(const std::vector<int>& failedCases);

/// The Japanese line for a failed page of case `caseNo`: the first problem
/// CheckCaseValues finds in the case's values when there is one (the usual
/// reason: "Lx = 0：…"), else the failed file's name and error code when the
/// failure concerns a file, else "印刷ﾍﾟｰｼﾞを作成できません（" and the
/// failure's sentence "）".
std::string PageFailureCause(const CaseTable& cases, int caseNo, const Error& failure);

/// The message after a run with failed pages: the case list, two line breaks
/// and "以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ", critical, titled "Ormavex".
Message PrintFileErrorMessage(const std::vector<int>& failedCases);

/// The same message followed by two line breaks and one line per failed case,
/// "№2 " and its cause (`outcome.causes`), joined with line feeds.
Message PrintFileErrorMessage(const ReportRunOutcome& outcome);

/// Rebuilds the combined print file (the last text print file) from the
/// report items whose check state is exactly 1: item k is the text print file
/// at position k, and only the positions before the combined file are items
/// (others are ignored). Chosen items are joined in index order with a page
/// break between them, and the combined file is replaced as a whole. Returns
/// false, touching nothing, when no item is chosen; false with `error` set
/// (code not 0) when an item cannot be read or the combined file cannot be
/// written whole, which leaves the combined file empty.
bool CollectSelectedItems(ReportState& report, const std::vector<int>& checkStates,
                          Error* error = nullptr);

/// The message when printing with no item checked.
Message NoPrintItemMessage();

/// The file name of the preview program in the program folder.
inline constexpr const char* PreviewProgramName = "ormavex-preview";

/// The command line that starts the preview program on the combined print
/// file: programFolder + "/ormavex-preview /INI=" + the quoted per-user data
/// folder + " " + the combined print file's path. The program and the print
/// file path are quoted as well when they hold a blank or a double quote, so
/// that the line splits back into the same arguments. When `projectFile` is
/// given, " /PROJECT=" + the quoted project path comes before the print
/// file: the preview names its window and its PDF after the project.
std::string PreviewCommandLine(const std::string& programFolder, const std::string& userDataFolder,
                               const std::string& combinedFile,
                               const std::string& projectFile = std::string());

/// Starts the preview program with `commandLine` without waiting for it.
void StartPreview(const std::string& commandLine);

/// Deletes every text and drawing print file of the run (failures ignored)
/// and sets both list counts to 0.
void DeletePrintFiles(ReportState& report) noexcept;

} // namespace ormavex
