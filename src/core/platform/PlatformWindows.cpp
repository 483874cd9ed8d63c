// The platform layer on Windows: the C runtime's descriptors opened with wide
// paths, the Win32 calls for what the runtime lacks, and code page 932
// written through WideCharToMultiByte (read from the table every system
// shares).
#include "core/platform/Platform.h"

#include "core/platform/Cp932Read.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <random>

namespace ormavex::platform {

namespace {

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n,
                          nullptr, nullptr);
    return s;
}

int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_READY: return ENXIO;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return EEXIST;
    default: return EIO;
    }
}

// What an open handle is: a character device (NUL, CON, COM1), a pipe, a
// folder or a file with its size and read-only attribute.
int StatusOfHandle(HANDLE handle, FileStatus& status) {
    status = FileStatus{};
    switch (::GetFileType(handle)) {
    case FILE_TYPE_CHAR: status.kind = FileKind::Device; return 0;
    case FILE_TYPE_PIPE: status.kind = FileKind::Fifo; return 0;
    case FILE_TYPE_DISK: break;
    default: status.kind = FileKind::Other; return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return ErrnoOf(::GetLastError());
    }
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.kind = folder ? FileKind::Folder : FileKind::Regular;
    status.size = folder ? 0 : (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    status.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u : 0666u;
    return 0;
}

std::string WithoutTrailingSeparator(std::string s) {
    while (s.size() > 3 && (s.back() == '\\' || s.back() == '/')) {
        s.pop_back();
    }
    return s;
}

// The UTF-8 sequence at the start of `s` as a code point; false (with the
// bytes to skip) when it is malformed: a stray continuation byte, a
// truncated or overlong sequence, a surrogate or a value past U+10FFFF.
bool DecodeUtf8(std::string_view s, char32_t& cp, std::size_t& length) {
    const auto b = static_cast<unsigned char>(s[0]);
    length = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (b < 0x80) {
        cp = b;
        return true;
    }
    if (b < 0xC2 || b > 0xF4 || length > s.size()) {
        length = std::min(length, s.size());
        return false;
    }
    cp = b & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    return cp >= least && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

// Where code page 932 of Windows and glibc's iconv differ, the conversion
// follows iconv, so that a file is the same bytes whichever system wrote it.
// Characters iconv writes as the JIS character they stand for (Windows writes
// "?"): the yen sign as the backslash byte, the minus sign as "－", the wave
// dash as "～", and so on.
bool AsIconvWrites(char32_t cp, std::string& bytes) {
    switch (cp) {
    case 0x00A2: bytes = "\x81\x91"; return true;
    case 0x00A3: bytes = "\x81\x92"; return true;
    case 0x00A5: bytes = "\x5C"; return true;
    case 0x00AC: bytes = "\x81\xCA"; return true;
    case 0x2014: bytes = "\x81\x5C"; return true;
    case 0x2016: bytes = "\x81\x61"; return true;
    case 0x203E: bytes = "\x7E"; return true;
    case 0x2212: bytes = "\x81\x7C"; return true;
    case 0x301C: bytes = "\x81\x60"; return true;
    default: break;
    }
    // Windows writes U+0080 and U+F8F0..U+F8F3 as the single bytes 0x80, 0xA0
    // and 0xFD..0xFF; iconv has no character for those bytes.
    if (cp == 0x80 || (cp >= 0xF8F0 && cp <= 0xF8F3)) {
        bytes = "?";
        return true;
    }
    // The invisible tag characters are left out, as iconv leaves them out.
    if (cp >= 0xE0000 && cp <= 0xE007F) {
        bytes.clear();
        return true;
    }
    return false;
}

void (*g_cleanup)() noexcept = nullptr;
CRITICAL_SECTION g_held;
INIT_ONCE g_heldOnce = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK InitHeld(PINIT_ONCE, PVOID, PVOID*) {
    ::InitializeCriticalSection(&g_held);
    return TRUE;
}

CRITICAL_SECTION& Held() {
    ::InitOnceExecuteOnce(&g_heldOnce, InitHeld, nullptr, nullptr);
    return g_held;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    // The console's events in place of the signals: Ctrl+C is SIGINT,
    // Ctrl+Break SIGTERM, the console closing SIGHUP.
    const int signo = event == CTRL_C_EVENT ? 2 : event == CTRL_BREAK_EVENT ? 15 : 1;
    // A run that is making a file and listing it finishes that step first.
    ::EnterCriticalSection(&Held());
    if (g_cleanup != nullptr) {
        g_cleanup();
    }
    ::ExitProcess(static_cast<UINT>(128 + signo));
    return TRUE;
}

// Opens a file with CreateFileW as a C runtime descriptor. Reading, writing
// and deleting are shared, as on POSIX: a file open here can still be
// removed or renamed over. Not inherited by started programs; a folder
// cannot be opened (access refused).
int OpenShared(const std::string& path, DWORD access, DWORD creation, int flags, int& fd) {
    fd = -1;
    if (path.empty()) {
        return ENOENT;
    }
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return ErrnoOf(::GetLastError());
    }
    fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        ::CloseHandle(handle);
        return EMFILE;
    }
    return 0;
}

} // namespace

std::filesystem::path FsPath(std::string_view utf8) { return std::filesystem::path(Wide(utf8)); }

std::string Utf8Path(const std::filesystem::path& path) { return Narrow(path.native()); }

