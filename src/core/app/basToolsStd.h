#pragma once
// File and folder operations that report success as a result instead of
// failing, and the version probe of a project file. None of them shows a
// message; callers decide what to report.

#include <cstddef>
#include <string>
#include <string_view>

namespace ormavex {

/// Deletes a file; false on any failure (missing, not permitted).
bool KillFile(const std::string& path);

/// Creates a folder; false on any failure, an existing folder included.
bool MakeDir(const std::string& path);

/// The version text of a project file: its third line from the 33rd character
/// to the end, less the last character ("2.10" for
/// "INPUT FILE VERSION             [2.10]"). "error" when the file cannot be
/// read, has fewer than three lines or a third line shorter than 33 characters.
std::string GetInputFileVersion(const std::string& path);
/// The same from the bytes of a file already read. A version longer than
/// kMaxVersionBytes Shift_JIS bytes is cut to its first kMaxVersionBytes.
std::string InputFileVersionOf(std::string_view data);
inline constexpr std::size_t kMaxVersionBytes = 40;

/// Creates the file, or empties an existing one; false on failure.
bool CreateEmptyFile(const std::string& path);

/// Appends every line of `source` to `destination`, each followed by CR LF (a
/// last line without line end gains one). The destination is created when
/// missing, even if the source then cannot be read. False on any failure.
bool AppendFile(const std::string& destination, const std::string& source);

/// What AppendFile appends, added to `out` in memory; false, adding nothing,
/// when `source` cannot be read.
bool AppendFileLines(std::string& out, const std::string& source);

} // namespace ormavex
