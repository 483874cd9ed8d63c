#include "core/calc/basCalcMd.h"

#include "core/cases/CaseSheet.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include "core/platform/Platform.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace ormavex {

namespace {

// How close a table's side ratio must lie to the case's λ to be taken as its table.
constexpr double kLambdaMatchTolerance = 0.009;
// A load at QB smaller than this counts as none: the load is then a triangle from QA alone.
constexpr double kZeroLoadTolerance = 0.009;
constexpr int kBodyLines = 13;

// A read buffer whose bytes are left uninitialised: only what read() stores is ever looked at.
struct ReadBuffer {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
};

ReadBuffer NewReadBuffer(std::size_t capacity) {
    return ReadBuffer{std::unique_ptr<char[]>(new char[capacity]), capacity};
}

[[noreturn]] void ThrowUnreadable(const std::string& path, int code) {
    const std::string number = std::to_string(code);
    throw Error("cannot read the coefficient file " + path + " (error " + number + ")", code, path);
}

} // namespace

std::string CoefFilePath(const std::string& folder, int number) {
    const TableTypeInfo* info = TableType(number);
    return info == nullptr ? std::string() : folder + "/" + info->fileName;
}

void ReadCoefBlock(ListInputReader& file, CoefTable& table, const CalcArrays& calc, int caseNo) {
    const int rows = calc.CalcRowCount[caseNo];
    const int points = calc.CalcPointCount[caseNo];
    for (int j = 1; j <= rows; ++j) {
        for (int k = 1; k <= points; ++k) {
            std::string_view field;
            if (!file.nextNumberField(field)) {
                throw Error("the coefficient file ends inside a block");
            }
            double v = 0.0;
            if (!ParseNumber(field, v) || !std::isfinite(v)) {
                throw Error("a coefficient is not a number: \"" + FromShiftJis(field) + "\"");
            }
            table(j, k) = v;
        }
    }
}

namespace {

// What one calculation run has read of the coefficient files: each file's
// bytes as far as the lookups needed them (read on in a few growing reads;
// the blocks of the usual side ratios lie in the file's first part), the
// block headers found so far in file order, and the blocks loaded so far.
// A lookup walks the known headers before scanning on, so it meets the
// headers in the same order, and fails at the same place, as a search from
// the top of the whole file would.
class CoefFileIndex {
public:
    struct Header {
        double ratio = 0.0;
        bool endMarker = false;
        std::size_t body = 0; // offset of the line after the header
        int block = -1;       // index into `blocks` once loaded
    };

    CoefFileIndex() = default;
    ~CoefFileIndex() {
        if (m_fd >= 0) {
            platform::Close(m_fd);
        }
    }
    CoefFileIndex(const CoefFileIndex&) = delete;
    CoefFileIndex& operator=(const CoefFileIndex&) = delete;

    /// Forgets the file (closing it when open), keeping the memory for the next.
    void reset() {
        if (m_fd >= 0) {
            platform::Close(m_fd);
            m_fd = -1;
        }
        m_path.clear();
        m_eof = false;
        m_size = 0;
        headers.clear();
        scanPos = 0;
        ended = false;
        blocks.clear();
    }

    /// Opens the file on first use; throws Error when it cannot be read.
    void open(const std::string& path) {
        if (m_fd >= 0 || m_eof) {
            return;
        }
        m_path = path;
        // A FIFO is refused, never waited on.
        if (const int err = platform::OpenForReading(path, m_fd); err != 0) {
            m_fd = -1;
            ThrowUnreadable(path, FileErrorFromErrno(err, path, false));
        }
        platform::FileStatus st;
        const bool regular =
            platform::StatusOf(m_fd, st) == 0 && st.kind == platform::FileKind::Regular;
        if (!regular || st.size > FileLimit::Coefficients) {
            platform::Close(m_fd);
            m_fd = -1;
            ThrowUnreadable(path, regular ? FileError::OutOfMemory : FileError::PathFileAccess);
        }
        // One buffer for the whole file, however far it is read.
        const std::size_t need = static_cast<std::size_t>(st.size) + kChunk;
        if (m_buffer.capacity < need) {
            m_buffer = NewReadBuffer(need);
        }
        readMore();
    }

