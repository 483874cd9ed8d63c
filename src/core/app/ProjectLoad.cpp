#include "ProjectLoad.h"

#include "app/basToolsStd.h"
#include "project/basIO.h"
#include "project/basIO200.h"

#include <cctype>

namespace ormavex {

LoadResult LoadProject(CaseTable& cases, const std::string& path) {
    LoadResult r;
    std::string ext = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    for (char& c : ext) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (ext == "KVT") {
        r.version = GetInputFileVersion(path);
        if (r.version == "2.10") {
            r.ok = ReadInputFile(cases, path, r.errorCode);
        } else if (r.version == "2.00") {
            r.ok = ReadInputFileV200(cases, path, r.errorCode);
        } else {
            r.messages.push_back(UnsupportedVersionMessage(r.version));
        }
    }
    if (!r.ok) {
        r.messages.push_back(ReadErrorMessage(r.errorCode));
    }
    return r;
}

} // namespace ormavex
