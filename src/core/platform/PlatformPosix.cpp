// The platform layer on Linux and other POSIX systems.
#include "core/platform/Platform.h"

#include "core/platform/Cp932Read.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <iconv.h>
#include <pthread.h>
#include <pwd.h>
#include <sched.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ormavex::platform {

namespace {

FileStatus FromStat(const struct stat& st) {
    FileStatus s;
    s.kind = S_ISREG(st.st_mode)                          ? FileKind::Regular
             : S_ISDIR(st.st_mode)                        ? FileKind::Folder
             : S_ISFIFO(st.st_mode)                       ? FileKind::Fifo
             : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? FileKind::Device
             : S_ISSOCK(st.st_mode)                       ? FileKind::Socket
                                                          : FileKind::Other;
    s.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    s.permissions = static_cast<unsigned>(st.st_mode & 07777);
    return s;
}

std::string WithoutTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') {
        s.pop_back();
    }
    return s;
}

// One iconv descriptor per direction and thread: opening a descriptor costs far
// more than a short conversion, and a descriptor holds shift state. A C
// library without code page 932 is a broken installation: the program ends.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr,
                         "Shift_JIS conversion unavailable: iconv cannot convert from %s to %s\n",
                         from, to);
            std::abort();
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; an input sequence that cannot be converted is replaced by
    // `replacement` and skipped by `skip(in)` bytes.
    template <typename Skip>
    std::string convert(std::string_view in, std::string_view replacement, Skip skip) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) {
                    continue;
                }
                // EILSEQ or EINVAL (truncated sequence at the end)
                out.append(replacement);
                std::size_t n = std::min(srcLeft, skip(std::string_view(src, srcLeft)));
                src += n;
                srcLeft -= n;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
};

std::size_t Utf8Skip(std::string_view s) noexcept {
    const auto b = static_cast<unsigned char>(s[0]);
    return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

void (*g_cleanup)() noexcept = nullptr;

extern "C" void CleanUpAndExit(int signo) {
    if (g_cleanup != nullptr) {
        g_cleanup();
    }
    ::_exit(128 + signo);
}

} // namespace

std::filesystem::path FsPath(std::string_view utf8) { return std::filesystem::path(utf8); }

std::string Utf8Path(const std::filesystem::path& path) { return path.string(); }

int Status(const std::string& path, FileStatus& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno;
    }
    status = FromStat(st);
    return 0;
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

int StatusOf(int fd, FileStatus& status) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return errno;
    }
    status = FromStat(st);
    return 0;
}

int CheckWritable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0 ? 0 : errno; }

bool FolderWritable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

int OpenForReading(const std::string& path, int& fd) {
    // O_NONBLOCK: opening a FIFO with no writer must not wait; the caller
    // checks what was opened before reading from it.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    return fd < 0 ? errno : 0;
}

int OpenForWriting(const std::string& path, bool append, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : 0), 0666);
    return fd < 0 ? errno : 0;
}

long long ReadSome(int fd, char* buffer, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

int WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
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

int SyncToDisk(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int Truncate(int fd, std::uint64_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

int Close(int fd) { return ::close(fd) == 0 ? 0 : errno; }

void SetPermissions(int fd, const FileStatus* keep) {
    mode_t mode = 0644;
    if (keep != nullptr) {
        mode = static_cast<mode_t>(keep->permissions);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
}

int CreateUniqueFile(const std::string& folder, std::string_view prefix, std::string_view suffix,
                     std::string& path, int& fd) {
    path = folder + "/" + std::string(prefix) + "XXXXXX" + std::string(suffix);
    fd = ::mkstemps(path.data(), static_cast<int>(suffix.size()));
    return fd < 0 ? errno : 0;
}

int ReplaceByRename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool RemoveFile(const std::string& path) {
    // unlink never removes a folder (it fails with EISDIR).
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

bool MakeFolder(const std::string& path) {
    return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

std::filesystem::path ExecutablePath() {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) / "ormavex" : p;
}

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return WithoutTrailingSlash((tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp");
}

std::string LocalAppDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return WithoutTrailingSlash(xdg);
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    if (home.empty() || home[0] != '/') {
        return {};
    }
    return WithoutTrailingSlash(home) + "/.local/share";
}

bool StartProgram(const std::string& /*commandLine*/, const std::vector<std::string>& args,
                  bool wait) {
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    argv.reserve(copy.size() + 1);
    for (std::string& a : copy) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (argv.size() < 2 ||
        ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    auto reap = [pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    };
    if (wait) {
        reap();
    } else {
        std::thread(reap).detach(); // reaped when it ends, never left a zombie
    }
    return true;
}

static_assert(sizeof(sigset_t) <= sizeof(SignalMask::bytes));

void HoldTerminationSignals(SignalMask& saved) noexcept {
    sigset_t held;
    sigemptyset(&held);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&held, s);
    }
    ::pthread_sigmask(SIG_BLOCK, &held, reinterpret_cast<sigset_t*>(saved.bytes));
}

void ReleaseTerminationSignals(const SignalMask& saved) noexcept {
    ::pthread_sigmask(SIG_SETMASK, reinterpret_cast<const sigset_t*>(saved.bytes), nullptr);
}

void InstallTerminationHandler(void (*cleanup)() noexcept) noexcept {
    g_cleanup = cleanup;
    struct sigaction sa {};
    sa.sa_handler = CleanUpAndExit;
    sigemptyset(&sa.sa_mask);
    // One signal at a time: a second one waits until the first has ended
    // the program.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&sa.sa_mask, s);
    }
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(s, &sa, nullptr);
    }
}

void RemoveFileOnExit(const char* path) noexcept { ::unlink(path); }

void KeepOffStartersProcessor(std::thread& thread) noexcept {
#ifdef __linux__
    const int cpu = ::sched_getcpu();
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (cpu < 0 || cpu >= CPU_SETSIZE || ::sched_getaffinity(0, sizeof allowed, &allowed) != 0 ||
        !CPU_ISSET(cpu, &allowed) || CPU_COUNT(&allowed) < 2) {
        return;
    }
    CPU_CLR(cpu, &allowed);
    ::pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
#else
    (void)thread;
#endif
}

std::string Utf8ToCp932(std::string_view utf8) {
    thread_local Converter conv("CP932", "UTF-8");
    return conv.convert(utf8, "?", Utf8Skip);
}

std::string Cp932ToUtf8(std::string_view cp932) { return cp932::Read(cp932); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void BinaryStandardOutput() {}

void* LoadModuleSymbol(const std::string& path, const char* symbol, std::string& error) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : path;
        return nullptr;
    }
    void* entry = ::dlsym(module, symbol);
    if (entry == nullptr) {
        error = path + " has no " + symbol;
    }
    return entry;
}

} // namespace ormavex::platform
