// The desktop's density as a whole-number scale.
#include <gtest/gtest.h>

#include "desktop/desktop_scale.h"

namespace vantorix {
namespace {

TEST(DesktopScale, RoundsTheDpiToAWholeScale) {
    EXPECT_EQ(scaleForDpi(96), 1);
    EXPECT_EQ(scaleForDpi(120), 1);
    EXPECT_EQ(scaleForDpi(144), 2);
    EXPECT_EQ(scaleForDpi(192), 2);
    EXPECT_EQ(scaleForDpi(288), 3);
    EXPECT_EQ(scaleForDpi(0), 1);
    EXPECT_EQ(scaleForDpi(-50), 1);
    EXPECT_EQ(scaleForDpi(96000), 8);
}

}  // namespace
}  // namespace vantorix
