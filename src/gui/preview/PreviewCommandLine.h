#pragma once
// The command line of ormavex-preview, and the program that acts on it.
//
//   ormavex-preview /INI="<settings folder>" [/PROJECT="<project file>"] PRINTFILE
//                                                           window
//   ormavex-preview --pdf OUT.pdf PRINTFILE                 PDF, no window
//   ormavex-preview --version
//
// The print menu starts the program with a Windows-style command line whose
// print file path is not quoted, so a path with blanks arrives split into
// several arguments: the positional arguments are joined with single blanks.
// The settings folder may arrive with its quotes still around it.

#include <optional>
#include <string>
#include <vector>

class QApplication;

namespace ormavex::preview {

struct CommandLine {
    std::string iniFolder; ///< empty: no settings are read or written
    std::string printFile;
    std::string projectFile; ///< the report's project: window title and PDF name
    std::string pdfPath;     ///< not empty: headless PDF output
    bool help = false;
    bool version = false;
    std::string error; ///< not empty: a usage error
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

/// The program on its command line: the usage, the version, a PDF written
/// without a window, or the window. The window's application object is made
/// in `app`, which outlives this for a failure's message box.
int RunProgram(int& argc, char** argv, std::optional<QApplication>& app);

} // namespace ormavex::preview
