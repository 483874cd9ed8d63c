#pragma once
// The one way the programs replace a file: the project file, the settings
// file, the PDF and the combined print file all go through it.
//
// The new content is written to a new file beside the target, named
// ".ormavex-" + six random characters + ".tmp" (short whatever the target's
// name, so a target whose name uses the full 255 bytes is saved as well),
// every write, the flush to disk (not for a temporary print file) and the
// close are checked, and only then is the new file renamed over the target.
// On any failure the new file is removed and the target keeps its old
// content. A file of that name left in a folder is an unfinished save of a
// program that was killed; the README says how to tell one.
//
// Kept apart from the rest of the file code so that another system can put
// its own file operations behind the same two functions.

#include "core/text/Error.h"

#include <string>
#include <string_view>

namespace ormavex {

/// The name every new file of ReplaceFileContents starts with.
inline constexpr const char* kReplaceTempPrefix = ".ormavex-";

/// Checks, without writing anything, that `path` can be replaced: its
/// folder exists (76 otherwise), and what is there is nothing or a regular
/// file that may be written (a folder, FIFO, device or socket, and a file
/// without write permission, are refused with 75). A symbolic link is
/// followed. On failure `error` names the file and the reason in words
/// ("cannot write PATH: is a FIFO, not a regular file (error 75)").
bool CheckReplaceTarget(const std::string& path, Error& error);

/// How ReplaceFileContents treats the new content before the rename.
enum class ReplaceSync {
    ToDisk,    ///< flushed to disk: a document that must survive a crash
    Temporary, ///< left to the system: a print file, removed with its run
};

/// Writes `bytes` as the new content of `path` as described above, after
/// CheckReplaceTarget. A symbolic link stays: the file it names is replaced
/// in its own folder. A new file gets the usual permissions of a document,
/// a replaced one keeps its own. On failure returns false and sets `error`
/// (message as CheckReplaceTarget's, code the file error code, path `path`);
/// `path` is untouched. `sync` Temporary skips only the flush to disk.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, Error& error,
                         ReplaceSync sync = ReplaceSync::ToDisk);

/// The reason of a file error code in a few English words ("the disk is
/// full"), for messages of the command-line programs.
std::string FileErrorReason(int code);

} // namespace ormavex
