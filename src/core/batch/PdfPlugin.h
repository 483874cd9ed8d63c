#pragma once
// The PDF output of ormavex-batch, kept in a module of its own
// (ormavex-batch-pdf.so in the program folder) that the program loads only
// for --pdf: everything else runs without loading a single Qt library.

#include <string>

namespace ormavex::batch {

/// File name of the module in the program folder.
#ifdef _WIN32
inline constexpr const char* PdfPluginFileName = "ormavex-batch-pdf.dll";
#define ORMAVEX_PDF_PLUGIN_EXPORT __declspec(dllexport)
#else
inline constexpr const char* PdfPluginFileName = "ormavex-batch-pdf.so";
#define ORMAVEX_PDF_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/// Receives the module's error text (UTF-8) into `context`, a std::string of
/// the program's; it throws nothing.
using PdfPluginErrorSink = void (*)(void* context, const char* message);

/// Name and type of the one function the module exports; it does what
/// render::ExportPrintFileToPdf does, and hands its error text, if any, to
/// `sink`. Only C types cross: the program may carry its own copy of the C++
/// library (it is linked into ormavex-batch), the module uses the shared one
/// with Qt, so no C++ object made on one side may be changed on the other.
inline constexpr const char* PdfPluginEntryName = "ormavex_batch_export_pdf";
using PdfPluginEntry = bool (*)(const char* printFile, const char* pdfPath,
                                const char* programFolder, PdfPluginErrorSink sink, void* context);

/// Loads the module from `pluginFolder` and renders `printFile` into
/// `pdfPath`. False with `error` set when the module cannot be loaded or the
/// PDF cannot be written.
bool ExportPdfThroughPlugin(const std::string& pluginFolder, const std::string& printFile,
                            const std::string& pdfPath, const std::string& programFolder,
                            std::string* error);

} // namespace ormavex::batch
