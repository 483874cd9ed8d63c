#include "basResOutPrn.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace ormavex {

std::string MakeTempFileName() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    std::string name = folder + "/~MTXXXXXX.tmp";
    int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) {
        throw ReportError("cannot create a temporary file in " + folder + ": " +
                          std::strerror(errno));
    }
    ::close(fd);
    return name;
}

std::string NewTextPrintFile(PrintFileLists& lists) {
    if (lists.textCount >= MaxTextPrintFiles) {
        throw ReportError("too many text print files");
    }
    std::string path = MakeTempFileName();  // created empty
    lists.text[static_cast<std::size_t>(lists.textCount++)] = path;
    return path;
}

std::string NewDrawingPrintFile(PrintFileLists& lists) {
    if (lists.drawingCount >= MaxDrawingPrintFiles) {
        throw ReportError("too many drawing print files");
    }
    std::string path = MakeTempFileName();
    lists.drawing[static_cast<std::size_t>(lists.drawingCount++)] = path;
    return path;
}

} // namespace ormavex
