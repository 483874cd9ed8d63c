// ormavex-preview: shows, prints and exports as PDF the report's text print
// file with its figures. See gui/preview/PreviewCommandLine.h for the command line.

#include "apps/CatchAll.h"
#include "gui/common/ApplicationSetUp.h"
#include "gui/preview/PreviewCommandLine.h"

#include <QApplication>

int main(int argc, char** argv) {
    return ormavex::apps::CatchAll<QApplication>(
        "ormavex-preview", argc, argv, ormavex::preview::RunProgram, ormavex::gui::ShowFailureBox);
}
