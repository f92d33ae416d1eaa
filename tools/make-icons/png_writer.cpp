#include "png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace icons {

bool writePng(const std::filesystem::path& file, int size, const std::vector<vantorix::Rgb>& pixels,
              std::string& whyNot) {
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
    if (!out) {
        whyNot = "cannot write " + file.string();
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        whyNot = "cannot encode " + file.string();
        return false;
    }
    png_init_io(png, out.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Rgb is three bytes, so a row of pixels is already a PNG row.
    static_assert(sizeof(vantorix::Rgb) == 3);
    for (int y = 0; y < size; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(pixels.data() + static_cast<std::size_t>(y) * size));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    // A full disk shows only when the buffered bytes go out.
    if (std::fflush(out.get()) != 0) {
        whyNot = "cannot write " + file.string();
        return false;
    }
    return true;
}

}  // namespace icons
