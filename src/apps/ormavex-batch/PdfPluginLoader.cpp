#include "PdfPlugin.h"

#include <dlfcn.h>

namespace ormavex::batch {

bool ExportPdfThroughPlugin(const std::string& pluginFolder, const std::string& printFile,
                            const std::string& pdfPath, const std::string& programFolder,
                            std::string* error) {
    const std::string path = pluginFolder + "/" + PdfPluginFileName;
    // Never unloaded: Qt keeps state until the process ends.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = ::dlerror();
        if (error != nullptr) {
            *error = "the PDF output cannot be loaded: " + std::string(why != nullptr ? why : path);
        }
        return false;
    }
    auto entry = reinterpret_cast<PdfPluginEntry>(::dlsym(module, PdfPluginEntryName));
    if (entry == nullptr) {
        if (error != nullptr) {
            *error = "the PDF output cannot be loaded: " + path + " has no " + PdfPluginEntryName;
        }
        return false;
    }
    return entry(printFile, pdfPath, programFolder, error);
}

} // namespace ormavex::batch
