#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/settings.h"
#include "platform/window/field_painter.h"
#include "runtime/window_host.h"

namespace vantorix {

// The game's desktop window, drawn into its own pixels by SDL's blits (plenty
// at this size, and it keeps OpenGL out of memory). The player may resize it or make it
// full screen: the field is always drawn at the largest whole-number scale that
// fits, centred, with black around it, and its text is rendered at that size so
// it stays sharp. `scale` is how many pixels a field pixel takes in a window; on
// Wayland, SDL hands a high-density desktop a larger drawable of its own.
class SdlWindow : public WindowHost {
public:
    // Needs SDL's video subsystem; on failure, `ok()` is false and `error()` says why.
    // The fonts must outlive the window.
    SdlWindow(const std::string& title, TextFonts& fonts);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool ok() const { return window_ != nullptr; }
    SDL_Window* sdlWindow() const { return window_; }
    // How many frames it has drawn.
    std::uint64_t frames() const { return frames_; }
    const std::string& error() const { return error_; }
    // The scale the desktop asks for (2 at 192 dpi).
    int desktopScale() const;
    // The largest scale at which the field takes up at most half the screen's
    // usable width and half its height; 1 when even that is too much.
    int roomyScale() const;
    // How the window opens. Its scale is cut down to what the screen's usable
    // area holds, for each size the field is given, never for good. Until
    // then, or until it is shown, sizes given are kept but not yet fitted.
    void startWith(const WindowSettings& start);

    void setClientSize(int width, int height) override;
    void show() override;
    void hide() override;
    void present(const Field& field) override;
    // Draws the last presented field again, as after the window was uncovered or resized.
    void repaint();
    void toggleFullscreen();
    // How a High's flash is drawn from now on.
    void setFlash(Flash flash);
    // While paused, the field is shown darkened with the word "Paused" over it.
    void setPaused(bool paused);
    // The window as it stands, to be remembered: the scale it has (or had, before
    // going full screen) as a window, and whether it is full screen.
    WindowSettings settings() const;

private:
    void setIcon();
    bool fullscreen() const;
    void setFullscreen(bool full);
    int density() const;
    // The largest whole-number scale at which the field fits `width` x `height` pixels.
    int fittingScale(int width, int height) const;
    int windowedScale() const;
    // The screen's usable area in drawn pixels; false when SDL cannot tell.
    bool usableArea(int& width, int& height) const;
    // Sizes and centres the window for the field at the scale asked, or at
    // what the screen holds of it.
    void fitToScreen();
    FieldPainter& painter(int scale);

    SDL_Window* window_ = nullptr;
    TextFonts& fonts_;
    std::unique_ptr<FieldPainter> painter_;
    const Field* lastField_ = nullptr;
    // The surface and the field's place on it as last drawn; anything new is drawn whole.
    const SDL_Surface* screen_ = nullptr;
    int screenWidth_ = 0, screenHeight_ = 0;
    SDL_Rect area_{};
    bool wholeAgain_ = true;
    std::uint64_t frames_ = 0;
    int scale_ = 1;
    int askedScale_ = 1;
    int fieldWidth_ = 1;
    int fieldHeight_ = 1;
    // The scale the window had before it went full screen, to remember it by.
    int scaleBeforeFullscreen_ = 1;
    bool openFullscreen_ = false;
    bool started_ = false;
    Flash flash_ = Flash::Full;
    bool paused_ = false;
    std::string error_;
};

}  // namespace vantorix
