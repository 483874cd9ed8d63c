#pragma once

#include <string>

class QApplication;

namespace ormavex::gui {

/// Japanese formats for dates, sizes and numbers in Qt's own dialogs (the
/// file dialog's date and size columns, the print dialog), whatever locale
/// the environment names. Qt reads the system locale from the environment
/// once: call this before the QApplication is made.
void UseJapaneseLocale();

/// Japanese user interface for Qt's own dialogs and buttons (Qt's Japanese
/// translations), and IPAGothic as the fallback font for Japanese text.
void SetUpJapaneseUi(QApplication& app);

/// `text` in a critical message box, when a QApplication exists on a screen
/// (not "offscreen" or "minimal", where the box would wait for nobody).
void ShowFailureBox(const std::string& text);

} // namespace ormavex::gui
