#pragma once
// The common load steps of a project file, shared by the main window's Open
// and recent-file commands and by the command-line program: the extension
// check, the version probe and the reader of that version.

#include "core/app/Messages.h"
#include "core/cases/CaseTable.h"

#include <string>
#include <vector>

namespace ormavex {

struct LoadResult {
    bool ok = false;
    std::int32_t errorCode = 0;
    std::string version;           ///< the probed version text
    std::vector<Message> messages; ///< to show, in this order (empty on success)
    /// Why the file is not a project, in one short English phrase for the
    /// command line ("is empty", "is a FIFO, not a regular file"); empty
    /// when the file was read as a project or does not exist.
    std::string problem;
    bool unreadable = false; ///< the file itself could not be read
};

/// Loads `path` into the table. A path not ending in "kvt" (any case) or of a
/// version other than "2.10" and "2.00" fails with code 0 and leaves the table
/// unchanged; a failing reader empties it. On failure the messages end with
/// the read-error message carrying the code. The file is read once, and
/// only when it is a regular file within the size of a project file.
LoadResult LoadProject(CaseTable& cases, const std::string& path);

} // namespace ormavex
