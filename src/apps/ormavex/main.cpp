// ormavex: the application. `ormavex [PROJECT.kvt]` opens the main window,
// with the project when one is named; `ormavex --version` prints the version.

#include "apps/CatchAll.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Version.h"
#include "core/app/mWin32_SHGetSpecialFolderPath.h"
#include "core/text/SignalCleanup.h"
#include "gui/common/AppPaths.h"
#include "gui/common/AppState.h"
#include "gui/common/ApplicationSetUp.h"
#include "gui/common/Prompter.h"
#include "gui/help/HelpKey.h"
#include "gui/main/frmMenuMain.h"

#include <QApplication>

#include <cstring>
#include <iostream>
#include <optional>

namespace {

// The program, whose application object outlives it for a failure's message box.
int Run(int& argc, char** argv, std::optional<QApplication>& app) {
    // Before any window: --version needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "ormavex " << ormavex::kVersion << "\n";
        return 0;
    }
    ormavex::gui::UseJapaneseLocale();
    // Ended by a signal, it removes the print files of an open print menu
    // and the new file of a save in progress.
    ormavex::InstallSignalCleanup();
    app.emplace(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ormavex"));
    ormavex::gui::SetUpJapaneseUi(*app);

    const ormavex::gui::AppPaths paths = ormavex::gui::AppPaths::Make(
        ormavex::ProgramFolder(), ormavex::ExecutableName(), ormavex::GetLocalAppDataPath());
    ormavex::AppState state;
    state.dataFolder = paths.programFolder;
    state.report.lists.folder = ormavex::TemporaryFolder();
    // F1 in any window opens its page of the manual beside the program.
    ormavex::gui::InstallHelpKey(*app, paths.programFolder);
    ormavex::gui::QtPrompter prompter;
    ormavex::gui::frmMenuMain window(state, paths, prompter);
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        window.openProject(args.at(1).toStdString());
    }
    return app->exec();
}

} // namespace

int main(int argc, char** argv) {
    return ormavex::apps::CatchAll<QApplication>("ormavex", argc, argv, Run,
                                                 ormavex::gui::ShowFailureBox);
}
