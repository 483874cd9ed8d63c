#pragma once
// F1 everywhere: an application-wide event filter, installed once at
// start-up, opens the help window on the page of the window the key was
// pressed in. The windows need nothing of their own: the page is chosen by
// the window's object name (frmMenuMain, frmInpJyokenSS, ...), or for a
// message box or file dialog by the window it belongs to. The Help buttons
// send F1 to their window, so they open the same page.

#include <QString>

#include <string>

class QCoreApplication;
class QPushButton;
class QWidget;

namespace ormavex::gui {

class HelpWindow;

/// The manual's folder of a program folder: `programFolder` + "/manual".
QString ManualFolder(const std::string& programFolder);

/// The path of `page` ("case-editor.html") in the manual ShowHelp uses, for
/// the windows' help file property; empty when the manual has no such page,
/// which leaves a Help button disabled.
std::string HelpFile(const QString& page);

/// The page of a window ("case-editor.html", "main-window.html#about"),
/// found from its object name, its title, then the windows it belongs to;
/// the contents page "index.html" when none is known.
QString HelpPageFor(const QWidget* window);

/// Opens the help window on `page` (as HelpWindow::showPage), creating it
/// on first use, and brings it to the front. While a modal dialog is open,
/// the help window belongs to it, so that it can be used beside the dialog.
HelpWindow* ShowHelp(const QString& page);

/// The help window, when one has been opened and not closed.
HelpWindow* CurrentHelpWindow();

/// A Help button of `window`: a click sends F1 to the window.
void ConnectHelpButton(QPushButton* button, QWidget* window);

/// Installs the F1 filter on `app` with the manual of `programFolder`.
void InstallHelpKey(QCoreApplication& app, const std::string& programFolder);

} // namespace ormavex::gui
