#pragma once
// Small helpers of every window: Q() makes the QString a widget shows of the
// program's own text, which is UTF-8 throughout (std::string and literals);
// Named() makes a widget (or another object) under the object name by which
// the tests, the help and the settings find it; Row() lays out a row of buttons.

#include <QAnyStringView>
#include <QHBoxLayout>
#include <QString>

#include <initializer_list>
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

/// A row of `widgets`, in their order; a null one is a stretch that pushes
/// the widgets after it to the right.
inline QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) {
        if (w == nullptr) {
            row->addStretch();
        } else {
            row->addWidget(w);
        }
    }
    return row;
}

} // namespace ormavex::gui
