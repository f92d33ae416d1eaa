#pragma once

#include <SDL_ttf.h>

#include <string>

#include "platform/dynamic_library.h"
#include "platform/window/font_finder.h"

// SDL_ttf's calls, found at run time: it and what it brings (FreeType,
// HarfBuzz, GLib...) are mapped where the fonts are opened, on the thread that
// prepares them while SDL sets up the display, not before main.
#define VANTORIX_TTF_CALLS(X) \
    X(TTF_Init)               \
    X(TTF_Quit)               \
    X(TTF_OpenFont)           \
    X(TTF_CloseFont)          \
    X(TTF_SetFontSize)        \
    X(TTF_SetFontStyle)       \
    X(TTF_SizeUTF8)           \
    X(TTF_RenderUTF8_Blended)

namespace vantorix {

struct TtfLibrary {
    VANTORIX_LIBRARY_CALLS(VANTORIX_TTF_CALLS)
};

// The text font and the symbol font, each file opened once and set to the size
// and style of each use: every size opened on its own would load the font's
// tables once more.
class TextFonts {
public:
    // Opens SDL_ttf and both files; on failure `ok()` is false and `error()` says why.
    explicit TextFonts(const FontFiles& files);
    ~TextFonts();
    TextFonts(const TextFonts&) = delete;
    TextFonts& operator=(const TextFonts&) = delete;

    bool ok() const { return ttf_ && text_.font && symbol_.font; }
    const std::string& error() const { return error_; }
    const TtfLibrary& ttf() const { return *ttf_; }
    // The font set to `pixels` (an em, at SDL_ttf's 72 dpi) and a TTF_STYLE_ mask;
    // null when it cannot take that size.
    TTF_Font* at(bool symbol, int pixels, int style);

private:
    struct Face {
        TTF_Font* font = nullptr;
        int pixels = 0;
        int style = TTF_STYLE_NORMAL;
    };
    Face open(const std::string& file);

    const TtfLibrary* ttf_ = nullptr;
    Face text_;
    Face symbol_;
    std::string error_;
};

}  // namespace vantorix
