#include "core/report/ReportRun.h"

#include "core/app/CSystem.h"
#include "core/app/basToolsStd.h"
#include "core/calc/basCalcMd.h"
#include "core/platform/Platform.h"
#include "core/report/PrintFile.h"
#include "core/text/FileReplace.h"
#include "core/text/SignalCleanup.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace ormavex {

namespace {

// Quotes an argument so that a Windows-style command line splits back into
// it: backslashes before a quote are doubled and the quote is escaped.
std::string Quoted(const std::string& arg) {
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
        } else {
            if (c == '"') {
                out.append(slashes + 1, '\\');
            }
            slashes = 0;
        }
        out += c;
    }
    out.append(slashes, '\\');
    return out + "\"";
}

std::string QuotedWhenNeeded(const std::string& arg) {
    return arg.empty() || arg.find_first_of(" \t\"") != std::string::npos ? Quoted(arg) : arg;
}

// For the length of a run: the static data files are read once and the
// results file stays open from page to page. Undone on every way out.
class RunScope {
public:
    RunScope(ReportState& report, DrawingContext* drawing) : m_report(report), m_drawing(drawing) {
        m_report.staticFiles.enable();
        if (m_drawing != nullptr) {
            m_drawing->staticFiles.enable();
        }
    }
    ~RunScope() {
        m_report.out.close();
        m_report.runHoldsFile = false;
        m_report.staticFiles.disable();
        if (m_drawing != nullptr) {
            m_drawing->staticFiles.disable();
        }
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    ReportState& m_report;
    DrawingContext* m_drawing;
};

// A page that failed because a print file could not be written (a full
// temporary folder) ends the run: no later page could be written either,
// and the report would be short.
void ThrowWhenPrintFilesFailed(const ReportState& report, const Error& pageError) {
    const PrintFileLists& lists = report.lists;
    const std::string& path = pageError.path();
    bool printFile = !path.empty() && path == lists.folder; // none could be made
    for (int k = 0; k < lists.textCount && !printFile; ++k) {
        printFile = lists.text[static_cast<std::size_t>(k)] == path;
    }
    for (int k = 0; k < lists.drawingCount && !printFile; ++k) {
        printFile = lists.drawing[static_cast<std::size_t>(k)] == path;
    }
    if (report.out.failed() || printFile) {
        throw Error(pageError.message(), pageError.code(), path);
    }
}

// The member of a case's page: print style 0 the front wall, any other
// value the bottom slab. A print style cell that is not a whole number counts
// as non-zero.
Member PageMember(const CaseTable& cases, int caseNo) {
    std::int32_t style = 0;
    return cases.printStyle(caseNo, style) && style == 0 ? Member::FrontWall : Member::BottomSlab;
}

// The diagrams of a run, drawn ahead of their pages. Drawing a diagram (its
// layout and the bytes of its drawing command file) needs nothing from the
// pages; only making and writing its files does, and that stays with the
// page, in case order. Up to one thread per further core draws the planned
// diagrams in case order, each with its own DrawingContext; the page's
// thread, while the diagram it needs is not ready, draws the next one not
// yet taken with the run's own context, and when none is left it draws the
// one it needs itself rather than wait for a thread that may not get a core
// soon (the other drawing is then not used). It never waits. With one core
// no thread is started and every diagram is drawn when its page asks for it.
class DiagramsAhead {
public:
    struct Plan {
        int caseNo = 0;
        Member member = Member::FrontWall;
    };
    using Render =
        std::function<void(DrawingContext& drawing, const Plan& plan, DrawnDiagram& out)>;

