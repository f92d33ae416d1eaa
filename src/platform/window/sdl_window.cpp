#include "platform/window/sdl_window.h"

#include <algorithm>

#include "game/icon_picture.h"
#include "platform/window/x_resources.h"

namespace vantorix {

namespace {
int ceilDiv(int a, int b) { return (a + b - 1) / b; }
}  // namespace

SdlWindow::SdlWindow(const std::string& title, TextFonts& fonts) : fonts_(fonts) {
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               scale_, scale_,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    if (!window_) {
        error_ = SDL_GetError();
        return;
    }
    setIcon();
}

int SdlWindow::desktopScale() const { return xDesktopScale(window_); }

int SdlWindow::roomyScale() const {
    int width = 0, height = 0;
    return usableArea(width, height) ? fittingScale(width / 2, height / 2) : 1;
}

void SdlWindow::startWith(const WindowSettings& start) {
    askedScale_ = std::max(1, start.scale.value_or(1));
    openFullscreen_ = start.fullscreen;
    started_ = true;
    fitToScreen();
}

SdlWindow::~SdlWindow() {
    painter_.reset();
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

bool SdlWindow::fullscreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

// Drawn pixels per window unit: 1 on X11, where the scale is the window's own;
// 2 on a Wayland desktop at 200 %.
int SdlWindow::density() const {
    int windowWidth = 0, windowHeight = 0, drawnWidth = 0, drawnHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    SDL_GetWindowSizeInPixels(window_, &drawnWidth, &drawnHeight);
    return std::max(1, drawnWidth / std::max(1, windowWidth));
}

int SdlWindow::fittingScale(int width, int height) const {
    return std::max(1, std::min(width / fieldWidth_, height / fieldHeight_));
}

int SdlWindow::windowedScale() const {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return fittingScale(width * density(), height * density());
}

FieldPainter& SdlWindow::painter(int scale) {
    if (!painter_ || painter_->scale() != scale)
        painter_ = std::make_unique<FieldPainter>(fonts_, scale, flash_);
    return *painter_;
}

bool SdlWindow::usableArea(int& width, int& height) const {
    SDL_Rect screen;
    int index = std::max(0, SDL_GetWindowDisplayIndex(window_));
    if (SDL_GetDisplayUsableBounds(index, &screen) != 0) return false;
    width = screen.w * density();
    height = screen.h * density();
    return true;
}

void SdlWindow::setClientSize(int width, int height) {
    fieldWidth_ = std::max(1, width);
    fieldHeight_ = std::max(1, height);
    // The sizes a form passes through while it loads are not fitted one by
    // one: each fit asks the display several questions, and waits for each.
    if (started_) fitToScreen();
}

void SdlWindow::fitToScreen() {
    int perUnit = density();
    SDL_SetWindowMinimumSize(window_, ceilDiv(fieldWidth_, perUnit), ceilDiv(fieldHeight_, perUnit));
    // From the scale asked each time: a passing size larger than the field's
    // last must not lower it for good.
    scale_ = askedScale_;
    int width = 0, height = 0;
    if (usableArea(width, height)) scale_ = std::min(scale_, fittingScale(width, height));
    scaleBeforeFullscreen_ = scale_;
    SDL_SetWindowSize(window_, ceilDiv(fieldWidth_ * scale_, perUnit),
                      ceilDiv(fieldHeight_ * scale_, perUnit));
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void SdlWindow::show() {
    if (!started_) startWith(WindowSettings{});
    // Full screen only once sized: SDL keeps the size a window has when it goes
    // full screen to give back when it leaves.
    if (openFullscreen_) {
        openFullscreen_ = false;
        setFullscreen(true);
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    repaint();
}

void SdlWindow::hide() { SDL_HideWindow(window_); }

void SdlWindow::present(const Field& field) {
    lastField_ = &field;
    // The window's own pixels, drawn in place (SDL gives a new surface when the
    // window's size changes); only what changed is sent to the display.
    SDL_Surface* screen = SDL_GetWindowSurface(window_);
    if (!screen) {
        if (error_.empty()) error_ = SDL_GetError();
        return;
    }
    int width = screen->w, height = screen->h;
    int scale = fittingScale(width, height);
    SDL_Rect area{(width - fieldWidth_ * scale) / 2, (height - fieldHeight_ * scale) / 2,
                  fieldWidth_ * scale, fieldHeight_ * scale};
    FieldPainter& painter = this->painter(scale);
    bool whole = wholeAgain_ || screen != screen_ || width != screenWidth_ || height != screenHeight_ ||
                 area.x != area_.x || area.y != area_.y || area.w != area_.w || area.h != area_.h;
    if (whole) {
        // Black shows where the field does not reach: beside it in full screen,
        // or past a field smaller than the window.
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        painter.forget();
    }
    std::vector<SDL_Rect> changed = painter.draw(screen, area, field);
    if (paused_) painter.drawPaused(screen, area, field);
    screen_ = screen;
    screenWidth_ = width;
    screenHeight_ = height;
    area_ = area;
    wholeAgain_ = false;
    if (whole || paused_) {
        SDL_UpdateWindowSurface(window_);
    } else if (!changed.empty()) {
        SDL_UpdateWindowSurfaceRects(window_, changed.data(), static_cast<int>(changed.size()));
    } else {
        return;
    }
    ++frames_;
}

void SdlWindow::repaint() {
    wholeAgain_ = true;
    if (lastField_) present(*lastField_);
}

void SdlWindow::setFlash(Flash flash) {
    flash_ = flash;
    painter_.reset();
}

void SdlWindow::setPaused(bool paused) {
    paused_ = paused;
    repaint();
}

void SdlWindow::toggleFullscreen() {
    setFullscreen(!fullscreen());
    repaint();
}

void SdlWindow::setFullscreen(bool full) {
    if (full) scaleBeforeFullscreen_ = windowedScale();
    // Leaving full screen, SDL gives the window back the size it had before.
    SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_ShowCursor(full ? SDL_DISABLE : SDL_ENABLE);
}

WindowSettings SdlWindow::settings() const {
    WindowSettings now;
    now.fullscreen = fullscreen() || openFullscreen_;
    now.scale = now.fullscreen ? scaleBeforeFullscreen_ : windowedScale();
    return now;
}

}  // namespace vantorix
