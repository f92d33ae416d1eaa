#include "platform/window/text_fonts.h"

namespace vantorix {

namespace {

// The size a font opens at; each use sets its own.
constexpr int kOpeningPixels = 16;

}  // namespace

TextFonts::TextFonts(const FontFiles& files) {
    const TtfLibrary* ttf = openedOnce<TtfLibrary>("libSDL2_ttf-2.0.so.0", error_);
    if (!ttf) {
        error_ = "cannot start the font renderer: " + error_;
        return;
    }
    if (ttf->TTF_Init() != 0) {
        error_ = std::string("cannot start the font renderer: ") + SDL_GetError();
        return;
    }
    ttf_ = ttf;
    text_ = open(files.text);
    symbol_ = open(files.symbol);
}

TextFonts::Face TextFonts::open(const std::string& file) {
    Face face{ttf_->TTF_OpenFont(file.c_str(), kOpeningPixels), kOpeningPixels};
    if (!face.font && error_.empty()) error_ = "cannot open the font " + file + ": " + SDL_GetError();
    return face;
}

TextFonts::~TextFonts() {
    if (!ttf_) return;
    for (Face* face : {&text_, &symbol_})
        if (face->font) ttf_->TTF_CloseFont(face->font);
    ttf_->TTF_Quit();
}

TTF_Font* TextFonts::at(bool symbol, int pixels, int style) {
    Face& face = symbol ? symbol_ : text_;
    if (!face.font) return nullptr;
    if (face.pixels != pixels && ttf_->TTF_SetFontSize(face.font, pixels) == 0) face.pixels = pixels;
    if (face.style != style) ttf_->TTF_SetFontStyle(face.font, face.style = style);
    return face.pixels == pixels ? face.font : nullptr;
}

}  // namespace vantorix
