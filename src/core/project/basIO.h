#pragma once
// The project file (".kvt"): the case count and the ten cells of every case,
// one item per line, Shift_JIS with CR LF. Version 2.10 is written and read;
// basIO200.h reads version 2.00.
//
//   VELMORRA INPUT FILE FORMAT V1：Ormavex V2
//   PRODUCT NAME                   [Ormavex]
//   INPUT FILE VERSION             [2.10]
//    n                      (blank, count, blank)
//   then per case: " r ", "title", and cells 2..10 one per line
//
// Every operation reports failure through its result and an Error: code()
// is the file error code (FileError), the message the one the main window
// shows (ReadErrorMessage, WriteErrorMessage). On success it is untouched.

#include "core/cases/CaseTable.h"
#include "core/text/Error.h"

#include <string>
#include <string_view>

namespace ormavex {

/// The product title written into every project file.
inline constexpr const char* ProductTitle = "Ormavex";

/// Empties the case table: every cell empty, CaseCount 0.
void InitData(CaseTable& cases);

/// Writes cases 1..CaseCount as a version 2.10 file. The file that was at
/// `path` is replaced only once the new one is completely on disk; on failure
/// it is left as it was. A double quote in a text cell cannot be carried by
/// the format and is written as "'".
bool WriteInputFile(const CaseTable& cases, const std::string& path, Error& error);

/// The bytes WriteInputFile writes for `cases`.
std::string InputFileBytes(const CaseTable& cases);

/// Reads a version 2.10 file into the table. On failure the table is emptied.
/// A count above 99 or below 0 fails with code 9 before any case is stored; a
/// file that ends early fails with code 62.
bool ReadInputFile(CaseTable& cases, const std::string& path, Error& error);

namespace detail {
/// Shared reader of both versions: `cellsPerCase` is 10 (2.10) or 9 (2.00,
/// without cell 4, which is then set to 0).
bool ReadProjectFile(CaseTable& cases, const std::string& path, int cellsPerCase, Error& error);
/// The same on the bytes of a file already read.
bool ReadProjectBytes(CaseTable& cases, std::string_view data, int cellsPerCase, Error& error);
} // namespace detail

} // namespace ormavex
