#include "support/TestSupport.h"

#include "text/ShiftJis.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace ormavex::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ormavex-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void WriteSjisLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) {
        bytes += ToShiftJis(l) + "\r\n";
    }
    WriteBytes(path, bytes);
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
                    std::snprintf(buf, sizeof buf, "%s%.6f", k > 1 ? ", " : "", TestCoef(b.base, t, j, k));
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

int RunCommand(const std::string& command, std::string* out, std::string* err) {
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::string o = (dir / ("ormavex-cmd-out-" + std::to_string(::getpid()))).string();
    std::string e = (dir / ("ormavex-cmd-err-" + std::to_string(::getpid()))).string();
    int status = std::system((command + " >" + o + " 2>" + e).c_str());
    if (out != nullptr) {
        *out = ReadBytes(o);
    }
    if (err != nullptr) {
        *err = ReadBytes(e);
    }
    std::remove(o.c_str());
    std::remove(e.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace ormavex::test
