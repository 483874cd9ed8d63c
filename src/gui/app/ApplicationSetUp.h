#pragma once

#include <string>

class QApplication;

namespace ormavex::gui {

/// Japanese user interface for Qt's own dialogs and buttons (Qt's Japanese
/// translations), and IPAGothic as the fallback font for Japanese text.
void SetUpJapaneseUi(QApplication& app);

/// `text` in a critical message box, when a QApplication exists on a screen
/// (not "offscreen" or "minimal", where the box would wait for nobody).
void ShowFailureBox(const std::string& text);

} // namespace ormavex::gui
