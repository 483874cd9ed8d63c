// Window placement: the arithmetic that fits a frame onto a screen, and a
// window whose stored place and size no longer suit the screen (offscreen:
// no frame; the frames of a window manager are seen by placement_frames.sh).

#include "gui/common/WindowPlacement.h"
#include "core/app/CPrivateProfile.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace ormavex::test {
namespace {

using gui::FitFrame;

TEST(WindowPlacement, FrameIsShrunkAndMovedWhollyOntoTheArea) {
    const QRect area(0, 0, 1366, 728); // 1366 x 768 less a 40 px panel
    struct Case {
        const char* what;
        QRect frame;
        QSize minimum;
        QRect expected;
    };
    const Case cases[] = {
        {"inside stays", {100, 50, 400, 300}, {}, {100, 50, 400, 300}},
        {"past the right and bottom", {1200, 700, 400, 300}, {}, {966, 428, 400, 300}},
        {"above and left of the screen", {-500, -20, 400, 300}, {}, {0, 0, 400, 300}},
        {"taller than the screen", {233, 20, 902, 1025}, {}, {233, 0, 902, 728}},
        {"larger both ways, far away", {30000, 20000, 2000, 1500}, {}, {0, 0, 1366, 728}},
        {"minimum larger than the area", {500, 300, 400, 900}, {400, 800}, {500, 0, 400, 800}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitFrame(c.frame, area, c.minimum), c.expected) << c.what;
    }
    // An area that does not start at the origin (a panel on the left, a
    // second screen).
    EXPECT_EQ(FitFrame({0, 0, 300, 200}, {1366, 48, 1024, 720}), QRect(1366, 48, 300, 200));

    // Stored values: below 1 centres within the available span; beyond the
    // screen centres only when asked; otherwise twips become pixels.
    EXPECT_EQ(gui::StoredAxis(0, 96.0, 768, 0, 728, 328, false), 200);
    EXPECT_EQ(gui::StoredAxis(-5, 96.0, 768, 30, 700, 800, false), 30);
    EXPECT_EQ(gui::StoredAxis(1440, 96.0, 768, 0, 728, 328, false), 96);
    EXPECT_EQ(gui::StoredAxis(11520, 96.0, 768, 0, 728, 328, true), 200);
    EXPECT_EQ(gui::StoredAxis(11520, 96.0, 768, 0, 728, 328, false), 768);
}

// A position and size kept from a larger screen come back wholly on this
// one; a window put back where it was stored stays there, opening after
// opening.
TEST(WindowPlacement, StoredPlaceComesBackOnScreenAndDoesNotCreep) {
    TempDir dir;
    const std::string ini = dir.file("Kivet.ini");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    CPrivateProfile::SetValueString(ini, "Test", "Top", "60000"); // about 4000 px down
    CPrivateProfile::SetValueString(ini, "Test", "Left", "60000");
    {
        QDialog big;
        big.resize(area.width() + 500, area.height() + 300);
        gui::RestoreWindowPosition(big, ini, "Test", false);
        EXPECT_TRUE(area.contains(big.frameGeometry())) << "frame off the available area";
        EXPECT_EQ(big.size(), area.size()); // no frame offscreen: shrunk to the area
    }
    CPrivateProfile::SetValueString(ini, "Test", "Top", "1500");
    CPrivateProfile::SetValueString(ini, "Test", "Left", "3000");
    QPoint first;
    for (int opening = 1; opening <= 3; ++opening) {
        QDialog d;
        d.resize(300, 200);
        gui::RestoreWindowPosition(d, ini, "Test", false);
        d.show();
        if (opening == 1) {
            first = d.frameGeometry().topLeft();
        }
        EXPECT_EQ(d.frameGeometry().topLeft(), first) << "opening " << opening;
        gui::SaveWindowPosition(d, ini, "Test");
    }
}

} // namespace
} // namespace ormavex::test
