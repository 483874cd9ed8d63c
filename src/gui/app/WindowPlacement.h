#pragma once
// Window positions as the settings file keeps them: twips (1/1440 inch) from
// the top left corner of the screen, converted with the screen's logical DPI.

#include <cstdint>
#include <string>

class QWidget;

namespace ormavex::gui {

struct TwipsPosition {
    std::int32_t top = 0;
    std::int32_t left = 0;
};

/// Moves a top-level window to a stored position. A value below 1 centres the
/// window along that axis (half the difference of screen and window size, not
/// below 0); with `recentreOffScreen` a value at or beyond the screen's size
/// centres it as well.
void PlaceWindow(QWidget& window, TwipsPosition position, bool recentreOffScreen);

/// The window's position in twips, to be stored.
TwipsPosition WindowPosition(const QWidget& window);

/// Reads "Top" and "Left" of `section` and places the window.
void RestoreWindowPosition(QWidget& window, const std::string& settingsFile,
                           const std::string& section, bool recentreOffScreen);
/// Writes the window's "Top" and "Left" to `section` (failures ignored).
void SaveWindowPosition(const QWidget& window, const std::string& settingsFile,
                        const std::string& section);

} // namespace ormavex::gui
