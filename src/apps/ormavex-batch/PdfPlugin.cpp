// The module side: the one exported function, over the renderer.

#include "core/batch/PdfPlugin.h"

#include "render/PdfExport.h"

#include <exception>
#include <type_traits>

extern "C" ORMAVEX_PDF_PLUGIN_EXPORT bool ormavex_batch_export_pdf(const std::string& printFile,
                                                                   const std::string& pdfPath,
                                                                   const std::string& programFolder,
                                                                   std::string* error) {
    try {
        return ormavex::render::ExportPrintFileToPdf(printFile, pdfPath, programFolder, error);
    } catch (const std::exception& e) { // none crosses the module's boundary
        if (error != nullptr) {
            *error = std::string("the PDF was not written: ") + e.what();
        }
    } catch (...) {
        if (error != nullptr) {
            *error = "the PDF was not written: an exception of unknown type";
        }
    }
    return false;
}

// The loader's pointer type and the function must agree.
static_assert(std::is_same_v<decltype(&ormavex_batch_export_pdf), ormavex::batch::PdfPluginEntry>);
