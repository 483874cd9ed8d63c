// The window tests: GoogleTest with a QApplication on the offscreen platform,
// with the application's Japanese set-up.

#include "app/ApplicationSetUp.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ormavex::gui::UseJapaneseLocale();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ormavex::gui::SetUpJapaneseUi(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
