#pragma once
// File access for the system's text files: whole-file reads, CR LF line
// splitting, line writing in Shift_JIS with CR LF, and the error codes that the
// windows show for file failures.
//
// Every operation here reports failure through its result and an Error whose
// code() is the file error code; nothing throws for an I/O problem.

#include "core/text/Error.h"
#include "core/text/FileReplace.h"

#include <any>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ormavex {

namespace platform {
enum class FileKind;
}

/// Error codes shown with file failures ("（ｴﾗｰｺｰﾄﾞ ： 53）").
namespace FileError {
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7; ///< a file larger than its kind allows
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
} // namespace FileError

/// Maps a system error number of an open, read or write of `path` to the
/// file error code. A missing file whose folder exists is 53, a missing folder 76.
int FileErrorFromErrno(int err, const std::string& path, bool writing);

/// The largest file of each kind that is read. A larger file is refused
/// before anything is allocated for it.
namespace FileLimit {
inline constexpr std::size_t Project = 1u << 20;
inline constexpr std::size_t Settings = 1u << 20;
inline constexpr std::size_t Coefficients = 16u << 20;
inline constexpr std::size_t Format = 1u << 20;
inline constexpr std::size_t Style = 1u << 20;
inline constexpr std::size_t Print = 64u << 20;
inline constexpr std::size_t Drawing = 16u << 20;
/// Any other file.
inline constexpr std::size_t Default = 64u << 20;
} // namespace FileLimit

/// Why a file of this kind cannot be read or replaced ("is a FIFO, not a
/// regular file"); empty for a regular file.
const char* FileKindReason(platform::FileKind kind);

/// Reads the whole file as bytes. Only a regular file is read: a folder, a
/// FIFO, a device or a socket fails with 75 without waiting on it, and a
/// file longer than `limit` bytes fails with 7 (checked before anything is
/// allocated and again while reading, for a file that grows). On failure
/// returns false, leaves `bytes` empty and sets `error` ("cannot read PATH
/// (error N)", code N).
bool ReadFileBytes(const std::string& path, std::string& bytes, Error& error,
                   std::size_t limit = FileLimit::Default);

/// Why `path` cannot be read as a file of at most `limit` bytes, in one
/// short English phrase ("is a FIFO, not a regular file"); empty when
/// nothing is seen to be wrong. Looks at the path without opening it.
std::string DescribeUnreadableFile(const std::string& path, std::size_t limit = FileLimit::Default);

/// Whole-file reads that, while enabled, read each file once: a later read
/// of the same path gets the same bytes (or the same error) from
/// memory. Enabled for the length of one run over data files that do not
/// change during it; disabled, it reads the file every time.
class FileReadCache {
public:
    void enable() noexcept { m_enabled = true; }
    /// Stops caching and forgets every file read.
    void disable() noexcept;
    /// As ReadFileBytes.
    bool read(const std::string& path, std::string& bytes, Error& error,
              std::size_t limit = FileLimit::Default);

    /// While enabled, what a reader made of a file (its parsed form) can be
    /// kept under a key of the reader's choosing; it is forgotten with the
    /// bytes. findParsed gives nothing while disabled.
    template <typename T> const T* findParsed(const std::string& key) const {
        for (const auto& [k, v] : m_parsed) {
            if (k == key) {
                return std::any_cast<T>(&v);
            }
        }
        return nullptr;
    }
    template <typename T> void keepParsed(std::string key, T value) {
        if (m_enabled) {
            m_parsed.emplace_back(std::move(key), std::any(std::move(value)));
        }
    }

private:
    struct Entry {
        std::string path;
        bool ok = false;
        Error error;
        std::string bytes;
    };
    bool m_enabled = false;
    std::vector<Entry> m_files;
    std::vector<std::pair<std::string, std::any>> m_parsed;
};

/// Splits file bytes into lines. A line ends at CR LF (also at a lone LF or CR);
/// a last line without line end is a line too. Lines are returned without their
/// line end.
class LineReader {
public:
    explicit LineReader(std::string_view data) noexcept : m_data(data) {}

    /// The next line; false at the end of the data.
    bool next(std::string_view& line) noexcept;
    /// Skips `n` lines; false when the data ended first.
    bool skip(std::size_t n) noexcept;
    std::size_t position() const noexcept { return m_pos; }

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::string_view m_data;
    std::size_t m_pos = 0;
    std::size_t m_nextLf = kUnknown; ///< position of the next LF, or the size when none
};

/// A text file opened for writing or appending. Lines are given as UTF-8 and
/// written as Shift_JIS followed by CR LF. The first failure is kept; later
/// writes do nothing and close() reports it.
///
/// Mode::Truncate leaves the file holding exactly what was written, but never
/// opens it with O_TRUNC: the file is written from its start and only a
/// longer old content is cut at close. Truncating an empty new file would
/// make ext4 start writing it out at close, and a later unlink would then
/// wait for the disk.
class TextOutFile {
public:
    enum class Mode { Truncate, Append };

    TextOutFile() = default;
    ~TextOutFile();
    TextOutFile(const TextOutFile&) = delete;
    TextOutFile& operator=(const TextOutFile&) = delete;

    bool open(const std::string& path, Mode mode);
    /// Takes over `fd`, a descriptor open for writing on the new, empty file
    /// `path` (as platform::CreateUniqueFile returns it); it is closed by close(). False, with
    /// the descriptor closed, when it cannot be used.
    bool adopt(int fd, const std::string& path);
    bool isOpen() const noexcept { return m_fd >= 0; }
    const std::string& path() const noexcept { return m_path; }
    /// One line: the text in Shift_JIS, then CR LF.
    void writeLine(std::string_view utf8);
    /// Text without line end.
    void write(std::string_view utf8);
    /// Bytes exactly as given (already Shift_JIS).
    void writeBytes(std::string_view bytes);
    /// Hands the buffered bytes to the system; false (and the error kept)
    /// when that fails.
    bool flush();
    /// Closes the file; true when every write and the close succeeded.
    bool close();
    bool failed() const noexcept { return m_errorCode != 0; }
    int errorCode() const noexcept { return m_errorCode; }

private:
    /// Closes an open file and starts afresh for `path`.
    void restart(const std::string& path, bool cutAtClose);
    /// Writes out the buffer; a failure is kept in the error code.
    void writeBuffer();

    static constexpr std::size_t kBufferSize = 64 * 1024;
    int m_fd = -1;
    std::string m_path;
    int m_errorCode = 0;
    bool m_cutAtClose = false; ///< Mode::Truncate: cut an old, longer content
    long long m_written = 0;   ///< bytes taken since the open
    std::string m_buffer;      ///< bytes not yet written
};

} // namespace ormavex