    DiagramsAhead(std::vector<Plan> plans, DrawingContext& own, Render render)
        : m_plans(std::move(plans)), m_slots(m_plans.size()), m_own(own),
          m_render(std::move(render)) {
        const auto cores = static_cast<std::size_t>(std::thread::hardware_concurrency());
        const std::size_t threads = std::min(cores, m_plans.size());
        // The threads start with the termination signals held and keep them
        // held: a signal is handled by the page's thread alone, which holds
        // it while it makes and lists a print file.
        const HoldCleanupSignals hold;
        try {
            for (std::size_t t = 1; t < threads; ++t) {
                m_threads.emplace_back([this] { work(); });
                platform::KeepOffStartersProcessor(m_threads.back());
            }
        } catch (const std::system_error&) {
            // Fewer threads: the page's thread draws the rest.
        }
    }
    ~DiagramsAhead() {
        m_next.store(m_plans.size()); // no thread takes another diagram
        for (std::thread& t : m_threads) {
            t.join();
        }
    }
    DiagramsAhead(const DiagramsAhead&) = delete;
    DiagramsAhead& operator=(const DiagramsAhead&) = delete;

    // The diagram of `member` for case `caseNo`; throws what its drawing threw.
    DrawnDiagram take(int caseNo, Member member) {
        const auto drawnHere = [&] {
            DrawnDiagram diagram;
            m_render(m_own, {caseNo, member}, diagram);
            return diagram;
        };
        const auto planned = std::find_if(m_plans.begin(), m_plans.end(), [&](const Plan& p) {
            return p.caseNo == caseNo && p.member == member;
        });
        if (planned == m_plans.end()) { // not planned: drawn here and now
            return drawnHere();
        }
        Slot& slot = m_slots[static_cast<std::size_t>(planned - m_plans.begin())];
        while (!slot.done.load(std::memory_order_acquire)) {
            const std::size_t next = m_next.fetch_add(1);
            if (next >= m_plans.size()) { // taken by a thread, not ready: drawn here too
                return drawnHere();
            }
            render(m_own, next);
        }
        if (slot.failure) {
            std::rethrow_exception(slot.failure);
        }
        return std::move(slot.diagram);
    }

    // Hands back a diagram whose files are written: its room is used for a
    // later one, so that a run holds only a few buffers, not one per case.
    void recycle(DrawnDiagram&& diagram) {
        const std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(diagram.bytes));
    }

private:
    struct Slot {
        DrawnDiagram diagram;
        std::exception_ptr failure;
        std::atomic<bool> done{false}; // set once the diagram or failure is in place
    };

