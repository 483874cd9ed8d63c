#include "ProjectLoad.h"

#include "app/basToolsStd.h"
#include "project/basIO.h"
#include "text/Blanks.h"
#include "text/TextFile.h"

#include <sys/stat.h>

namespace ormavex {

namespace {

// "Permission denied (error 75)" of "cannot read PATH: Permission denied (error 75)".
std::string ReasonOf(const Error& error, const std::string& path) {
    const std::string message = error.message();
    const std::string prefix = "cannot read " + path + ": ";
    return message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : message;
}

} // namespace

LoadResult LoadProject(CaseTable& cases, const std::string& path) {
    LoadResult r;
    Error error;
    const std::string_view ext =
        std::string_view(path).substr(path.size() >= 3 ? path.size() - 3 : 0);
    if (EqualsNoCase(ext, "KVT")) {
        // One read serves the version probe and the reader.
        std::string data;
        Error readError;
        const bool read = ReadFileBytes(path, data, readError, FileLimit::Project);
        r.version = read ? InputFileVersionOf(data) : std::string("error");
        if (r.version == "2.10") {
            r.ok = detail::ReadProjectBytes(cases, data, 10, error);
        } else if (r.version == "2.00") {
            r.ok = detail::ReadProjectBytes(cases, data, 9, error);
        } else {
            r.messages.push_back(UnsupportedVersionMessage(r.version));
            // A missing file keeps the messages alone; a file that is there
            // but cannot be a project gets the reason.
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0) {
                r.unreadable = !read;
                r.problem = DescribeUnreadableFile(path, FileLimit::Project);
                if (r.problem.empty()) {
                    r.problem = read ? "has no version line of a project file"
                                     : "cannot be read: " + ReasonOf(readError, path);
                }
            }
            if (!read) {
                error = readError; // the read error's code, not 0
            }
        }
    } else {
        // Not read at all; a special file still gets its own reason.
        r.problem = DescribeUnreadableFile(path, FileLimit::Project);
        r.unreadable = r.problem.find("not a") != std::string::npos;
        if (!r.unreadable) {
            r.problem = "does not end in .kvt";
        }
    }
    r.errorCode = error.code();
    if (!r.ok) {
        r.messages.push_back(
            ReadErrorMessage(r.errorCode, r.errorCode != 0 ? path : std::string()));
    }
    return r;
}

} // namespace ormavex
