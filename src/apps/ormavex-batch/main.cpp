// ormavex-batch: loads a project file, runs the moment calculation and prints
// or writes the results, without a window (see core/batch/BatchRun.cpp).

#include "apps/CatchAll.h"
#include "core/batch/BatchRun.h"

int main(int argc, char** argv) {
#ifdef ORMAVEX_HAVE_RENDER
    constexpr bool pdfAvailable = true;
#else
    constexpr bool pdfAvailable = false;
#endif
    return ormavex::apps::CatchAll("ormavex-batch",
                                   [&] { return ormavex::batch::Run(argc, argv, pdfAvailable); });
}