int Status(const std::string& path, FileStatus& status) {
    if (path.empty()) {
        return ENOENT;
    }
    // Opened for no access at all: only to ask what it is (a folder needs
    // the backup flag to be opened).
    HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return ErrnoOf(::GetLastError());
    }
    const int err = StatusOfHandle(handle, status);
    ::CloseHandle(handle);
    return err;
}

bool IsSymbolicLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

int StatusOf(int fd, FileStatus& status) {
    const intptr_t handle = ::_get_osfhandle(fd);
    if (handle == -1) {
        return EBADF;
    }
    return StatusOfHandle(reinterpret_cast<HANDLE>(handle), status);
}

int CheckWritable(const std::string& path) {
    return ::_waccess(Wide(path).c_str(), 2) == 0 ? 0 : errno;
}

bool FolderWritable(const std::string& folder) {
    // The folder's attributes say nothing about its permissions: a file is
    // made and removed again.
    std::string probe;
    int fd = -1;
    if (CreateUniqueFile(folder, ".ormavex-", ".tmp", probe, fd) != 0) {
        return false;
    }
    Close(fd);
    RemoveFile(probe);
    return true;
}

int OpenForReading(const std::string& path, int& fd) {
    return OpenShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY, fd);
}

int OpenForWriting(const std::string& path, bool append, int& fd) {
    return OpenShared(path, GENERIC_WRITE, OPEN_ALWAYS, append ? _O_APPEND : 0, fd);
}

long long ReadSome(int fd, char* buffer, std::size_t size) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
    return ::_read(fd, buffer, chunk);
}

int WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const unsigned chunk =
            static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        const int n = ::_write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int SyncToDisk(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }

int Truncate(int fd, std::uint64_t size) { return ::_chsize_s(fd, static_cast<long long>(size)); }

int Close(int fd) { return ::_close(fd) == 0 ? 0 : errno; }

void SetPermissions(int /*fd*/, const FileStatus* /*keep*/) {}

int CreateUniqueFile(const std::string& folder, std::string_view prefix, std::string_view suffix,
                     std::string& path, int& fd) {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}() ^
                                     static_cast<unsigned>(::GetCurrentProcessId())};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        std::string name(prefix);
        for (int i = 0; i < 6; ++i) {
            name += kChars[pick(random)];
        }
        name += suffix;
        path = folder + "/" + name;
        err = OpenShared(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, 0, fd);
    }
    if (err != 0) {
        fd = -1;
    }
    return err;
}

int ReplaceByRename(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return ErrnoOf(::GetLastError());
}

bool RemoveFile(const std::string& path) {
    return !path.empty() && ::DeleteFileW(Wide(path).c_str()) != 0;
}

bool MakeFolder(const std::string& path) {
    return !path.empty() && ::CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

std::filesystem::path ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            std::error_code ec;
            return std::filesystem::current_path(ec) / L"ormavex.exe";
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string TemporaryFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    return WithoutTrailingSeparator(n > 0 ? Narrow(std::wstring_view(buffer, n)) : ".");
}

std::string LocalAppDataFolder() {
    if (const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA"); local != nullptr && local[0] != 0) {
        return WithoutTrailingSeparator(Narrow(local));
    }
    if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
        profile != nullptr && profile[0] != 0) {
        return WithoutTrailingSeparator(Narrow(profile)) + "\\AppData\\Local";
    }
    return {};
}

bool StartProgram(const std::string& commandLine, const std::vector<std::string>& args, bool wait) {
    if (args.empty()) {
        return false;
    }
    // The program gets the line itself: it splits it by the same rules the
    // arguments were split by here.
    std::wstring line = Wide(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return false;
    }
    if (wait) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

void HoldTerminationSignals(SignalMask& /*saved*/) noexcept { ::EnterCriticalSection(&Held()); }

void ReleaseTerminationSignals(const SignalMask& /*saved*/) noexcept {
    ::LeaveCriticalSection(&Held());
}

void InstallTerminationHandler(void (*cleanup)() noexcept) noexcept {
    g_cleanup = cleanup;
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void RemoveFileOnExit(const char* path) noexcept { ::DeleteFileW(Wide(path).c_str()); }

void KeepOffStartersProcessor(std::thread&) noexcept {}

std::string Utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        std::size_t length = 1;
        if (!DecodeUtf8(utf8.substr(i), cp, length)) {
            out += '?';
            i += length;
            continue;
        }
        i += length;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        if (std::string same; AsIconvWrites(cp, same)) {
            out += same;
            continue;
        }
        wchar_t units[2];
        int count = 1;
        if (cp >= 0x10000) {
            units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            count = 2;
        } else {
            units[0] = static_cast<wchar_t>(cp);
        }
        char bytes[4];
        BOOL usedDefault = FALSE;
        const int n = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, units, count, bytes,
                                            sizeof bytes, nullptr, &usedDefault);
        if (n <= 0 || usedDefault) {
            out += '?';
        } else {
            out.append(bytes, static_cast<std::size_t>(n));
        }
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) { return cp932::Read(cp932); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        args.push_back(Narrow(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}

void BinaryStandardOutput() { ::_setmode(1, _O_BINARY); }

void* LoadModuleSymbol(const std::string& path, const char* symbol, std::string& error) {
    HMODULE module = ::LoadLibraryW(Wide(path).c_str());
    if (module == nullptr) {
        error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return nullptr;
    }
    void* entry = reinterpret_cast<void*>(::GetProcAddress(module, symbol));
    if (entry == nullptr) {
        error = path + " has no " + symbol;
    }
    return entry;
}

} // namespace ormavex::platform