    /// The bytes read.
    std::string_view data() const noexcept { return {m_buffer.bytes.get(), m_size}; }

    /// True when the bytes before `pos` were read and so was the byte at
    /// `pos` that ends them (or the file ended there): what was taken from
    /// them is what the whole file gives.
    bool whole(std::size_t pos) const noexcept { return m_eof || pos < m_size; }
    bool atEnd() const noexcept { return m_eof; }

    /// Appends the next piece of the file; false at its end.
    bool readMore() {
        if (m_eof) {
            return false;
        }
        const std::size_t have = m_size;
        if (have > FileLimit::Coefficients) {
            throw Error("the coefficient file " + m_path + " is too large (error " +
                            std::to_string(FileError::OutOfMemory) + ")",
                        FileError::OutOfMemory, m_path);
        }
        if (m_buffer.capacity < have + kChunk) {
            // The file grew after it was opened.
            ReadBuffer larger = NewReadBuffer(std::max(2 * m_buffer.capacity, have + kChunk));
            if (have > 0) {
                std::memcpy(larger.bytes.get(), m_buffer.bytes.get(), have);
            }
            m_buffer = std::move(larger);
        }
        // First a piece that holds the usual side ratios, then each read as
        // large as all before it.
        const std::size_t want = std::min(m_buffer.capacity - have, std::max(kFirstRead, have));
        const long long n = platform::ReadSome(m_fd, m_buffer.bytes.get() + have, want);
        const int err = errno;
        m_size = have + static_cast<std::size_t>(n > 0 ? n : 0);
        if (n <= 0) {
            m_eof = true;
            platform::Close(m_fd);
            m_fd = -1;
            if (n < 0) {
                ThrowUnreadable(m_path, FileErrorFromErrno(err, m_path, false));
            }
            return false;
        }
        return true;
    }

    /// Reads the rest of the file; throws again, at every lookup, when the
    /// file grew past its limit while it was read.
    void needAll() {
        while (readMore()) {
        }
    }

    std::vector<Header> headers;
    std::size_t scanPos = 0; // where the next header line starts
    bool ended = false;      // the data ended before the end marker
    std::vector<std::array<CoefTable, 4>> blocks;

private:
    static constexpr std::size_t kChunk = 16 * 1024;
    static constexpr std::size_t kFirstRead = 32 * 1024;

    std::string m_path;
    int m_fd = -1;
    bool m_eof = false;
    ReadBuffer m_buffer;
    std::size_t m_size = 0;
};

struct CoefRunCache {
    std::array<CoefFileIndex, 6> files; // by table type 1..5
};

// The run cache of a calculation, taken from the thread's spare one and given back with its
// memory (read buffers, headers, blocks) for the next run: a run neither depends on the allocator
// keeping freed memory mapped nor clears what it will overwrite.
class RunCacheLease {
public:
    RunCacheLease() {
        std::unique_ptr<CoefRunCache>& spare = Spare();
        m_cache = spare != nullptr ? std::move(spare) : std::make_unique<CoefRunCache>();
    }
    ~RunCacheLease() {
        for (CoefFileIndex& file : m_cache->files) {
            file.reset();
        }
        std::unique_ptr<CoefRunCache>& spare = Spare();
        if (spare == nullptr) {
            spare = std::move(m_cache);
        }
    }
    RunCacheLease(const RunCacheLease&) = delete;
    RunCacheLease& operator=(const RunCacheLease&) = delete;

