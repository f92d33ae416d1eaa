#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "desktop/values.h"
#include "platform/window/text_fonts.h"
#include "runtime/field.h"

namespace vantorix {

// Draws the field into the renderer's viewport: its background, then the visible labels back
// to front, each as its text alone, clipped to its box and to the field. Every
// length is multiplied by a whole-number scale, and text is rendered at the scaled
// size so it stays sharp. Rendered captions are kept until they change.
//
// The field is kept drawn on a canvas of the painter's own, and a frame paints
// again only where a label came, went, moved or changed: most frames move a
// figure or two, and painting the whole field each time was most of a frame's
// cost. What shows is the same as painting everything.
class FieldPainter {
public:
    // The High's white flash is drawn as `flash` says; the field's own colour is untouched.
    FieldPainter(SDL_Renderer* renderer, TextFonts& fonts, int scale, Flash flash = Flash::Full);
    ~FieldPainter();
    FieldPainter(const FieldPainter&) = delete;
    FieldPainter& operator=(const FieldPainter&) = delete;

    // Brings the canvas up to date with the field and copies it to the viewport.
    void draw(const Field& field);
    // Where draw() paints the field's colour, in the viewport.
    SDL_Rect fieldRect(const Field& field) const;
    // Over a drawn field: darkened, with "Paused" across it.
    void drawPaused(const Field& field);
    int scale() const { return scale_; }
    // The pixel size a text is set at in its label: the designed size, made
    // smaller only as far as needed for the text to fit the box on one line.
    int fittedPixelSize(const Label& label, const std::string& text);
    // The width in pixels of `text` in the label's font at `pixels`.
    int textWidth(const Label& label, const std::string& text, int pixels);

private:
    struct Rendered {
        std::string caption;
        FontDesc font;
        Rgb color;
        SDL_Texture* texture = nullptr;
        int width = 0, height = 0;
        std::uint64_t version = 0;  // a texture's address may come back for another text
    };
    // Where a label's text lands on the field, and which rendering of it.
    struct Shown {
        const Label* label = nullptr;
        SDL_Rect target{};   // the whole text
        SDL_Rect visible{};  // the part of it that shows: within its box and the field
        SDL_Texture* texture = nullptr;
        std::uint64_t version = 0;
        bool operator==(const Shown& other) const;
    };
    TTF_Font* font(const FontDesc& desc, int pixels);
    const Rendered& rendered(const Label& label);
    Rgb drawnBack(const Field& field);
    std::vector<Shown> shownLabels(const Field& field);
    std::vector<SDL_Rect> changedAreas(const std::vector<Shown>& now, Rgb back, const SDL_Rect& whole);
    void paint(const std::vector<Shown>& shown, Rgb back, const SDL_Rect& area);
    bool canvasFor(const SDL_Rect& whole);

    SDL_Renderer* renderer_;
    TextFonts& fonts_;
    int scale_;
    Flash flash_;
    Rgb usualBack_{};  // the field's last colour other than the flash's white
    bool usualSeen_ = false;
    std::map<const Label*, Rendered> cache_;
    std::uint64_t renderings_ = 0;
    SDL_Texture* canvas_ = nullptr;
    SDL_Rect canvasSize_{};
    bool canvasDrawn_ = false;
    std::vector<Shown> onCanvas_;
    Rgb canvasBack_{};
    SDL_Texture* paused_ = nullptr;
    int pausedWidth_ = 0, pausedHeight_ = 0;
};

}  // namespace vantorix
