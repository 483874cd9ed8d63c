#pragma once
// Reader of version 2.00 project files: the same layout as version 2.10 but
// with nine cells per case (the decimal places index, cell 4, is missing and
// read as 0).

#include "core/cases/CaseTable.h"
#include "core/text/Error.h"

#include <string>

namespace ormavex {

/// Reads a version 2.00 file into the table; cell 4 of every case becomes 0.
/// On failure the table is emptied and `error` is set, as ReadInputFile does.
bool ReadInputFileV200(CaseTable& cases, const std::string& path, Error& error);

} // namespace ormavex