    CoefRunCache& operator*() const noexcept { return *m_cache; }

private:
    static std::unique_ptr<CoefRunCache>& Spare() {
        thread_local std::unique_ptr<CoefRunCache> spare;
        return spare;
    }
    std::unique_ptr<CoefRunCache> m_cache;
};

// Reads the four tables of a block whose body starts at `body` into the work
// tables (a body may run past its 13 lines).
void ReadBlock(CoefFileIndex& file, std::size_t body, CoefWorkTables& coef, const CalcArrays& calc,
               int caseNo) {
    // From the bytes read so far; a block that reaches past them (or fails
    // there) is read again from the whole file.
    while (true) {
        ListInputReader reader(file.data().substr(body));
        try {
            ReadCoefBlock(reader, coef.CoefMxUniform, calc, caseNo);
            ReadCoefBlock(reader, coef.CoefMyUniform, calc, caseNo);
            ReadCoefBlock(reader, coef.CoefMxTriangle, calc, caseNo);
            ReadCoefBlock(reader, coef.CoefMyTriangle, calc, caseNo);
            if (file.whole(body + reader.position())) {
                return;
            }
        } catch (const Error&) {
            if (file.atEnd()) {
                throw;
            }
        }
        file.needAll();
    }
}

// A header line without its first two characters: the side ratio, or
// "9999" for the end marker.
std::string_view HeaderText(std::string_view line) {
    return line.substr(ShiftJisCharOffset(line, 2));
}

// Header `i` of the file in file order, scanned on as far as needed. Throws
// Error when the file ends before its end marker.
CoefFileIndex::Header& HeaderAt(CoefFileIndex& file, const std::string& path, std::size_t i) {
    while (i >= file.headers.size()) {
        if (file.ended) {
            throw Error("the coefficient file " + path + " ends before its end marker", 0, path);
        }
        LineReader lines(file.data().substr(file.scanPos));
        std::string_view header;
        const bool found = lines.next(header);
        const std::size_t afterHeader = lines.position();
        const bool endMarker = found && HeaderText(header) == "9999";
        const bool bodyLines = found && !endMarker && lines.skip(kBodyLines);
        // The header line and its body lines are taken only when they are
        // there whole, each with its line end; else the file is read on and
        // they are looked at again.
        if (!file.whole(file.scanPos + lines.position()) && file.readMore()) {
            continue;
        }
        if (!found) {
            file.ended = true;
            throw Error("the coefficient file " + path + " ends before its end marker", 0, path);
        }
        CoefFileIndex::Header h;
        h.body = file.scanPos + afterHeader;
        h.endMarker = endMarker;
        if (!endMarker) {
            h.ratio = LeadingNumber(HeaderText(header));
            file.ended = !bodyLines;
        }
        file.scanPos += lines.position();
        file.headers.push_back(h);
    }
    return file.headers[i];
}

CoefFileIndex& OpenCoefFile(CoefRunCache& cache, const std::string& path, int type) {
    CoefFileIndex& file = cache.files[static_cast<std::size_t>(type)];
    file.open(path);
    return file;
}

const TableTypeInfo& RequireTableType(int type) {
    const TableTypeInfo* info = TableType(type);
    if (info == nullptr) {
        throw Error("table type " + std::to_string(type) + " does not exist");
    }
    return *info;
}

bool LoadCoefTableCached(CoefRunCache& cache, const std::string& dataFolder, CalcArrays& calc,
                         CoefWorkTables& coef, int type, double lambda, int caseNo) {
    calc.CalcRowCount[caseNo] = 3;
    calc.CalcPointCount[caseNo] = RequireTableType(type).points;
    const std::string path = CoefFilePath(dataFolder, type);

    CoefFileIndex& file = OpenCoefFile(cache, path, type);
    for (std::size_t i = 0;; ++i) {
        CoefFileIndex::Header& h = HeaderAt(file, path, i);
        if (h.endMarker) {
            return false;
        }
        if (std::fabs(h.ratio - lambda) < kLambdaMatchTolerance) {
            const int points = calc.CalcPointCount[caseNo];
            if (h.block >= 0) {
                const auto& block = file.blocks[static_cast<std::size_t>(h.block)];
                CoefTable* tables[] = {&coef.CoefMxUniform, &coef.CoefMyUniform,
                                       &coef.CoefMxTriangle, &coef.CoefMyTriangle};
                for (std::size_t t = 0; t < 4; ++t) {
                    for (int j = 1; j <= 3; ++j) {
                        for (int k = 1; k <= points; ++k) {
                            (*tables[t])(j, k) = block[t](j, k);
                        }
                    }
                }
                return true;
            }
            ReadBlock(file, h.body, coef, calc, caseNo);
            h.block = static_cast<int>(file.blocks.size());
            file.blocks.push_back(
                {coef.CoefMxUniform, coef.CoefMyUniform, coef.CoefMxTriangle, coef.CoefMyTriangle});
            return true;
        }
    }
}

CaseFailure Failure(int c, std::string cause, std::string causeEnglish) {
    return {c, std::move(cause), std::move(causeEnglish)};
}

// The sheet's rule for a typed number: rounded to the column's places, then
// compared with its range.
bool WithinSheetRange(double value, int sheetColumn) {
    const SheetColumn& col = SheetColumnInfo(sheetColumn);
    // Rounding moves a value by at most half a unit of its last place: one
    // a whole unit inside the range stays in it, and only a value near an
    // end needs rounding to decide.
    constexpr double kUnits[] = {1.0, 0.1, 0.01, 0.001, 1e-4, 1e-5, 1e-6};
    if (col.decimals >= 0 && col.decimals <= 6 && value >= col.min + kUnits[col.decimals] &&
        value <= col.max - kUnits[col.decimals]) {
        return true;
    }
    const double rounded = RoundHalfEven(value, col.decimals);
    return std::isfinite(value) && rounded >= col.min - 1e-9 && rounded <= col.max + 1e-9;
}

} // namespace

