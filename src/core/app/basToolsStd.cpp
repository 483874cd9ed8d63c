#include "core/app/basToolsStd.h"

#include "core/text/ShiftJis.h"
#include "core/text/SignalCleanup.h"
#include "core/text/TextFile.h"

#include "core/platform/Platform.h"

#include <cstdio>

namespace ormavex {

bool KillFile(const std::string& path) {
    // Never removes a folder. A file removed here needs no removal on a
    // signal any more.
    const bool removed = platform::RemoveFile(path);
    ForgetOnSignal(path);
    return removed;
}

bool MakeDir(const std::string& path) { return platform::MakeFolder(path); }

std::string GetInputFileVersion(const std::string& path) {
    std::string data;
    Error error;
    if (!ReadFileBytes(path, data, error, FileLimit::Project)) {
        return "error";
    }
    return InputFileVersionOf(data);
}

std::string InputFileVersionOf(std::string_view data) {
    LineReader lines(data);
    std::string_view line;
    for (int i = 0; i < 3; ++i) {
        if (!lines.next(line)) {
            return "error";
        }
    }
    const std::size_t start = ShiftJisCharOffset(line, 32);
    if (start >= line.size()) {
        return "error"; // shorter than 33 characters
    }
    std::string_view rest = line.substr(start);
    // Drop the last character (a double-byte one as a whole).
    std::size_t pos = 0;
    std::size_t lastStart = 0;
    while (pos < rest.size()) {
        lastStart = pos;
        pos += IsShiftJisLeadByte(static_cast<unsigned char>(rest[pos])) ? 2 : 1;
    }
    // Cut to the first kMaxVersionBytes bytes, never inside a character.
    rest = rest.substr(0, lastStart);
    return FromShiftJis(rest.substr(0, ShiftJisCutLength(rest, kMaxVersionBytes)));
}

bool CreateEmptyFile(const std::string& path) {
    TextOutFile f;
    return f.open(path, TextOutFile::Mode::Truncate) && f.close();
}

bool AppendFileLines(std::string& out, const std::string& source) {
    std::string data;
    Error error;
    if (!ReadFileBytes(source, data, error, FileLimit::Print)) {
        return false;
    }
    // Lines ended by CR LF alone pass as they are; any other line end (a lone
    // CR or LF, none after the last line) is written as CR LF.
    bool plain =
        data.empty() || (data.size() >= 2 && data.compare(data.size() - 2, 2, "\r\n") == 0);
    for (std::size_t i = 0; plain && i < data.size(); ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 >= data.size() || data[i + 1] != '\n'))) {
            plain = false;
        } else if (data[i] == '\r') {
            ++i; // the LF of a CR LF
        }
    }
    if (plain) {
        out += data;
        return true;
    }
    LineReader lines(data);
    std::string_view line;
    while (lines.next(line)) {
        out += line;
        out += "\r\n";
    }
    return true;
}

bool AppendFile(const std::string& destination, const std::string& source) {
    TextOutFile out;
    if (!out.open(destination, TextOutFile::Mode::Append)) {
        return false;
    }
    std::string data;
    if (!AppendFileLines(data, source)) {
        out.close();
        return false;
    }
    out.writeBytes(data);
    return out.close();
}

} // namespace ormavex
