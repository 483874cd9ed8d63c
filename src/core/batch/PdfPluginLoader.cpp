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
    // Nothing may be thrown back through the module.
    const PdfPluginErrorSink sink = [](void* context, const char* message) noexcept {
        try {
            *static_cast<std::string*>(context) = message;
        } catch (...) { // no memory for the text: the failure is still reported
        }
    };
    std::string message;
    const bool written =
        entry(printFile.c_str(), pdfPath.c_str(), programFolder.c_str(), sink, &message);
    if (!written && error != nullptr) {
        *error = message;
    }
    return written;
}

} // namespace ormavex::batch
