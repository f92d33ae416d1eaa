#include "game/icon_picture.h"

#include <string_view>

namespace vantorix {

namespace {

// The standard 16-colour palette, indexed by the hex digits of the picture.
constexpr std::array<Rgb, 16> kPalette = {
    RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),   RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

// A cyan face on a blue square, crossed by the red letters VTX with a dark shadow.
// C blue, E cyan, 9 red, 1 dark red.
constexpr std::array<std::string_view, kIconSize> kPicture = {
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCEEEEEEEECCCCCCCCCCCC",
        "CCCCCCCCCCEEEEEEEEEEEECCCCCCCCCC",
        "CCCCCCCCEEECCCCCCCCCCEEECCCCCCCC",
        "CCCCCCCEEECCCCCCCCCCCCEEECCCCCCC",
        "CCCCCCEECCCCCCCCCCCCCCCCEECCCCCC",
        "CCCCCCEECCCCCCCCCCCCCCCCEECCCCCC",
        "CCCCCEECCCEECCCCCCCCEECCCEECCCCC",
        "CCCCEECCCCEECCCCCCCCEECCCCEECCCC",
        "CCCCEECCCCEECCCCCCCCEECCCCEECCCC",
        "CCCCECCCCCEECCCCCCCCEECCCCCECCCC",
        "CCCCECCCCCCCCCCCCCCCCCCCCCCECCCC",
        "CCCEECCCCCCCCCCCCCCCCCCCCCCEECCC",
        "CCCEECCCCCCCCCCCCCCCCCCCCCCEECCC",
        "CCCEECCCCCCCCCCCCCCCCCCCCCCEECCC",
        "CCCCECCCCCCCCCCCCCCCCCCCCCCECCCC",
        "CCCCECCCCCCCCCCCCCCCCCCCCCCECCCC",
        "CC99EECC99CC99999999CC99CCEE99CC",
        "CC991ECC991C999999991C991CEE991C",
        "CC991EEC991CC11991111CC99EE9911C",
        "CCC99CE9911CCCC991CCCCCC999911CC",
        "CCC991E991CCCCC991CCCCCC99991CCC",
        "CCCC999911CCCCC991CCCCE991199CCC",
        "CCCC99991EECCCC991CCCE9911CC99CC",
        "CCCCC9911CEEEEE991EEEE991CCC991C",
        "CCCCCC11CCCCEEEE11EECCC11CCCC11C",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
        "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
};

int paletteIndex(char digit) {
    return digit <= '9' ? digit - '0' : digit - 'A' + 10;
}

}  // namespace

std::array<Rgb, kIconSize * kIconSize> iconPixels() {
    std::array<Rgb, kIconSize * kIconSize> pixels{};
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x)
            pixels[y * kIconSize + x] = kPalette[paletteIndex(kPicture[y][x])];
    return pixels;
}

}  // namespace vantorix
