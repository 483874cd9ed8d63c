#pragma once
// Window tests find a window's fields as a user does, by their place: the
// child widget with the field's name (its objectName).

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace ormavex::test {

/// The child widget of `parent` named `name`; the test fails when there is none.
template <typename T> T* Child(const QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << "no " << name;
    return w;
}

} // namespace ormavex::test
