#include "basIO200.h"

#include "basIO.h"

namespace ormavex {

bool ReadInputFileV200(CaseTable& cases, const std::string& path, std::int32_t& errorCode) {
    return detail::ReadProjectFile(cases, path, 9, errorCode);
}

} // namespace ormavex
