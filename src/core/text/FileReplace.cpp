#include "FileReplace.h"

#include "SignalCleanup.h"
#include "TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ormavex {

namespace {

std::string FolderOf(const std::string& path) {
    std::filesystem::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

// Writes all of `bytes`; 0, or the errno of the write that failed (a write
// that takes nothing counts as a full disk).
int WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
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
        struct stat lst {};
        if (::lstat(path.c_str(), &lst) != 0 || !S_ISLNK(lst.st_mode)) {
            return true;
        }
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec || hops >= 40) {
            return false;
        }
        path = target.is_absolute() ? target.string()
                                    : (std::filesystem::path(FolderOf(path)) / target).string();
    }
}

// CheckReplaceTarget on the file a link names; `st` gets what is there.
bool CheckResolved(const std::string& givenPath, const std::string& path, bool& exists,
                   struct stat& st, Error& error) {
    exists = ::stat(path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) {
        return FailErrno(error, givenPath, errno);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        const char* what = S_ISDIR(st.st_mode)    ? "is a folder, not a file"
                           : S_ISFIFO(st.st_mode) ? "is a FIFO, not a regular file"
                           : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)
                               ? "is a device, not a regular file"
                           : S_ISSOCK(st.st_mode) ? "is a socket, not a regular file"
                                                  : "is not a regular file";
        return Fail(error, givenPath, FileError::PathFileAccess, what);
    }
    // Read-only: no write permission bit at all (which also stops root), or
    // none for this user.
    if (exists && (st.st_mode & 0222) == 0) {
        return Fail(error, givenPath, FileError::PathFileAccess, "the file is read-only");
    }
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        return Fail(error, givenPath, FileError::PathFileAccess,
                    errno == EROFS ? "the file system is read-only" : std::strerror(errno));
    }
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        return Fail(error, givenPath, FileError::PathNotFound, "the folder does not exist");
    }
    return true;
}

// The file a replacement of `givenPath` writes: a symbolic link is followed
// into `path`, so that the file it names gets the new content and the link
// stays; then what is there is checked as CheckReplaceTarget says.
bool ResolveTarget(const std::string& givenPath, std::string& path, bool& exists, struct stat& st,
                   Error& error) {
    if (givenPath.empty() || givenPath.back() == '/') {
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
    struct stat st {};
    return ResolveTarget(givenPath, path, exists, st, error);
}

bool ReplaceFileContents(const std::string& givenPath, std::string_view bytes, Error& error) {
    std::string path;
    bool exists = false;
    struct stat st {};
    if (!ResolveTarget(givenPath, path, exists, st, error)) {
        return false;
    }
    // A short name of its own, never the target's name plus a suffix: that
    // would pass the 255-byte limit of a name for a long target name.
    std::string temp = FolderOf(path) + "/" + kReplaceTempPrefix + "XXXXXX.tmp";
    int fd = -1;
    int made = 0;
    {
        const HoldCleanupSignals hold; // made and listed as one step
        fd = ::mkstemps(temp.data(), 4);
        made = errno;
        if (fd >= 0) {
            RemoveOnSignal(temp);
        }
    }
    if (fd < 0) {
        return FailErrno(error, givenPath, made);
    }
    // Keep the permission bits of the file being replaced; a new file gets
    // the usual bits for a document.
    mode_t mode = 0644;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    int err = WriteAll(fd, bytes);
    if (err == 0 && ::fsync(fd) != 0) {
        err = errno;
    }
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    // What is on disk must be what was given, before it replaces anything.
    struct stat written {};
    if (err == 0 && (::stat(temp.c_str(), &written) != 0 ||
                     static_cast<unsigned long long>(written.st_size) != bytes.size())) {
        err = EIO;
    }
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(temp.c_str());
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