bool LoadCoefTable(const std::string& dataFolder, CalcArrays& calc, CoefWorkTables& coef, int type,
                   double lambda, int caseNo) {
    CoefRunCache cache;
    return LoadCoefTableCached(cache, dataFolder, calc, coef, type, lambda, caseNo);
}

std::vector<CoefBlock> LoadAllCoefBlocks(const std::string& dataFolder, int type) {
    const int points = RequireTableType(type).points;
    const std::string path = CoefFilePath(dataFolder, type);
    auto cache = std::make_unique<CoefRunCache>();
    auto calc = std::make_unique<CalcArrays>();
    calc->CalcRowCount[1] = 3;
    calc->CalcPointCount[1] = points;
    CoefFileIndex& file = OpenCoefFile(*cache, path, type);
    std::vector<CoefBlock> blocks;
    for (std::size_t i = 0;; ++i) {
        const CoefFileIndex::Header h = HeaderAt(file, path, i);
        if (h.endMarker) {
            return blocks;
        }
        CoefBlock block;
        block.ratio = h.ratio;
        ReadBlock(file, h.body, block.tables, *calc, 1);
        blocks.push_back(block);
    }
}

void CopyCaseValues(const CaseTable& cases, int c, CalcArrays& calc) {
    std::int32_t typeIndex = 0;
    std::int32_t placesIndex = 0;
    cases.tableTypeIndex(c, typeIndex);
    cases.decimalsIndex(c, placesIndex);
    calc.CalcType[c] = typeIndex + 1;
    calc.CalcKeta[c] = placesIndex + 2;
    calc.CalcLx[c] = cases.lx(c);
    calc.CalcLy[c] = cases.ly(c);
    calc.CalcRamuda[c] = cases.lambda(c);
    calc.CalcQA[c] = cases.qa(c);
    calc.CalcQB[c] = cases.qb(c);
}

