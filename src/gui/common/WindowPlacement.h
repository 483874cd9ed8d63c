#pragma once
// Window positions as the settings file keeps them: the top left corner of the
// window's frame (title bar and border included), in twips (1/1440 inch) from
// the top left corner of the screen, converted with the screen's logical DPI.
//
// One rule places every window: the frame goes where the stored position
// says (centred along an axis whose value is below 1); the window is then
// shrunk, as far as its minimum size allows, until its frame fits the
// available area of the screen it lands on (the desktop without panels),
// and moved wholly onto that area. The frame of a window that has never been
// shown is not known yet: it is estimated, and once the window manager has
// framed the window the rule is applied once more with the real frame.

#include <QMargins>
#include <QRect>

#include <cstdint>
#include <string>

class QWidget;

namespace ormavex::gui {

struct TwipsPosition {
    std::int32_t top = 0;
    std::int32_t left = 0;
};

/// `frame` fitted into `area`: its size limited to the area's, though not
/// below `minimum` (a frame that still does not fit keeps its top left corner
/// on the area, so that the title bar can be reached), then moved the least
/// distance that puts it wholly inside.
QRect FitFrame(const QRect& frame, const QRect& area, const QSize& minimum = QSize());

/// One axis of a stored position, in pixels from the screen's edge: the
/// stored value converted, or the centred place within the available span
/// [`availableStart`, `availableStart` + `availableLength`) when the value is
/// below 1 (or, with `recentreBeyond`, at or past `screenLength`).
int StoredAxis(std::int32_t twips, double dotsPerInch, int screenLength, int availableStart,
               int availableLength, int frameLength, bool recentreBeyond);

/// The frame the window has, or the one it will probably get.
QMargins FrameMargins(const QWidget& window);

/// Moves (and if need be shrinks) a top-level window to a stored position by
/// the rule above; a window of fixed size loses its maximize button.
/// `recentreOffScreen`: a value at or beyond the screen's
/// size centres the window too (otherwise it is moved back onto the screen).
void PlaceWindow(QWidget& window, TwipsPosition position, bool recentreOffScreen);

/// The window's frame position in twips, to be stored.
TwipsPosition WindowPosition(const QWidget& window);

/// Reads "Top" and "Left" of `section` and places the window.
void RestoreWindowPosition(QWidget& window, const std::string& settingsFile,
                           const std::string& section, bool recentreOffScreen);
/// Writes the window's "Top" and "Left" to `section` (failures ignored).
void SaveWindowPosition(const QWidget& window, const std::string& settingsFile,
                        const std::string& section);

} // namespace ormavex::gui
