#pragma once
// A Prompter that answers in place of the user: message boxes take the next
// queued answer, file dialogs the next queued path (nothing = cancelled).
// Everything asked is recorded.

#include "gui/common/Prompter.h"
#include "gui/dialogs/CFileDialog.h"

#include <QString>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ormavex::test {

class FakePrompter : public gui::Prompter {
public:
    struct Shown {
        std::string title;
        std::string text;
        Message::Icon icon;
        Buttons buttons;
    };
    struct Dialog {
        gui::CFileDialog dialog; ///< as the window set it up
        bool fOpen;
    };

    std::vector<Shown> shown;
    std::vector<Dialog> dialogs;
    std::deque<Answer> answers; ///< empty: Ok, No for Yes / No, or Cancel for a question
    std::deque<std::optional<std::string>> files; ///< empty: cancelled
    int beeps = 0;

    Answer message(QWidget*, const std::string& title, const std::string& text, Message::Icon icon,
                   Buttons buttons) override {
        shown.push_back({title, text, icon, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::Ok      ? Answer::Ok
               : buttons == Buttons::YesNo ? Answer::No
                                           : Answer::Cancel;
    }

    bool fileDialog(gui::CFileDialog& dialog, bool fOpen) override {
        dialogs.push_back({dialog, fOpen});
        if (files.empty()) {
            return false;
        }
        const std::optional<std::string> path = files.front();
        files.pop_front();
        if (!path) {
            return false;
        }
        dialog.Accept(QString::fromStdString(*path));
        return true;
    }

    void beep() override { ++beeps; }

    void clear() {
        shown.clear();
        dialogs.clear();
        beeps = 0;
    }
};

} // namespace ormavex::test
