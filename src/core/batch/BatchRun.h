#pragma once
// The whole run of ormavex-batch behind its command line: options, project
// load, calculation, moments CSV, project write, report and PDF. The program's
// main() only hands its arguments over. Exit codes and usage are described in
// BatchRun.cpp.

namespace ormavex::batch {

/// Runs ormavex-batch on `argv` and returns its exit code. `pdfAvailable` is
/// false in a build without the PDF module: --pdf is then a usage error.
int Run(int argc, char** argv, bool pdfAvailable);

} // namespace ormavex::batch