bool CheckCaseValues(const CaseTable& cases, int c, CaseFailure& failure, CaseCheck check) {
    std::int32_t typeIndex = 0;
    std::int32_t placesIndex = 0;
    if (!cases.tableTypeIndex(c, typeIndex) || !cases.decimalsIndex(c, placesIndex) ||
        typeIndex == std::numeric_limits<std::int32_t>::max() ||
        placesIndex > std::numeric_limits<std::int32_t>::max() - 2) {
        failure = Failure(c, "計算数表の種類または小数部桁数が整数ではありません",
                          "the table type or the decimal places are not a whole number");
        return false;
    }
    if (TableType(typeIndex + 1) == nullptr) {
        failure =
            Failure(c, "計算数表の種類（" + std::to_string(typeIndex) + "）が正しくありません",
                    "table type " + std::to_string(typeIndex) + " is not one of 0 .. 4");
        return false;
    }
    struct Span {
        const char* name;
        int column;
        int sheetColumn;
    };
    for (const Span span :
         {Span{"Lx", CaseCol::Lx, SheetCol::Lx}, Span{"Ly", CaseCol::Ly, SheetCol::Ly}}) {
        const std::string name = span.name;
        if (cases.cell(c, span.column).isEmpty()) {
            failure = Failure(c, name + " が入力されていません", name + " is empty");
            return false;
        }
        const double v = cases.cell(c, span.column).toNumber();
        if (!(v > 0.0) || !WithinSheetRange(v, span.sheetColumn)) {
            const std::string max = PlainNumberText(SheetColumnInfo(span.sheetColumn).max);
            failure = Failure(c,
                              name + " = " + PlainNumberText(v) + "：辺長は 0 より大きく " + max +
                                  " 以下でなければなりません",
                              name + " = " + PlainNumberText(v) +
                                  ": a span must be greater than 0 and at most " + max);
            return false;
        }
    }
    if (check == CaseCheck::All) {
        const double lambda = cases.lambda(c);
        if (!(std::isfinite(lambda) && lambda > 0.0)) {
            failure = Failure(c,
                              "λ = " + PlainNumberText(lambda) +
                                  "：辺長比 λ は 0 より大きくなければなりません",
                              "λ = " + PlainNumberText(lambda) +
                                  ": the side ratio must be a number greater than 0");
            return false;
        }
    }
    for (const Span load :
         {Span{"QA", CaseCol::QA, SheetCol::QA}, Span{"QB", CaseCol::QB, SheetCol::QB}}) {
        const double v = cases.cell(c, load.column).toNumber();
        if (!WithinSheetRange(v, load.sheetColumn)) {
            const SheetColumn& col = SheetColumnInfo(load.sheetColumn);
            const std::string range = PlainNumberText(col.min) + " ～ " + PlainNumberText(col.max);
            failure = Failure(c,
                              std::string(load.name) + " = " + PlainNumberText(v) +
                                  "：荷重の入力範囲（" + range + "）の外です",
                              std::string(load.name) + " = " + PlainNumberText(v) +
                                  ": outside the accepted range " + PlainNumberText(col.min) +
                                  " .. " + PlainNumberText(col.max));
            return false;
        }
    }
    return true;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string UnreadableCoefFileCause(const std::string& file, int code) {
    return "計算数表 " + file + " を読み込めません（ｴﾗｰｺｰﾄﾞ ： " + std::to_string(code) + "）";
}

void ClearCaseResults(CalcArrays& calc, int c) {
    calc.CalcRowCount[c] = 0;
    calc.CalcPointCount[c] = 0;
    calc.CalcMx[c] = MomentGrid();
    calc.CalcMy[c] = MomentGrid();
}

MomentFailure MomentsFromCoefficients(CalcArrays& calc, const CoefWorkTables& coef, int c) {
    const double qa = calc.CalcQA[c];
    const double qb = calc.CalcQB[c];
    double u = 0.0;
    double t = 0.0;
    bool reversed = false;
    if (TableType(calc.CalcType[c])->freeEdge) {
        u = qb;
        t = qa - qb;
    } else if (std::fabs(qb) > kZeroLoadTolerance) {
        u = qa;
        t = qb - qa;
    } else {
        u = 0.0;
        t = qa;
        reversed = true;
    }

    const double ratio = calc.CalcLx[c] / calc.CalcLy[c];
    if (!std::isfinite(ratio)) {
        return MomentFailure::LoadTooLarge;
    }
    const double l = ratio > 1.0 ? calc.CalcLy[c] : calc.CalcLx[c];
    const double l2 = std::pow(l, 2);
    const double bigU = l2 * u;
    const double bigT = l2 * t;
    if (!std::isfinite(bigU) || !std::isfinite(bigT)) {
        return MomentFailure::LoadTooLarge;
    }

    const int points = calc.CalcPointCount[c];
    for (int j = 1; j <= calc.CalcRowCount[c]; ++j) {
        for (int k = 1; k <= points; ++k) {
            const int kk = reversed ? points - k + 1 : k;
            const double mx1 = bigU * coef.CoefMxUniform(j, kk);
            const double mx2 = bigT * coef.CoefMxTriangle(j, kk);
            const double my1 = bigU * coef.CoefMyUniform(j, kk);
            const double my2 = bigT * coef.CoefMyTriangle(j, kk);
            const double mx = mx1 + mx2;
            const double my = my1 + my2;
            if (!std::isfinite(mx) || !std::isfinite(my)) {
                return MomentFailure::MomentTooLarge;
            }
            calc.CalcMx[c](j, k) = mx;
            calc.CalcMy[c](j, k) = my;
        }
    }
    return MomentFailure::None;
}

CaseFailure MomentFailureCause(MomentFailure why, int c) {
    return why == MomentFailure::LoadTooLarge
               ? Failure(c, "荷重×辺長² が大きすぎます", "load x span² is too large")
               : Failure(c, "ﾓｰﾒﾝﾄが大きすぎます", "a moment is too large");
}

bool CalcMoments(const CaseTable& cases, CalcArrays& calc, CoefWorkTables& coef,
                 const std::string& dataFolder, Error* error, std::vector<CaseFailure>* failures) {
    const int n = cases.CaseCount;
    if (failures != nullptr) {
        failures->clear();
    }
    if (n < 0 || n > MaxCases) {
        if (error != nullptr) {
            *error = Error("the case count " + std::to_string(n) + " is outside 0 .. 99");
        }
        return false;
    }
    // Each coefficient file is read and searched once per run, however many
    // cases use it.
    const RunCacheLease cache;
    bool allDone = true;
    auto fail = [&](CaseFailure failure, int code = 0, const std::string& path = {}) {
        ClearCaseResults(calc, failure.caseNo);
        if (allDone && error != nullptr) {
            *error = Error("case " + std::to_string(failure.caseNo) + ": " + failure.causeEnglish,
                           code, path);
        }
        allDone = false;
        if (failures != nullptr) {
            failures->push_back(std::move(failure));
        }
    };
    for (int c = 1; c <= n; ++c) {
        CaseFailure refused;
        if (!CheckCaseValues(cases, c, refused)) {
            fail(std::move(refused));
            continue;
        }
        CopyCaseValues(cases, c, calc);

        const std::string path = CoefFilePath(dataFolder, calc.CalcType[c]);
        const std::string file = FileNameOf(path);
        try {
            if (!LoadCoefTableCached(*cache, dataFolder, calc, coef, calc.CalcType[c],
                                     calc.CalcRamuda[c], c)) {
                fail(Failure(c,
                             "計算数表 " + file + " に λ = " + PlainNumberText(calc.CalcRamuda[c]) +
                                 " のﾌﾞﾛｯｸがありません",
                             "no coefficient block for λ = " + std::to_string(calc.CalcRamuda[c]) +
                                 " in " + path));
                continue;
            }
        } catch (const Error& e) {
            const std::string cause = e.code() != 0
                                          ? UnreadableCoefFileCause(file, e.code())
                                          : "計算数表 " + file + " の内容を読み取れません";
            fail(Failure(c, cause, e.what()), e.code(), e.path());
            continue;
        }
        const MomentFailure why = MomentsFromCoefficients(calc, coef, c);
        if (why != MomentFailure::None) {
            fail(MomentFailureCause(why, c));
        }
    }
    return allDone;
}

std::string CaseFailureLines(const std::vector<CaseFailure>& failures) {
    std::string lines;
    for (const CaseFailure& f : failures) {
        if (!lines.empty()) {
            lines += '\n';
        }
        lines += "№" + std::to_string(f.caseNo) + " " + f.cause;
    }
    return lines;
}

} // namespace ormavex
