#include "gui/preview/PreviewCommandLine.h"

#include "core/app/ProgramFolder.h"
#include "core/app/Version.h"
#include "core/platform/Platform.h"
#include "core/text/Blanks.h"
#include "core/text/SignalCleanup.h"
#include "gui/common/ApplicationSetUp.h"
#include "gui/help/HelpKey.h"
#include "gui/preview/PreviewWindow.h"
#include "render/PdfExport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <iostream>
#include <memory>

namespace ormavex::preview {

const char* const kUsage =
    "usage: ormavex-preview [/INI=FOLDER] [/PROJECT=FILE] PRINTFILE\n"
    "       ormavex-preview --pdf OUT.pdf PRINTFILE\n"
    "       ormavex-preview --version\n"
    "\n"
    "Shows a text print file of the report (with its figures) page by page, to\n"
    "print it or save it as PDF. With --pdf the PDF is written without a window.\n"
    "Exit codes: 0 done, 1 usage, 2 print file not read, 3 PDF not written.\n";

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() &&
           EqualsNoCase(std::string_view(s).substr(0, prefix.size()), prefix);
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') {
        return s.substr(1, s.size() - 2);
    }
    if (!s.empty() && s.front() == '"') {
        s.erase(0, 1);
    }
    if (!s.empty() && s.back() == '"') {
        s.pop_back();
    }
    return s;
}

int ExportPdf(int argc, char** argv, const CommandLine& cl) {
    // No window: no display is needed either, unless another platform is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    render::FilterHeadlessQtMessages();
    QGuiApplication app(argc, argv);
    printfile::ReportDocument doc;
    std::string error;
    if (!printfile::BuildReportDocument(cl.printFile, ProgramFolder(), doc, &error)) {
        std::cerr << "ormavex-preview: " << cl.printFile << ": " << error << "\n";
        return 2;
    }
    const QString name = PreviewWindow::ReportName(cl.projectFile, cl.printFile);
    doc.title = name.isEmpty() ? std::string("Ormavex") : name.toStdString();
    for (const std::string& note : doc.notes) {
        std::cerr << "ormavex-preview: " << note << "\n";
    }
    if (!render::WriteReportPdf(doc, cl.pdfPath, &error)) {
        std::cerr << "ormavex-preview: " << error << "\n";
        return 3;
    }
    return 0;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h" || a == "/?") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--pdf") {
            if (i + 1 >= args.size()) {
                cl.error = "--pdf needs a file name";
                return cl;
            }
            cl.pdfPath = args[++i];
        } else if (StartsWithNoCase(a, "/INI=")) {
            cl.iniFolder = Unquote(a.substr(5));
        } else if (StartsWithNoCase(a, "/PROJECT=")) {
            cl.projectFile = Unquote(a.substr(9));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            cl.error = "unknown option " + a;
            return cl;
        } else {
            positional.push_back(a);
        }
    }
    for (const std::string& p : positional) {
        cl.printFile += (cl.printFile.empty() ? "" : " ") + p;
    }
    cl.printFile = Unquote(cl.printFile);
    if (!cl.help && !cl.version && cl.printFile.empty()) {
        cl.error = "no print file given";
    }
    return cl;
}

int RunProgram(int& argc, char** argv, std::optional<QApplication>& app) {
    // Ended by a signal, it removes the new file of a PDF being written.
    InstallSignalCleanup();
    // The arguments as UTF-8 (Windows hands argv over in its ANSI code page).
    std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
    if (!args.empty()) {
        args.erase(args.begin());
    }
    const CommandLine cl = ParseCommandLine(args);
    if (cl.help) {
        std::cout << kUsage;
        return 0;
    }
    if (cl.version) {
        std::cout << "ormavex-preview " << kVersion << "\n";
        return 0;
    }
    if (!cl.error.empty()) {
        std::cerr << "ormavex-preview: " << cl.error << "\n" << kUsage;
        return 1;
    }
    if (!cl.pdfPath.empty()) {
        return ExportPdf(argc, argv, cl);
    }

    gui::UseJapaneseLocale();
    app.emplace(argc, argv);
    gui::SetUpJapaneseUi(*app);                 // Qt's print and file dialogs in Japanese
    gui::InstallHelpKey(*app, ProgramFolder()); // F1: the preview's page
    auto doc = std::make_shared<printfile::ReportDocument>();
    QString message;
    if (!OpenReport(cl.printFile, ProgramFolder(), *doc, &message)) {
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

} // namespace ormavex::preview
