// The desktop's density read from an X resource string, as Xft reads it.
#include <gtest/gtest.h>

#include "platform/window/x_resources.h"

namespace vantorix {
namespace {

TEST(XResources, ReadsXftDpi) {
    EXPECT_EQ(scaleFromXResources("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 2);
    EXPECT_EQ(scaleFromXResources("Xft.dpi: 96"), 1);
    EXPECT_EQ(scaleFromXResources("Xft.dpi :288\n"), 3);
    EXPECT_EQ(scaleFromXResources("Xcursor.size:\t48\n"), 1);
    EXPECT_EQ(scaleFromXResources("Xft.dpi:\tlarge\n"), 1);
    // Xft looks the resource up through Xlib too, so a loose binding reaches it.
    EXPECT_EQ(scaleFromXResources("*.dpi:\t192\n"), 2);
    EXPECT_EQ(scaleFromXResources("*dpi:\t96\nXft.dpi:\t288\n"), 3) << "the tighter binding wins";
    EXPECT_EQ(scaleFromXResources("Emacs.dpi:\t192\n"), 1) << "another program's resource";
    EXPECT_EQ(scaleFromXResources(""), 1);
}

}  // namespace
}  // namespace vantorix
