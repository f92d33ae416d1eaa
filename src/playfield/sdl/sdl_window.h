#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "playfield/sdl/field_painter.h"
#include "playfield/window_host.h"

namespace vantorix {

// The game's desktop window: fixed size, centred, not resizable, drawn with the
// software renderer (plenty at this size, and it keeps OpenGL out of memory).
class SdlWindow : public WindowHost {
public:
    // Needs SDL's video subsystem; on failure, `ok()` is false and `error()` says why.
    SdlWindow(const std::string& title, FontFiles fonts, int scale);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool ok() const { return window_ && renderer_; }
    const std::string& error() const { return error_; }
    Uint32 windowId() const { return SDL_GetWindowID(window_); }

    void setClientSize(int width, int height) override;
    void show() override;
    void hide() override;
    void present(const Field& field) override;
    // Draws the last presented field again, as after the window was uncovered.
    void repaint();

private:
    void setIcon();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<FieldPainter> painter_;
    const Field* lastField_ = nullptr;
    int scale_;
    std::string error_;
};

}  // namespace vantorix
