#include "gui/preview/PreviewCommandLine.h"

#include "core/text/Blanks.h"

namespace ormavex::preview {

const char* const kUsage =
    "usage: ormavex-preview [/INI=FOLDER] [/PROJECT=FILE] PRINTFILE\n"
    "       ormavex-preview --pdf OUT.pdf PRINTFILE\n"
    "       ormavex-preview --version\n"
    "\n"
    "Shows a text print file of the report (with its figures) page by page, to\n"
    "print it or save it as PDF. With --pdf the PDF is written without a window.\n"
    "Exit codes: 0 done, 1 usage, 2 print file not read, 3 PDF not written.\n";

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() &&
           EqualsNoCase(std::string_view(s).substr(0, prefix.size()), prefix);
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') {
        return s.substr(1, s.size() - 2);
    }
    if (!s.empty() && s.front() == '"') {
        s.erase(0, 1);
    }
    if (!s.empty() && s.back() == '"') {
        s.pop_back();
    }
    return s;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h" || a == "/?") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--pdf") {
            if (i + 1 >= args.size()) {
                cl.error = "--pdf needs a file name";
                return cl;
            }
            cl.pdfPath = args[++i];
        } else if (StartsWithNoCase(a, "/INI=")) {
            cl.iniFolder = Unquote(a.substr(5));
        } else if (StartsWithNoCase(a, "/PROJECT=")) {
            cl.projectFile = Unquote(a.substr(9));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            cl.error = "unknown option " + a;
            return cl;
        } else {
            positional.push_back(a);
        }
    }
    for (const std::string& p : positional) {
        cl.printFile += (cl.printFile.empty() ? "" : " ") + p;
    }
    cl.printFile = Unquote(cl.printFile);
    if (!cl.help && !cl.version && cl.printFile.empty()) {
        cl.error = "no print file given";
    }
    return cl;
}

} // namespace ormavex::preview
