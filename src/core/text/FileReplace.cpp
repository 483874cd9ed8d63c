#include "core/text/FileReplace.h"

#include "core/text/SignalCleanup.h"
#include "core/text/TextFile.h"

#include "core/platform/Platform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ormavex {

namespace {

std::string FolderOf(const std::string& path) {
    const std::filesystem::path p = platform::FsPath(path);
    return p.has_parent_path() ? platform::Utf8Path(p.parent_path()) : std::string(".");
}

bool Fail(Error& error, const std::string& path, int code, const std::string& reason) {
    error = Error("cannot write " + path + ": " + reason + " (error " + std::to_string(code) + ")",
                  code, path);
    return false;
}

bool FailErrno(Error& error, const std::string& path, int err) {
    return Fail(error, path, FileErrorFromErrno(err, path, true), std::strerror(err));
}

// The file a symbolic link finally names; `path` itself when it is no link.
bool FollowLinks(const std::string& givenPath, std::string& path) {
    path = givenPath;
    for (int hops = 0;; ++hops) {
        if (!platform::IsSymbolicLink(path)) {
            return true;
        }
        std::error_code ec;
        const std::filesystem::path target =
            std::filesystem::read_symlink(platform::FsPath(path), ec);
        if (ec || hops >= 40) {
            return false;
        }
        path = target.is_absolute() ? platform::Utf8Path(target)
                                    : platform::Utf8Path(platform::FsPath(FolderOf(path)) / target);
    }
}

// CheckReplaceTarget on the file a link names; `st` gets what is there.
bool CheckResolved(const std::string& givenPath, const std::string& path, bool& exists,
                   platform::FileStatus& st, Error& error) {
    const int statError = platform::Status(path, st);
    exists = statError == 0;
    if (!exists && statError != ENOENT) {
        return FailErrno(error, givenPath, statError);
    }
    if (exists && st.kind != platform::FileKind::Regular) {
        return Fail(error, givenPath, FileError::PathFileAccess, FileKindReason(st.kind));
    }
    // Read-only: no write permission bit at all (which also stops root), or
    // none for this user.
    if (exists && (st.permissions & 0222) == 0) {
        return Fail(error, givenPath, FileError::PathFileAccess, "the file is read-only");
    }
    if (const int err = exists ? platform::CheckWritable(path) : 0; err != 0) {
        return Fail(error, givenPath, FileError::PathFileAccess,
                    err == EROFS ? "the file system is read-only" : std::strerror(err));
    }
    platform::FileStatus folder;
    if (platform::Status(FolderOf(path), folder) != 0 ||
        folder.kind != platform::FileKind::Folder) {
        return Fail(error, givenPath, FileError::PathNotFound, "the folder does not exist");
    }
    return true;
}

// The file a replacement of `givenPath` writes: a symbolic link is followed
// into `path`, so that the file it names gets the new content and the link
// stays; then what is there is checked as CheckReplaceTarget says.
bool ResolveTarget(const std::string& givenPath, std::string& path, bool& exists,
                   platform::FileStatus& st, Error& error) {
    if (givenPath.empty() || givenPath.back() == '/' || givenPath.back() == '\\') {
        return Fail(error, givenPath, FileError::BadFileName, "no file name given");
    }
    if (!FollowLinks(givenPath, path)) {
        return Fail(error, givenPath, FileError::PathFileAccess,
                    "a symbolic link that leads nowhere");
    }
    return CheckResolved(givenPath, path, exists, st, error);
}

} // namespace

bool CheckReplaceTarget(const std::string& givenPath, Error& error) {
    std::string path;
    bool exists = false;
    platform::FileStatus st;
    return ResolveTarget(givenPath, path, exists, st, error);
}

bool ReplaceFileContents(const std::string& givenPath, std::string_view bytes, Error& error,
                         ReplaceSync sync) {
    std::string path;
    bool exists = false;
    platform::FileStatus st;
    if (!ResolveTarget(givenPath, path, exists, st, error)) {
        return false;
    }
    // A short name of its own, never the target's name plus a suffix: that
    // would pass the 255-byte limit of a name for a long target name.
    std::string temp;
    int fd = -1;
    int made = 0;
    {
        const HoldCleanupSignals hold; // made and listed as one step
        made = platform::CreateUniqueFile(FolderOf(path), kReplaceTempPrefix, ".tmp", temp, fd);
        if (made == 0) {
            RemoveOnSignal(temp);
        }
    }
    if (made != 0) {
        return FailErrno(error, givenPath, made);
    }
    // Keep the permission bits of the file being replaced; a new file gets
    // the usual bits for a document.
    platform::SetPermissions(fd, exists ? &st : nullptr);

    int err = platform::WriteAll(fd, bytes);
    if (err == 0 && sync == ReplaceSync::ToDisk) {
        err = platform::SyncToDisk(fd);
    }
    if (const int closed = platform::Close(fd); closed != 0 && err == 0) {
        err = closed;
    }
    // What is on disk must be what was given, before it replaces anything.
    platform::FileStatus written;
    if (err == 0 && (platform::Status(temp, written) != 0 || written.size != bytes.size())) {
        err = EIO;
    }
    if (err == 0) {
        err = platform::ReplaceByRename(temp, path);
    }
    if (err != 0) {
        platform::RemoveFile(temp);
        ForgetOnSignal(temp);
        return FailErrno(error, givenPath, err);
    }
    ForgetOnSignal(temp);
    return true;
}

std::string FileErrorReason(int code) {
    switch (code) {
    case FileError::OutOfMemory: return "the file is too large";
    case FileError::BadFileName: return "the file name is not valid";
    case FileError::FileNotFound: return "the file does not exist";
    case FileError::DeviceIo: return "input/output error";
    case FileError::DiskFull: return "the disk is full";
    case FileError::InputPastEnd: return "the file ends early";
    case FileError::TooManyFiles: return "too many files are open";
    case FileError::PermissionDenied: return "the file is in use";
    case FileError::DiskNotReady: return "the device is not ready";
    case FileError::PathFileAccess: return "access refused";
    case FileError::PathNotFound: return "the folder does not exist";
    default: return "error " + std::to_string(code);
    }
}

} // namespace ormavex
