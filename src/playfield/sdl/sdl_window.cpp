#include "playfield/sdl/sdl_window.h"

#include <algorithm>

#include "playfield/icon_picture.h"

namespace vantorix {

SdlWindow::SdlWindow(const std::string& title, FontFiles fonts, int windowScale)
    : fonts_(std::move(fonts)), windowScale_(windowScale) {
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               windowScale, windowScale,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) {
        error_ = SDL_GetError();
        return;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        error_ = SDL_GetError();
        return;
    }
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

int SdlWindow::drawingScale() const {
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    return std::max(1, outputWidth / std::max(1, clientWidth_));
}

FieldPainter& SdlWindow::painter() {
    int scale = drawingScale();
    if (!painter_ || painter_->scale() != scale)
        painter_ = std::make_unique<FieldPainter>(renderer_, fonts_, scale);
    return *painter_;
}

void SdlWindow::setClientSize(int width, int height) {
    clientWidth_ = std::max(1, width);
    SDL_SetWindowSize(window_, width * windowScale_, height * windowScale_);
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
    painter().draw(field);
    SDL_RenderPresent(renderer_);
}

void SdlWindow::repaint() {
    if (lastField_) present(*lastField_);
}

}  // namespace vantorix
