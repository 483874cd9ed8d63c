#pragma once
// What the core needs from the operating system, in one place: file access
// with the checks the readers and writers rely on, the replace-by-rename of a
// new file, temporary files, folders, the program's own folders, starting a
// program, the signals that end a run, and the code page 932 conversion.
//
// One implementation per system is built (PlatformPosix.cpp or
// PlatformWindows.cpp); nothing else in the core includes a system header.
// Every path is UTF-8 here as everywhere in the program; the Windows
// implementation turns it into a wide string at its own calls only. Errors are
// errno values (ENOENT, EACCES, ENOSPC, ...) on both systems, so that the file
// error codes are worked out in one place.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ormavex::platform {

/// A UTF-8 path as a std::filesystem path (never through the ANSI code page).
std::filesystem::path FsPath(std::string_view utf8);
/// A std::filesystem path as UTF-8.
std::string Utf8Path(const std::filesystem::path& path);

enum class FileKind { Regular, Folder, Fifo, Device, Socket, Other };

struct FileStatus {
    FileKind kind = FileKind::Other;
    std::uint64_t size = 0;
    unsigned permissions = 0; ///< the permission bits (07777); on Windows 0444 or 0666
};

/// What `path` is (a symbolic link is followed); 0 or the errno.
int Status(const std::string& path, FileStatus& status);
/// True when `path` itself is a symbolic link.
bool IsSymbolicLink(const std::string& path);
/// What an open file is; 0 or the errno.
int StatusOf(int fd, FileStatus& status);
/// 0 when the user may write `path` (the file itself), else the errno.
int CheckWritable(const std::string& path);
/// True when new files can be made in `folder`.
bool FolderWritable(const std::string& folder);

/// Opens a file for reading, in binary, not inherited, never waiting on a
/// FIFO or taking a terminal; 0 or the errno.
int OpenForReading(const std::string& path, int& fd);
/// Opens (creating it when missing) a file for writing from its start or
/// for appending, in binary; 0 or the errno.
int OpenForWriting(const std::string& path, bool append, int& fd);
/// Reads at most `size` bytes: the count, 0 at the end, -1 with errno set.
long long ReadSome(int fd, char* buffer, std::size_t size);
/// Writes all of `bytes`; 0 or the errno (a write that takes nothing counts
/// as a full disk).
int WriteAll(int fd, std::string_view bytes);
/// Hands what was written to the disk; 0 or the errno.
int SyncToDisk(int fd);
/// Cuts the file to `size` bytes; 0 or the errno.
int Truncate(int fd, std::uint64_t size);
/// 0 or the errno.
int Close(int fd);
/// Gives a new file the permission bits of a replaced file, or (`keep`
/// null) those of a new document. Nothing on Windows.
void SetPermissions(int fd, const FileStatus* keep);

/// Makes a new file `folder` + "/" + prefix + six random characters +
/// suffix, open for writing; 0 or the errno.
int CreateUniqueFile(const std::string& folder, std::string_view prefix, std::string_view suffix,
                     std::string& path, int& fd);
/// Renames `from` over `to`, replacing it as one step; 0 or the errno.
int ReplaceByRename(const std::string& from, const std::string& to);
/// Removes a file (never a folder); true when it was there and is gone.
bool RemoveFile(const std::string& path);
/// Makes one folder; true when it was made.
bool MakeFolder(const std::string& path);

/// The running program's own file.
std::filesystem::path ExecutablePath();
/// The folder for temporary files, without a trailing separator.
std::string TemporaryFolder();
/// The per-user folder of application data (XDG_DATA_HOME or
/// ~/.local/share; %LOCALAPPDATA% on Windows); empty when unknown.
std::string LocalAppDataFolder();

/// Starts `args[0]` (searched on the PATH) with `args`; `commandLine` is the
/// line they were split from, handed on as it is where the system takes a
/// command line. Waits for the end when `wait`; otherwise the program runs
/// on its own. False when it could not be started.
bool StartProgram(const std::string& commandLine, const std::vector<std::string>& args, bool wait);

/// Storage for the signal mask saved while the termination signals wait.
struct SignalMask {
    alignas(16) unsigned char bytes[256];
};
/// Makes SIGINT, SIGTERM and SIGHUP (on Windows Ctrl+C, Ctrl+Break and the
/// closing of the console) wait; `saved` receives what to restore.
void HoldTerminationSignals(SignalMask& saved) noexcept;
void ReleaseTerminationSignals(const SignalMask& saved) noexcept;
/// On a termination signal calls `cleanup` and ends the program with
/// 128 + the signal number. `cleanup` may only call RemoveFileOnExit.
void InstallTerminationHandler(void (*cleanup)() noexcept) noexcept;
/// Removes a file from inside the termination handler.
void RemoveFileOnExit(const char* path) noexcept;

/// Keeps a thread just started off the processor of the thread that started
/// it, for the rest of its life (it may use any other). Linux places a new
/// thread on its starter's processor, where it waits, sometimes for
/// milliseconds, until the starter is preempted or the load is balanced;
/// a helper thread that should run beside its starter from the first moment
/// is moved at once. Nothing with a single processor, or on Windows, which
/// starts a thread on an idle processor.
void KeepOffStartersProcessor(std::thread& thread) noexcept;

/// Converts a piece of UTF-8 text to code page 932. A character that code
/// page 932 cannot hold becomes "?", as does a malformed UTF-8 sequence
/// (skipped by the length its first byte announces).
std::string Utf8ToCp932(std::string_view utf8);
/// Converts a piece of code page 932 bytes to UTF-8. A sequence that is not
/// code page 932 (a lead byte and the byte after it, or one byte) becomes
/// U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

/// The program's arguments (argv[0] first) as UTF-8: on Windows from the
/// wide command line, since `argv` holds them in the ANSI code page there.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

/// Puts standard output in binary mode, so that "\n" is written as it is.
void BinaryStandardOutput();

/// Loads a module (shared library) and finds `symbol` in it; null with
/// `error` set when it cannot be loaded. The module is never unloaded.
void* LoadModuleSymbol(const std::string& path, const char* symbol, std::string& error);

} // namespace ormavex::platform
