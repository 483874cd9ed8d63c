#pragma once
// The program's own text is UTF-8 throughout (std::string and literals):
// Q() makes the QString a widget shows.

#include <QString>

#include <string>

namespace ormavex::gui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline QString Q(const char* s) { return QString::fromUtf8(s); }

} // namespace ormavex::gui
