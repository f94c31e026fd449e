// Where the profile window goes beside the main window, on any screen.
#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace pendrio;

TEST(WindowPlacement, BesideBelowOrCoveringTheLeastAndAlwaysOnTheScreen) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize wanted(800, 600);
    const QSize minimum(400, 300);
    const QRect main(100, 50, 400, 420);
    EXPECT_EQ(PlaceNear(main, wanted, minimum, screen), QRect(508, 50, 800, 600));
    EXPECT_EQ(PlaceNear(main.translated(1300, 0), wanted, minimum, screen),
              QRect(592, 50, 800, 600)); // to the left
    EXPECT_EQ(PlaceNear(QRect(760, 50, 400, 420), wanted, minimum, screen),
              QRect(1168, 0, 752, 1080)); // narrowed to the room on the right, whole height
    EXPECT_EQ(PlaceNear(QRect(486, 165, 394, 438), QSize(780, 640), QSize(424, 324),
                        QRect(0, 0, 1366, 768)),
              QRect(888, 0, 478, 768)); // 1366 x 768 with the main window in its middle
    EXPECT_EQ(PlaceNear(QRect(300, 50, 1400, 420), wanted, minimum, screen),
              QRect(300, 478, 800, 600)); // no room beside: below
    // 1024 x 768 with the main window in its middle: no side has room, so at
    // its minimum size in the corner that covers the least of it.
    EXPECT_EQ(PlaceNear(QRect(316, 178, 391, 411), QSize(780, 640), QSize(480, 360),
                        QRect(0, 0, 1024, 768)),
              QRect(544, 408, 480, 360));
    EXPECT_EQ(PlaceNear(main.translated(0, 850), wanted, minimum, screen),
              QRect(508, 480, 800, 600)); // moved up onto the screen
    EXPECT_EQ(PlaceNear(main, wanted, minimum, QRect()), QRect(508, 50, 800, 600));
}
