#include "core/text/TextFile.h"

#include "core/platform/Platform.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ormavex {

namespace {

bool FolderExists(const std::string& path) {
    const std::filesystem::path p = platform::FsPath(path);
    std::error_code ec;
    return std::filesystem::is_directory(
        p.has_parent_path() ? p.parent_path() : std::filesystem::path("."), ec);
}

Error FileFailure(const char* verb, const std::string& path, int code, const std::string& reason) {
    return Error(std::string("cannot ") + verb + " " + path + ": " + reason + " (error " +
                     std::to_string(code) + ")",
                 code, path);
}

} // namespace

const char* FileKindReason(platform::FileKind kind) {
    switch (kind) {
    case platform::FileKind::Regular: return "";
    case platform::FileKind::Folder: return "is a folder, not a file";
    case platform::FileKind::Fifo: return "is a FIFO, not a regular file";
    case platform::FileKind::Device: return "is a device, not a regular file";
    case platform::FileKind::Socket: return "is a socket, not a regular file";
    default: return "is not a regular file";
    }
}

int FileErrorFromErrno(int err, const std::string& path, bool writing) {
    switch (err) {
    case ENOENT:
        if (path.empty()) {
            return FileError::BadFileName;
        }
        return (!writing && FolderExists(path)) ? FileError::FileNotFound : FileError::PathNotFound;
    case ENOTDIR: return FileError::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileError::PathFileAccess;
#ifdef ETXTBSY
    case ETXTBSY:
#endif
    case EBUSY: return FileError::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return FileError::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return FileError::BadFileName;
    case EMFILE:
    case ENFILE: return FileError::TooManyFiles;
    case ENODEV:
    case ENXIO: return FileError::DiskNotReady;
    default: return FileError::DeviceIo;
    }
}

