#pragma once
// The About box: product title, version and a button that shows the system
// information (operating system, Qt version, program folder, settings file).

#include "gui/common/AppPaths.h"

#include <QDialog>

#include <string>

namespace ormavex::gui {

class Prompter;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const AppPaths& paths, Prompter& prompter, QWidget* parent = nullptr);

    /// The text the system-information button shows.
    std::string SystemInformation() const;
    void cmdSysInfo_Click();

private:
    AppPaths m_paths;
    Prompter& m_prompter;
};

} // namespace ormavex::gui
