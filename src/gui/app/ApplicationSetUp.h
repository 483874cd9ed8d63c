#pragma once

class QApplication;

namespace ormavex::gui {

/// Japanese user interface for Qt's own dialogs and buttons (Qt's Japanese
/// translations), and IPAGothic as the fallback font for Japanese text.
void SetUpJapaneseUi(QApplication& app);

} // namespace ormavex::gui
