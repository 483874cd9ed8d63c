#include "core/project/ProjectLoad.h"

#include "core/app/basToolsStd.h"
#include "core/project/basIO.h"
#include "core/text/Blanks.h"
#include "core/text/TextFile.h"

#include "core/platform/Platform.h"

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
    int readFailure = 0; // the file error code of a file that could not be read
    const std::string_view ext =
        std::string_view(path).substr(path.size() >= 3 ? path.size() - 3 : 0);
    if (EqualsNoCase(ext, "KVT")) {
        // One read serves the version probe and the reader.
        std::string data;
        Error readError;
        const bool read = ReadFileBytes(path, data, readError, FileLimit::Project);
        readFailure = read ? 0 : readError.code();
        r.version = read ? InputFileVersionOf(data) : std::string("error");
        if (r.version == "2.10") {
            r.ok = detail::ReadProjectBytes(cases, data, 10, error);
        } else if (r.version == "2.00") {
            r.ok = detail::ReadProjectBytes(cases, data, 9, error);
        } else {
            r.messages.push_back(UnsupportedVersionMessage(r.version));
            // A missing file keeps the messages alone; a file that is there
            // but cannot be a project gets the reason.
            platform::FileStatus st;
            if (platform::Status(path, st) == 0) {
                r.unreadable = !read;
                r.problem = DescribeUnreadableFile(path, FileLimit::Project);
                if (r.problem.empty()) {
                    r.problem = read ? "has no version line of a project file"
                                     : "cannot be read: " + ReasonOf(readError, path);
                }
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
        // A file that could not be read keeps the code 0 of a refused version,
        // but its message names the file and why.
        if (r.errorCode != 0) {
            r.messages.push_back(ReadErrorMessage(r.errorCode, path));
        } else if (readFailure != 0) {
            r.messages.push_back(ReadErrorMessage(0, path, readFailure));
        } else {
            r.messages.push_back(ReadErrorMessage(0));
        }
    }
    return r;
}

} // namespace ormavex
