// The window tests: GoogleTest with a QApplication on the offscreen platform,
// with the application's Japanese set-up and a watchdog on modal windows.

#include "ModalDriver.h"
#include "gui/common/ApplicationSetUp.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ormavex::gui::UseJapaneseLocale();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ormavex::gui::SetUpJapaneseUi(app);
    ::testing::InitGoogleTest(&argc, argv);
    // A test left waiting on a dialog fails instead of hanging.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ormavex::test::ModalWatchdog(30));
    return RUN_ALL_TESTS();
}
