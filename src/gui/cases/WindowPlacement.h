#pragma once
// Window position (and size) kept in a section of the settings file, keys
// "Top", "Left", "Width", "Height", in twips (1/1440 inch). A stored position
// below 1 centres the window on the screen; a size is applied only when above 0.

#include <string>

class QWidget;

namespace ormavex {

void RestoreWindowPlacement(QWidget& window, const std::string& settingsFile,
                            const std::string& section, bool withSize);
void SaveWindowPlacement(const QWidget& window, const std::string& settingsFile,
                         const std::string& section, bool withSize);

} // namespace ormavex
