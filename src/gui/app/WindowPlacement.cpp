#include "WindowPlacement.h"

#include "app/CPrivateProfile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;

const QScreen* ScreenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// One axis: the stored value, or the centred one. A value past the screen
// that is not re-centred is brought back to the nearest place where the
// window still lies on the screen.
double Axis(std::int32_t stored, double screenTwips, double windowTwips, bool recentreOffScreen) {
    if (stored < 1 || (recentreOffScreen && stored >= screenTwips)) {
        const double centred = std::floor(std::round(screenTwips - windowTwips) / 2.0);
        return std::max(0.0, centred);
    }
    return std::min<double>(stored, std::max(0.0, screenTwips - windowTwips));
}

} // namespace

void PlaceWindow(QWidget& window, TwipsPosition position, bool recentreOffScreen) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    const QSize size = window.frameGeometry().size();
    const double top = Axis(position.top, area.height() * kTwipsPerInch / dpiY,
                            size.height() * kTwipsPerInch / dpiY, recentreOffScreen);
    const double left = Axis(position.left, area.width() * kTwipsPerInch / dpiX,
                             size.width() * kTwipsPerInch / dpiX, recentreOffScreen);
    window.move(area.left() + static_cast<int>(std::lround(left * dpiX / kTwipsPerInch)),
                area.top() + static_cast<int>(std::lround(top * dpiY / kTwipsPerInch)));
}

TwipsPosition WindowPosition(const QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) {
        return {};
    }
    const QRect area = screen->geometry();
    const QPoint p = window.frameGeometry().topLeft() - area.topLeft();
    return {static_cast<std::int32_t>(
                std::lround(p.y() * kTwipsPerInch / screen->logicalDotsPerInchY())),
            static_cast<std::int32_t>(
                std::lround(p.x() * kTwipsPerInch / screen->logicalDotsPerInchX()))};
}

void RestoreWindowPosition(QWidget& window, const std::string& settingsFile,
                           const std::string& section, bool recentreOffScreen) {
    const TwipsPosition stored{CPrivateProfile::GetValueLong(settingsFile, section, "Top"),
                               CPrivateProfile::GetValueLong(settingsFile, section, "Left")};
    PlaceWindow(window, stored, recentreOffScreen);
}

void SaveWindowPosition(const QWidget& window, const std::string& settingsFile,
                        const std::string& section) {
    const TwipsPosition p = WindowPosition(window);
    CPrivateProfile::SetValueString(settingsFile, section, "Top", std::to_string(p.top));
    CPrivateProfile::SetValueString(settingsFile, section, "Left", std::to_string(p.left));
}

} // namespace ormavex::gui
