// ormavex-preview: shows, prints and exports as PDF the report's text print
// file with its figures. See PreviewCommandLine.h for the command line.

#include "apps/CatchAll.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Version.h"
#include "core/platform/Platform.h"
#include "core/text/SignalCleanup.h"
#include "gui/common/ApplicationSetUp.h"
#include "gui/help/HelpKey.h"
#include "gui/preview/PreviewCommandLine.h"
#include "gui/preview/PreviewWindow.h"
#include "render/PdfExport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <iostream>
#include <memory>
#include <optional>

namespace {

int ExportPdf(int argc, char** argv, const ormavex::preview::CommandLine& cl) {
    // No window: no display is needed either, unless another platform is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ormavex::render::FilterHeadlessQtMessages();
    QGuiApplication app(argc, argv);
    ormavex::printfile::ReportDocument doc;
    std::string error;
    if (!ormavex::printfile::BuildReportDocument(cl.printFile, ormavex::ProgramFolder(), doc,
                                                 &error)) {
        std::cerr << "ormavex-preview: " << cl.printFile << ": " << error << "\n";
        return 2;
    }
    const QString name = ormavex::preview::PreviewWindow::ReportName(cl.projectFile, cl.printFile);
    doc.title = name.isEmpty() ? std::string("Ormavex") : name.toStdString();
    for (const std::string& note : doc.notes) {
        std::cerr << "ormavex-preview: " << note << "\n";
    }
    if (!ormavex::render::WriteReportPdf(doc, cl.pdfPath, &error)) {
        std::cerr << "ormavex-preview: " << error << "\n";
        return 3;
    }
    return 0;
}

// The program, whose window's application object outlives it for a failure's
// message box.
int Run(int& argc, char** argv, std::optional<QApplication>& app) {
    using namespace ormavex::preview;
    // Ended by a signal, it removes the new file of a PDF being written.
    ormavex::InstallSignalCleanup();
    // The arguments as UTF-8 (Windows hands argv over in its ANSI code page).
    std::vector<std::string> args = ormavex::platform::CommandLineArguments(argc, argv);
    if (!args.empty()) {
        args.erase(args.begin());
    }
    const CommandLine cl = ParseCommandLine(args);
    if (cl.help) {
        std::cout << kUsage;
        return 0;
    }
    if (cl.version) {
        std::cout << "ormavex-preview " << ormavex::kVersion << "\n";
        return 0;
    }
    if (!cl.error.empty()) {
        std::cerr << "ormavex-preview: " << cl.error << "\n" << kUsage;
        return 1;
    }
    if (!cl.pdfPath.empty()) {
        return ExportPdf(argc, argv, cl);
    }

    ormavex::gui::UseJapaneseLocale();
    app.emplace(argc, argv);
    ormavex::gui::SetUpJapaneseUi(*app); // Qt's print and file dialogs in Japanese
    ormavex::gui::InstallHelpKey(*app, ormavex::ProgramFolder()); // F1: the preview's page
    auto doc = std::make_shared<ormavex::printfile::ReportDocument>();
    QString message;
    if (!OpenReport(cl.printFile, ormavex::ProgramFolder(), *doc, &message)) {
        QMessageBox::critical(nullptr, QStringLiteral("Ormavex"), message);
        return 2;
    }
    // The PDF's title: the project's name, never a temporary file's.
    const QString name = PreviewWindow::ReportName(cl.projectFile, cl.printFile);
    doc->title = name.isEmpty() ? std::string("Ormavex") : name.toStdString();
    PreviewWindow window(doc, cl.printFile, cl.iniFolder);
    window.setProject(cl.projectFile);
    window.restoreSettings();
    window.show();
    return app->exec();
}

} // namespace

int main(int argc, char** argv) {
    return ormavex::apps::CatchAll<QApplication>("ormavex-preview", argc, argv, Run,
                                                 ormavex::gui::ShowFailureBox);
}
