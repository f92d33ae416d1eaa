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
// On a high-density desktop everything is drawn at a whole-number scale: on X11
// the window itself is made `windowScale` times larger; on Wayland SDL hands us a
// larger drawable. Text is rendered at the scaled size, so it stays sharp.
class SdlWindow : public WindowHost {
public:
    // Needs SDL's video subsystem; on failure, `ok()` is false and `error()` says why.
    SdlWindow(const std::string& title, FontFiles fonts, int windowScale);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool ok() const { return window_ && renderer_; }
    const std::string& error() const { return error_; }

    void setClientSize(int width, int height) override;
    void show() override;
    void hide() override;
    void present(const Field& field) override;
    // Draws the last presented field again, as after the window was uncovered.
    void repaint();
    // How many drawn pixels a field pixel takes.
    int drawingScale() const;

private:
    void setIcon();
    FieldPainter& painter();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    FontFiles fonts_;
    std::unique_ptr<FieldPainter> painter_;
    const Field* lastField_ = nullptr;
    int windowScale_;
    int clientWidth_ = 1;
    std::string error_;
};

}  // namespace vantorix
