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

TEST(DesktopScale, ReadsXftDpiFromTheResources) {
    EXPECT_EQ(scaleFromXResources("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 2);
    EXPECT_EQ(scaleFromXResources("Xft.dpi: 96"), 1);
    EXPECT_EQ(scaleFromXResources("Xft.dpi :288\n"), 3);
    EXPECT_EQ(scaleFromXResources("Xcursor.size:\t48\n"), 1);
    EXPECT_EQ(scaleFromXResources("Xft.dpi:\tlarge\n"), 1);
    EXPECT_EQ(scaleFromXResources("*.dpi:\t192\n"), 1) << "only the Xft resource counts";
    EXPECT_EQ(scaleFromXResources(""), 1);
}

}  // namespace
}  // namespace vantorix
