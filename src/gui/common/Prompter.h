#pragma once
// Everything the windows ask the user through the system's own dialogs:
// message boxes, the file dialog and the beep. The windows take a Prompter by
// reference, so that the tests answer in place of the user; QtPrompter is
// the real one.

#include "core/app/Messages.h"

#include <string>

class QWidget;

namespace ormavex::gui {

class CFileDialog;

class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    /// Shows a message box and returns the button pressed (closing the box
    /// counts as Cancel, or Ok when Ok is the only button, or No for Yes / No).
    virtual Answer message(QWidget* parent, const std::string& title, const std::string& text,
                           Message::Icon icon, Buttons buttons) = 0;
    /// Shows `dialog` (CFileDialog::Show); true when a file was confirmed.
    virtual bool fileDialog(CFileDialog& dialog, bool fOpen) = 0;
    /// The system beep.
    virtual void beep() = 0;

    Answer show(QWidget* parent, const Message& m, Buttons buttons = Buttons::Ok) {
        return message(parent, m.title, m.text, m.icon, buttons);
    }
};

class QtPrompter : public Prompter {
public:
    Answer message(QWidget* parent, const std::string& title, const std::string& text,
                   Message::Icon icon, Buttons buttons) override;
    bool fileDialog(CFileDialog& dialog, bool fOpen) override;
    void beep() override;
};

} // namespace ormavex::gui
