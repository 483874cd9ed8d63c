#include "support/TestSupport.h"

#include "core/platform/Platform.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#ifdef _WIN32
#include <process.h>
#include <random>
#else
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ormavex::test {

#ifdef _WIN32
TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("ormavex-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = platform::Utf8Path(candidate); // as GetTempPath gives it
        }
    }
    if (m_path.empty()) {
        throw std::runtime_error("no temporary folder could be made");
    }
}
#else
TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ormavex-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = tmpl;
}
#endif

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

#ifdef _WIN32
// Windows has no small file system to mount: the tests that need one skip.
SmallTmpfs::SmallTmpfs(int /*kilobytes*/) {}
SmallTmpfs::~SmallTmpfs() = default;
void SmallTmpfs::fillUpTo(int /*kilobytes*/) const {}
#else
SmallTmpfs::SmallTmpfs(int kilobytes) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0777";
    m_mounted = ::geteuid() == 0 &&
                ::mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallTmpfs::~SmallTmpfs() {
    if (m_mounted) {
        ::umount2(m_dir.path().c_str(), MNT_DETACH);
    }
}

void SmallTmpfs::fillUpTo(int kilobytes) const {
    struct statvfs st {};
    if (::statvfs(m_dir.path().c_str(), &st) != 0) {
        return;
    }
    const long long freeBytes =
        static_cast<long long>(st.f_bavail) * static_cast<long long>(st.f_frsize);
    const long long fill = freeBytes - 1024LL * kilobytes;
    if (fill > 0) {
        WriteBytes(file("fill"), std::string(static_cast<std::size_t>(fill), 'x'));
    }
}

#endif

std::vector<std::string> SmallTmpfs::names() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(m_dir.path())) {
        out.push_back(e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(platform::FsPath(path), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(platform::FsPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string SjisLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) {
        bytes += ToShiftJis(l) + "\r\n";
    }
    return bytes;
}

void WriteSjisLines(const std::string& path, const std::vector<std::string>& lines) {
    WriteBytes(path, SjisLines(lines));
}

double TestCoef(double base, int table, int row, int point) {
    return base + table * 0.1 + row * 0.01 + point * 0.001;
}

void WriteCoefFile(const std::string& path, int points, const std::vector<TestBlock>& blocks,
                   const std::string& endMarker) {
    std::vector<std::string> lines;
    for (const TestBlock& b : blocks) {
        lines.push_back(b.header);
        for (int t = 1; t <= 4; ++t) {
            for (int j = 1; j <= 3; ++j) {
                std::string l;
                for (int k = 1; k <= points; ++k) {
                    char buf[32];
                    std::snprintf(buf, sizeof buf, "%s%.6f", k > 1 ? ", " : "",
                                  TestCoef(b.base, t, j, k));
                    l += buf;
                }
                lines.push_back(l);
            }
        }
        lines.push_back("'----");
    }
    lines.push_back(endMarker);
    WriteSjisLines(path, lines);
}

void SetEnvironment(const std::string& name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name.c_str(), value, 1);
    } else {
        ::unsetenv(name.c_str());
    }
#endif
}

#ifdef _WIN32
bool RunningAsRoot() { return false; }
#else
bool RunningAsRoot() { return ::geteuid() == 0; }
#endif

int RunCommand(const std::string& command, std::string* out, std::string* err) {
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::string o = (dir / ("ormavex-cmd-out-" + std::to_string(::getpid()))).string();
    std::string e = (dir / ("ormavex-cmd-err-" + std::to_string(::getpid()))).string();
#ifdef _WIN32
    // cmd /c takes off the outer quotes, leaving the command as it was given.
    int status = std::system(("\"" + command + " >" + o + " 2>" + e + "\"").c_str());
#else
    int status = std::system((command + " >" + o + " 2>" + e).c_str());
#endif
    if (out != nullptr) {
        *out = ReadBytes(o);
    }
    if (err != nullptr) {
        *err = ReadBytes(e);
    }
    std::remove(o.c_str());
    std::remove(e.c_str());
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAsan = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAsan = true;
#else
constexpr bool kAsan = false;
#endif
#else
constexpr bool kAsan = false;
#endif
} // namespace

#ifdef _WIN32
// No fork on Windows: the body runs in the test's own process, unbounded.
bool RunBounded(const std::function<bool()>& body, int /*seconds*/, int /*megabytes*/) {
    try {
        return body();
    } catch (...) {
        return false;
    }
}
#else
bool RunBounded(const std::function<bool()>& body, int seconds, int megabytes) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        if (!kAsan) {
            const rlim_t bytes = static_cast<rlim_t>(megabytes) << 20;
            const struct rlimit lim { bytes, bytes };
            ::setrlimit(RLIMIT_AS, &lim);
        }
        ::alarm(static_cast<unsigned>(seconds));
        bool ok = false;
        try {
            ok = body();
        } catch (...) {
            ok = false;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

std::string BoundedCommand(int seconds, int megabytes) {
    const std::string t = "timeout -s KILL " + std::to_string(seconds) + " ";
    if (kAsan) {
        return "ASAN_OPTIONS=detect_leaks=0:hard_rss_limit_mb=" + std::to_string(megabytes) +
               ":max_allocation_size_mb=" + std::to_string(megabytes) + " " + t;
    }
    return "ulimit -v " + std::to_string(megabytes * 1024) + "; " + t;
}

} // namespace ormavex::test
