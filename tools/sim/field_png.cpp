#include "field_png.h"

#include <SDL.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/window/field_painter.h"
#include "platform/window/font_finder.h"
#include "platform/window/text_fonts.h"

namespace vantorix::sim {

namespace {

// libpng reports errors by longjmp: nothing with a destructor may live here.
bool encodePng(SDL_Surface* rgb, FILE* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb->w), static_cast<png_uint_32>(rgb->h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < rgb->h; ++y)
        png_write_row(png, static_cast<png_bytep>(rgb->pixels) + y * rgb->pitch);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool savePng(SDL_Surface* rgb, const std::string& file, std::string& whyNot) {
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
    if (!out) {
        whyNot = "cannot write " + file;
        return false;
    }
    if (encodePng(rgb, out.get())) return true;
    whyNot = "cannot encode " + file;
    return false;
}

}  // namespace

bool writeFieldPng(const Field& field, const std::string& file, std::string& whyNot) {
    auto files = findFontFiles(whyNot);
    if (!files) return false;
    TextFonts fonts(*files);
    if (!fonts.ok()) {
        whyNot = fonts.error();
        return false;
    }
    int w = static_cast<int>(std::lround(field.width()));
    int h = static_cast<int>(std::lround(field.height()));
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    if (!surface) {
        whyNot = SDL_GetError();
        return false;
    }
    FieldPainter(fonts, 1).draw(surface, SDL_Rect{0, 0, w, h}, field);
    bool ok = savePng(surface, file, whyNot);
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace vantorix::sim
