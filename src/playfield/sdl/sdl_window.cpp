#include "playfield/sdl/sdl_window.h"

#include "playfield/icon_picture.h"

namespace vantorix {

SdlWindow::SdlWindow(const std::string& title, FontFiles fonts, int scale) : scale_(scale) {
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               scale, scale, SDL_WINDOW_HIDDEN);
    if (!window_) {
        error_ = SDL_GetError();
        return;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        error_ = SDL_GetError();
        return;
    }
    painter_ = std::make_unique<FieldPainter>(renderer_, std::move(fonts), scale_);
    setIcon();
}

SdlWindow::~SdlWindow() {
    painter_.reset();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

void SdlWindow::setIcon() {
    auto pixels = iconPixels();
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, kIconSize, kIconSize, 32, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    auto* out = static_cast<Uint32*>(icon->pixels);
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) {
            Rgb c = pixels[y * kIconSize + x];
            out[y * icon->pitch / 4 + x] = SDL_MapRGBA(icon->format, c.r, c.g, c.b, 255);
        }
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlWindow::setClientSize(int width, int height) {
    SDL_SetWindowSize(window_, width * scale_, height * scale_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void SdlWindow::show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    repaint();
}

void SdlWindow::hide() { SDL_HideWindow(window_); }

void SdlWindow::present(const Field& field) {
    lastField_ = &field;
    painter_->draw(field);
    SDL_RenderPresent(renderer_);
}

void SdlWindow::repaint() {
    if (lastField_) present(*lastField_);
}

}  // namespace vantorix
