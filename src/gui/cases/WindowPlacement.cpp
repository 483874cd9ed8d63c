#include "WindowPlacement.h"

#include "app/CPrivateProfile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ormavex {

namespace {

double TwipsPerPixel(const QWidget& w) {
    const double dpi = w.logicalDpiX() > 0 ? w.logicalDpiX() : 96.0;
    return 1440.0 / dpi;
}

} // namespace

void RestoreWindowPlacement(QWidget& window, const std::string& settingsFile,
                            const std::string& section, bool withSize) {
    const double tpp = TwipsPerPixel(window);
    auto read = [&](const char* key) {
        return CPrivateProfile::GetValueLong(settingsFile, section, key);
    };
    if (withSize) {
        const int width = read("Width");
        const int height = read("Height");
        window.resize(width > 0 ? static_cast<int>(width / tpp) : window.width(),
                      height > 0 ? static_cast<int>(height / tpp) : window.height());
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    int top = static_cast<int>(read("Top") / tpp);
    int left = static_cast<int>(read("Left") / tpp);
    if (read("Top") < 1) {
        top = std::max(0, (area.height() - window.height()) / 2) + area.top();
    }
    if (read("Left") < 1) {
        left = std::max(0, (area.width() - window.width()) / 2) + area.left();
    }
    window.move(left, top);
}

void SaveWindowPlacement(const QWidget& window, const std::string& settingsFile,
                         const std::string& section, bool withSize) {
    const double tpp = TwipsPerPixel(window);
    auto write = [&](const char* key, int pixels) {
        CPrivateProfile::SetValueString(settingsFile, section, key,
                                        std::to_string(static_cast<long>(pixels * tpp + 0.5)));
    };
    write("Top", window.pos().y());
    write("Left", window.pos().x());
    if (withSize) {
        write("Width", window.width());
        write("Height", window.height());
    }
}

} // namespace ormavex
