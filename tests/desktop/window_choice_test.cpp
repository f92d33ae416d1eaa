#include <gtest/gtest.h>

#include "desktop/window_choice.h"

namespace vantorix {
namespace {

TEST(WindowChoice, WithNothingAskedTheWindowTakesTheRoomierOfHalfTheScreenAndTheDesktopScale) {
    Options none;
    EXPECT_EQ(startingWindow(none, WindowSettings{}, 1, 3).scale, 3);
    EXPECT_EQ(startingWindow(none, WindowSettings{}, 2, 1).scale, 2) << "never below the desktop's scale";
    WindowSettings remembered{1, false};
    EXPECT_EQ(startingWindow(none, remembered, 1, 3).scale, 1) << "what the player left wins";
}

}  // namespace
}  // namespace vantorix
