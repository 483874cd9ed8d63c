#pragma once
// The texts of the messages the main window shows, shared by the windows and
// the command-line program so that both say the same.

#include <string>

namespace ormavex {

struct Message {
    enum class Icon { Information, Critical };
    std::string title;
    std::string text;
    Icon icon = Icon::Critical;
};

/// A file error message: the text, "（ｴﾗｰｺｰﾄﾞ ： 1,234）", two line feeds and the
/// request to quote the message and code when asking for help.
std::string FileErrorText(const std::string& message, int code);

Message UnsupportedVersionMessage(const std::string& version);
Message ReadErrorMessage(int code);
Message WriteErrorMessage(int code);
Message CalcErrorMessage();

} // namespace ormavex
