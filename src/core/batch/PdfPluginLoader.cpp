#include "core/batch/PdfPlugin.h"

#include "core/platform/Platform.h"

namespace ormavex::batch {

bool ExportPdfThroughPlugin(const std::string& pluginFolder, const std::string& printFile,
                            const std::string& pdfPath, const std::string& programFolder,
                            std::string* error) {
    const std::string path = pluginFolder + "/" + PdfPluginFileName;
    // Never unloaded: Qt keeps state until the process ends.
    std::string why;
    auto entry = reinterpret_cast<PdfPluginEntry>(
        ormavex::platform::LoadModuleSymbol(path, PdfPluginEntryName, why));
    if (entry == nullptr) {
        if (error != nullptr) {
            *error = "the PDF output cannot be loaded: " + why;
        }
        return false;
    }
    return entry(printFile, pdfPath, programFolder, error);
}

} // namespace ormavex::batch
