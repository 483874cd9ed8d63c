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
/// The reason of a file error code in words ("ﾃﾞｨｽｸの空き容量が足りません");
/// empty for a code without one.
std::string FileErrorReasonText(int code);

/// The messages of a project file that cannot be read or written. With
/// `path`, the file and the reason of `code` follow the first sentence on
/// lines of their own; the reason is that of `reasonCode` when it is given
/// (a file that could not be read is shown with code 0, as a refused version).
Message ReadErrorMessage(int code, const std::string& path = {}, int reasonCode = -1);
Message WriteErrorMessage(int code, const std::string& path = {});
Message CalcErrorMessage();

} // namespace ormavex
