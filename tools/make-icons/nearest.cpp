#include "nearest.h"

namespace icons {

std::vector<vantorix::Rgb> scaledIcon(int size) {
    using vantorix::kIconSize;
    const auto source = vantorix::iconPixels();
    // The source pixel under the centre of target pixel i, at (i + 1/2) * 32 / size.
    // A centre exactly on a border between two source pixels takes the upper or
    // left one, as ImageMagick's -sample does, so the halved icon keeps the even
    // rows and columns.
    auto from = [size](int i) { return ((2 * i + 1) * kIconSize - 1) / (2 * size); };
    std::vector<vantorix::Rgb> pixels(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels[static_cast<std::size_t>(y) * size + x] = source[from(y) * kIconSize + from(x)];
    return pixels;
}

}  // namespace icons
