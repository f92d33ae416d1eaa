// Prints the window's 32 x 32 icon as a binary PPM, the reference the installed
// icons are compared against.

#include <cstdio>

#include "game/icon_picture.h"

int main() {
    const auto pixels = vantorix::iconPixels();
    std::printf("P6\n%d %d\n255\n", vantorix::kIconSize, vantorix::kIconSize);
    for (const auto& pixel : pixels) {
        std::putchar(pixel.r);
        std::putchar(pixel.g);
        std::putchar(pixel.b);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
