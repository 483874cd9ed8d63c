#pragma once
// Two small helpers of every window: Q() makes the QString a widget shows of
// the program's own text, which is UTF-8 throughout (std::string and
// literals); Named() makes a widget (or another object) under the object
// name by which the tests, the help and the settings find it.

#include <QAnyStringView>
#include <QString>

#include <string>
#include <utility>

namespace ormavex::gui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline QString Q(const char* s) { return QString::fromUtf8(s); }

/// `new T(args...)` named `name`.
template <typename T, typename... Args> T* Named(QAnyStringView name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(name);
    return object;
}

} // namespace ormavex::gui
