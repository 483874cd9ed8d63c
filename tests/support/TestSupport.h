#pragma once
// Helpers shared by the tests: temporary folders, file contents, small
// coefficient files.

#include <functional>
#include <string>
#include <vector>

namespace ormavex::test {

/// A fresh folder under the temporary folder, removed with its contents when
/// the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    /// path() + "/" + name
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
/// UTF-8 lines as the Shift_JIS bytes of a file, CR LF after each.
std::string SjisLines(const std::vector<std::string>& lines);
/// The same written into `path`.
void WriteSjisLines(const std::string& path, const std::vector<std::string>& lines);

/// A coefficient block for a test file: the header's ratio text and a rule that
/// gives coefficient (table t 1..4, row j, point k).
struct TestBlock {
    std::string header; ///< whole header line, e.g. "L=1.00"
    double base = 0.0;  ///< coefficient = base + t * 0.1 + j * 0.01 + k * 0.001
};
/// The coefficient the rule above gives.
double TestCoef(double base, int table, int row, int point);
/// Writes a coefficient file with `points` per row: each block a header, 12
/// lines of one table row each and one closing line, then the end marker.
void WriteCoefFile(const std::string& path, int points, const std::vector<TestBlock>& blocks,
                   const std::string& endMarker = "EN9999");

/// A small tmpfs of `kilobytes` mounted on a fresh folder, for a disk that
/// really fills. Only root can mount one: mounted() is false otherwise (and
/// when the system refuses), and the test is to be skipped with a message.
class SmallTmpfs {
public:
    explicit SmallTmpfs(int kilobytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_dir.path(); }
    std::string file(const std::string& name) const { return m_dir.file(name); }
    /// Fills the file system with a file "fill" until at most `kilobytes`
    /// are left.
    void fillUpTo(int kilobytes) const;
    /// The names in the file system's top folder.
    std::vector<std::string> names() const;

private:
    TempDir m_dir;
    bool m_mounted = false;
};

/// Sets an environment variable, or removes it when `value` is null.
void SetEnvironment(const std::string& name, const char* value);
/// True when the tests run as root (never on Windows).
bool RunningAsRoot();

/// Runs a command through /bin/sh, capturing stdout and stderr; returns the
/// exit status.
int RunCommand(const std::string& command, std::string* out = nullptr, std::string* err = nullptr);

/// Runs `body` in a child process with at most `seconds` of time and, in a
/// build without AddressSanitizer, `megabytes` of address space (RLIMIT_AS;
/// the sanitizer reserves its shadow memory up front and limits the heap
/// through its own options instead). True when `body` returned true in time.
bool RunBounded(const std::function<bool()>& body, int seconds, int megabytes);

/// A shell command prefix that bounds what follows in the same way:
/// "timeout S" and either "ulimit -v" or the sanitizer's heap limit.
std::string BoundedCommand(int seconds, int megabytes);

} // namespace ormavex::test