    void render(DrawingContext& drawing, std::size_t i) {
        Slot& slot = m_slots[i];
        {
            const std::lock_guard lock(m_mutex);
            if (!m_spare.empty()) {
                slot.diagram.bytes = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        try {
            m_render(drawing, m_plans[i], slot.diagram);
        } catch (...) {
            slot.failure = std::current_exception();
        }
        slot.done.store(true, std::memory_order_release);
    }
    void work() {
        // Its own context, the style files read once for the run.
        auto drawing = std::make_unique<DrawingContext>();
        drawing->staticFiles.enable();
        for (std::size_t i = m_next.fetch_add(1); i < m_plans.size(); i = m_next.fetch_add(1)) {
            render(*drawing, i);
        }
    }

    const std::vector<Plan> m_plans;
    std::vector<Slot> m_slots;
    DrawingContext& m_own;
    const Render m_render;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;
    std::vector<std::string> m_spare; // guarded by m_mutex
    std::vector<std::thread> m_threads;
};

bool RunReportPages(ReportState& report, const CaseTable& cases, const std::string& settingsFile,
                    const PageWriter& writePage, ReportRunOutcome& outcome,
                    const PageRefusal& refuse) {
    outcome = {};
    ResetReportRun(report);
    LoadNumberingSettings(report, settingsFile);
    try {
        // The results file is written through the descriptor that created
        // it and stays open until the last page is done.
        report.out.close();
        report.currentPrintFile = NewTextPrintFile(report.lists, report.out);
        report.runHoldsFile = true;
        auto failed = [&](int c, const Error& error) {
            outcome.failedCases.push_back(c);
            outcome.reasons.push_back(error.message());
            outcome.causes.push_back(PageFailureCause(cases, c, error));
        };
        bool firstPage = true;
        for (int c = 1; c <= cases.CaseCount; ++c) {
            Error error;
            if (refuse && refuse(c, error)) {
                failed(c, error);
                continue;
            }
            if (!firstPage) {
                AppendPageBreak(report); // each case begins a new page
            }
            firstPage = false;
            if (!writePage(c, PageMember(cases, c), &error)) {
                failed(c, error);
                ThrowWhenPrintFilesFailed(report, error);
            }
        }
        report.runHoldsFile = false;
        if (!report.out.close()) {
            throw Error("cannot write the print file " + report.currentPrintFile + ": " +
                            FileErrorReason(report.out.errorCode()),
                        report.out.errorCode(), report.currentPrintFile);
        }
        report.currentPrintFile = NewTextPrintFile(report.lists);
    } catch (const Error& e) {
        outcome.failure = e.what();
        return false;
    }
    return true;
}

} // namespace

bool RunReport(ReportState& report, const CaseTable& cases, const std::string& settingsFile,
               const PageWriter& writePage, ReportRunOutcome& outcome, const PageRefusal& refuse) {
    RunScope scope(report, nullptr);
    return RunReportPages(report, cases, settingsFile, writePage, outcome, refuse);
}

bool RunReport(ReportState& report, DrawingContext& drawing, const CaseTable& cases,
               const CalcArrays& calc, const std::string& dataFolder,
               const std::string& settingsFile, ReportRunOutcome& outcome) {
    const std::string formatFile = FormatFilePath(dataFolder);
    const NewPrintFile newFile = DrawingPrintFilesOf(report.lists);
    // A page whose spans or points cannot be drawn would stop short of its
    // diagram: such a case gets no page, only its line in the message.
    const PageRefusal refuse = [&](int c, Error& why) {
        const double lx = calc.CalcLx[c];
        const double ly = calc.CalcLy[c];
        if (calc.CalcRowCount[c] < 1 || calc.CalcPointCount[c] < 2) {
            why = Error("case " + std::to_string(c) + " has no calculated moments");
            return true;
        }
        if (!(std::isfinite(lx) && lx > 0.0 && std::isfinite(ly) && ly > 0.0)) {
            why = Error("the spans of case " + std::to_string(c) +
                        " are not both greater than 0 (Lx = " + std::to_string(lx) +
                        ", Ly = " + std::to_string(ly) + ")");
            return true;
        }
        return false;
    };
    RunScope scope(report, &drawing);
    // Each page ends with its member's section force diagram on the page's
    // figure area, load diagram drawn.
    std::vector<DiagramsAhead::Plan> plans;
    for (int c = 1; c <= cases.CaseCount; ++c) {
        Error unused;
        if (!refuse(c, unused)) {
            plans.push_back({c, PageMember(cases, c)});
        }
    }
    DiagramsAhead ahead(std::move(plans), drawing,
                        [&](DrawingContext& d, const DiagramsAhead::Plan& p, DrawnDiagram& out) {
                            RenderSectionForceDiagram(p.member, d, calc, dataFolder, 1, p.caseNo,
                                                      PageFigureWidth, PageFigureHeight, out);
                        });
    const DiagramWriter diagram = [&](Member member, int c) {
        DrawnDiagram drawn = ahead.take(c, member);
        std::string figure = WriteDrawnDiagram(drawn, newFile, PageFigureWidth, PageFigureHeight);
        ahead.recycle(std::move(drawn));
        return figure;
    };
    const PageWriter writePage = [&](int c, Member member, Error* error) {
        return WriteMemberPage(report, cases, calc, formatFile, c, member, diagram, error);
    };
    return RunReportPages(report, cases, settingsFile, writePage, outcome, refuse);
}

std::string PageFailureCause(const CaseTable& cases, int caseNo, const Error& failure) {
    CaseFailure input;
    if (caseNo >= 1 && caseNo <= MaxCases && !CheckCaseValues(cases, caseNo, input)) {
        return input.cause;
    }
    if (!failure.path().empty()) {
        const std::size_t slash = failure.path().find_last_of('/');
        const std::string name =
            slash == std::string::npos ? failure.path() : failure.path().substr(slash + 1);
        return "ﾌｧｲﾙ " + name + " を処理できません（ｴﾗｰｺｰﾄﾞ ： " + std::to_string(failure.code()) +
               "）";
    }
    return "印刷ﾍﾟｰｼﾞを作成できません（" + std::string(failure.message()) + "）";
}

std::string FailedCaseList(const std::vector<int>& failedCases) {
    std::string list;
    for (int c : failedCases) {
        list += "№" + std::to_string(c) + " ";
    }
    return list;
}

Message PrintFileErrorMessage(const std::vector<int>& failedCases) {
    return {"Ormavex",
            FailedCaseList(failedCases) + "\n\n" + "以上の検討ｹｰｽ№において印刷ﾌｧｲﾙ生成ｴﾗｰ",
            Message::Icon::Critical};
}

Message PrintFileErrorMessage(const ReportRunOutcome& outcome) {
    Message m = PrintFileErrorMessage(outcome.failedCases);
    std::string lines;
    for (std::size_t i = 0; i < outcome.failedCases.size(); ++i) {
        lines += (lines.empty() ? "" : "\n") + std::string("№") +
                 std::to_string(outcome.failedCases[i]) + " " +
                 (i < outcome.causes.size() ? outcome.causes[i] : std::string());
    }
    if (!lines.empty()) {
        m.text += "\n\n" + lines;
    }
    return m;
}

bool CollectSelectedItems(ReportState& report, const std::vector<int>& checkStates, Error* error) {
    // Item k is the text print file at position k; the combined print file is
    // the last one, so only the positions before it are items.
    const int combinedPos = report.lists.textCount - 1;
    std::vector<std::size_t> chosen;
    for (std::size_t k = 0; k < checkStates.size(); ++k) {
        if (checkStates[k] == 1 && static_cast<int>(k) < combinedPos) {
            chosen.push_back(k);
        }
    }
    if (chosen.empty()) {
        return false;
    }
    const std::string combined = report.lists.text[static_cast<std::size_t>(combinedPos)];
    report.currentPrintFile = combined;
    report.out.close();
    // The items are joined in memory and the combined file replaced at once.
    // An item that cannot be read, or a combined file that cannot be written
    // whole, fails: a short report is never handed on as a whole one.
    std::string joined;
    Error failure;
    for (std::size_t i = 0; i < chosen.size() && failure.code() == 0; ++i) {
        if (i > 0) {
            joined += printfile::kFormFeed;
        }
        const std::string& item = report.lists.text[chosen[i]];
        if (!AppendFileLines(joined, item)) {
            std::string unused;
            if (ReadFileBytes(item, unused, failure, FileLimit::Print) || failure.code() == 0) {
                failure = Error("cannot read the print file " + item, FileError::DeviceIo, item);
            }
        }
    }
    if (failure.code() == 0) {
        // A print file lives only as long as its run: no flush to disk.
        ReplaceFileContents(combined, joined, failure, ReplaceSync::Temporary);
    }
    if (failure.code() != 0) {
        // What was written is removed; an empty combined file stays in the
        // list, so that the list keeps its positions.
        CreateEmptyFile(combined);
        if (error != nullptr) {
            *error = failure;
        }
        return false;
    }
    return true;
}

Message NoPrintItemMessage() {
    return {"結果の印刷", "印刷項目はひとつ以上選択して下さい。", Message::Icon::Information};
}

std::string PreviewCommandLine(const std::string& programFolder, const std::string& userDataFolder,
                               const std::string& combinedFile, const std::string& projectFile) {
    return QuotedWhenNeeded(programFolder + "/" + PreviewProgramName) +
           " /INI=" + Quoted(userDataFolder) +
           (projectFile.empty() ? std::string() : " /PROJECT=" + Quoted(projectFile)) + " " +
           QuotedWhenNeeded(combinedFile);
}

void StartPreview(const std::string& commandLine) { CSystem::Shell(commandLine, 1.0, false); }

void DeletePrintFiles(ReportState& report) noexcept {
    for (int k = 0; k < report.lists.textCount; ++k) {
        KillFile(report.lists.text[static_cast<std::size_t>(k)]);
    }
    for (int k = 0; k < report.lists.drawingCount; ++k) {
        KillFile(report.lists.drawing[static_cast<std::size_t>(k)]);
    }
    report.lists.textCount = 0;
    report.lists.drawingCount = 0;
}

} // namespace ormavex
