#include "gui/common/Prompter.h"

#include "gui/common/Widgets.h"
#include "gui/dialogs/CFileDialog.h"

#include <QApplication>
#include <QMessageBox>

namespace ormavex::gui {

Prompter::Answer QtPrompter::message(QWidget* parent, const std::string& title,
                                     const std::string& text, Message::Icon icon, Buttons buttons) {
    QMessageBox box(icon == Message::Icon::Critical ? QMessageBox::Critical
                                                    : QMessageBox::Information,
                    Q(title), Q(text), QMessageBox::NoButton, parent);
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default:
        return buttons == Buttons::Ok      ? Answer::Ok
               : buttons == Buttons::YesNo ? Answer::No
                                           : Answer::Cancel;
    }
}

bool QtPrompter::fileDialog(CFileDialog& dialog, bool fOpen) { return dialog.Show(fOpen); }

void QtPrompter::beep() { QApplication::beep(); }

} // namespace ormavex::gui
