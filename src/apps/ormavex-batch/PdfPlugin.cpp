// The module side: the one exported function, over the renderer.

#include "core/batch/PdfPlugin.h"

#include "render/PdfExport.h"

#include <exception>
#include <type_traits>

extern "C" ORMAVEX_PDF_PLUGIN_EXPORT bool
ormavex_batch_export_pdf(const char* printFile, const char* pdfPath, const char* programFolder,
                         ormavex::batch::PdfPluginErrorSink sink, void* context) {
    std::string error;
    try {
        if (ormavex::render::ExportPrintFileToPdf(printFile, pdfPath, programFolder, &error)) {
            return true;
        }
    } catch (const std::exception& e) { // none crosses the module's boundary
        error = std::string("the PDF was not written: ") + e.what();
    } catch (...) {
        error = "the PDF was not written: an exception of unknown type";
    }
    sink(context, error.c_str());
    return false;
}

// The loader's pointer type and the function must agree.
static_assert(std::is_same_v<decltype(&ormavex_batch_export_pdf), ormavex::batch::PdfPluginEntry>);