bool ReadFileBytes(const std::string& path, std::string& bytes, Error& error, std::size_t limit) {
    bytes.clear();
    int fd = -1;
    auto fail = [&](int code, const std::string& reason) {
        if (fd >= 0) {
            platform::Close(fd);
        }
        bytes.clear();
        error = FileFailure("read", path, code, reason);
        return false;
    };
    auto failErrno = [&](int err) {
        return fail(FileErrorFromErrno(err, path, false), std::strerror(err));
    };
    // An empty path fails with ENOENT, which gives 52. A FIFO with no writer
    // is opened without waiting; what was opened is checked before anything
    // is read from it.
    platform::FileStatus st;
    if (const int err = platform::OpenForReading(path, fd); err != 0) {
        return failErrno(err);
    }
    if (const int err = platform::StatusOf(fd, st); err != 0) {
        return failErrno(err);
    }
    if (st.kind != platform::FileKind::Regular) {
        return fail(FileError::PathFileAccess, DescribeUnreadableFile(path, limit));
    }
    if (st.size > limit) {
        return fail(FileError::OutOfMemory, DescribeUnreadableFile(path, limit));
    }
    // Read straight into the string: its size from the open file, grown
    // (never past the limit) if the file turns out longer.
    bytes.resize(static_cast<std::size_t>(st.size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > limit) {
                return fail(FileError::OutOfMemory, "is too large");
            }
            bytes.resize(std::min(bytes.size() * 2 + 4096, limit + 1));
        }
        const long long n = platform::ReadSome(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            return failErrno(errno);
        }
        if (n == 0) {
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    platform::Close(fd);
    bytes.resize(have);
    return true;
}

std::string DescribeUnreadableFile(const std::string& path, std::size_t limit) {
    if (path.empty()) {
        return "no file name given";
    }
    platform::FileStatus st;
    if (const int err = platform::Status(path, st); err != 0) {
        return std::strerror(err);
    }
    if (st.kind != platform::FileKind::Regular) {
        return FileKindReason(st.kind);
    }
    if (st.size > limit) {
        return "is too large (" + std::to_string(st.size) + " bytes, at most " +
               std::to_string(limit) + ")";
    }
    if (st.size == 0) {
        return "is empty";
    }
    return {};
}

void FileReadCache::disable() noexcept {
    m_enabled = false;
    m_files.clear();
    m_parsed.clear();
}

bool FileReadCache::read(const std::string& path, std::string& bytes, Error& error,
                         std::size_t limit) {
    if (!m_enabled) {
        return ReadFileBytes(path, bytes, error, limit);
    }
    auto it = std::find_if(m_files.begin(), m_files.end(),
                           [&](const Entry& e) { return e.path == path; });
    if (it == m_files.end()) {
        Entry e;
        e.path = path;
        e.ok = ReadFileBytes(path, e.bytes, e.error, limit);
        it = m_files.insert(m_files.end(), std::move(e));
    }
    if (it->ok) {
        bytes = it->bytes;
    } else {
        error = it->error;
    }
    return it->ok;
}

bool LineReader::next(std::string_view& line) noexcept {
    if (m_pos >= m_data.size()) {
        return false;
    }
    // The next LF is searched with memchr and remembered, so that a file
    // whose lines end in a lone CR is not searched to its end for every line.
    const char* base = m_data.data();
    const std::size_t size = m_data.size();
    if (m_nextLf < m_pos || m_nextLf == kUnknown) {
        const void* lf = std::memchr(base + m_pos, '\n', size - m_pos);
        m_nextLf =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : size;
    }
    std::size_t end = m_nextLf;
    if (const void* cr = std::memchr(base + m_pos, '\r', end - m_pos)) {
        end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
    }
    line = m_data.substr(m_pos, end - m_pos);
    if (end < size) {
        if (m_data[end] == '\r' && end + 1 < size && m_data[end + 1] == '\n') {
            ++end;
        }
        ++end;
    }
    m_pos = end;
    return true;
}

bool LineReader::skip(std::size_t n) noexcept {
    std::string_view dummy;
    for (std::size_t i = 0; i < n; ++i) {
        if (!next(dummy)) {
            return false;
        }
    }
    return true;
}

TextOutFile::~TextOutFile() { close(); }

void TextOutFile::restart(const std::string& path, bool cutAtClose) {
    if (m_fd >= 0) {
        close();
    }
    m_errorCode = 0;
    m_path = path;
    m_written = 0;
    m_buffer.clear();
    m_cutAtClose = cutAtClose;
}

bool TextOutFile::open(const std::string& path, Mode mode) {
    // Truncate writes from the start without O_TRUNC; close() cuts what is
    // left of a longer old content. An empty path gives 52, as on reading.
    restart(path, mode == Mode::Truncate);
    if (const int err = platform::OpenForWriting(path, mode == Mode::Append, m_fd); err != 0) {
        m_fd = -1;
        m_errorCode = FileErrorFromErrno(err, path, true);
        return false;
    }
    return true;
}

bool TextOutFile::adopt(int fd, const std::string& path) {
    restart(path, false);
    m_fd = fd;
    if (m_fd < 0) {
        m_errorCode = FileError::BadFileName;
        return false;
    }
    return true;
}

void TextOutFile::writeBytes(std::string_view bytes) {
    if (m_fd < 0) {
        if (m_errorCode == 0) {
            m_errorCode = FileError::BadFileName;
        }
        return;
    }
    if (m_errorCode != 0 || bytes.empty()) {
        return;
    }
    m_written += static_cast<long long>(bytes.size());
    if (m_buffer.empty() && bytes.size() >= kBufferSize / 8) {
        // A whole file's bytes at once go out without a copy.
        if (const int err = platform::WriteAll(m_fd, bytes); err != 0) {
            m_errorCode = FileErrorFromErrno(err, m_path, true);
        }
        return;
    }
    m_buffer += bytes;
    if (m_buffer.size() >= kBufferSize) {
        writeBuffer();
    }
}

void TextOutFile::write(std::string_view utf8) { writeBytes(ToShiftJis(utf8)); }

void TextOutFile::writeLine(std::string_view utf8) {
    writeBytes(ToShiftJis(utf8));
    writeBytes("\r\n");
}

void TextOutFile::writeBuffer() {
    if (const int err = m_errorCode == 0 ? platform::WriteAll(m_fd, m_buffer) : 0; err != 0) {
        m_errorCode = FileErrorFromErrno(err, m_path, true);
    }
    m_buffer.clear();
}

bool TextOutFile::flush() {
    if (m_fd >= 0) {
        writeBuffer();
    }
    return m_errorCode == 0;
}

bool TextOutFile::close() {
    if (m_fd < 0) {
        return m_errorCode == 0;
    }
    writeBuffer();
    if (m_cutAtClose) {
        platform::FileStatus st;
        if (platform::StatusOf(m_fd, st) == 0 && st.kind == platform::FileKind::Regular &&
            st.size > static_cast<std::uint64_t>(m_written)) {
            if (const int err = platform::Truncate(m_fd, static_cast<std::uint64_t>(m_written));
                err != 0 && m_errorCode == 0) {
                m_errorCode = FileErrorFromErrno(err, m_path, true);
            }
        }
    }
    if (const int err = platform::Close(m_fd); err != 0 && m_errorCode == 0) {
        m_errorCode = FileErrorFromErrno(err, m_path, true);
    }
    m_fd = -1;
    m_buffer.clear();
    return m_errorCode == 0;
}

} // namespace ormavex
