#include "core/project/basIO200.h"

#include "core/project/basIO.h"

namespace ormavex {

bool ReadInputFileV200(CaseTable& cases, const std::string& path, Error& error) {
    return detail::ReadProjectFile(cases, path, 9, error);
}

} // namespace ormavex
