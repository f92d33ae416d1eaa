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

// Paints the field into an area of a screen surface: its background, then the
// visible labels back to front, each as its text alone, clipped to its box and
// to the field. Every length is multiplied by a whole-number scale, and text is
// rendered at the scaled size so it stays sharp. Rendered captions are kept
// until they change.
//
// The screen keeps what was painted on it, and a frame paints again only where
// a label came, went, moved or changed: most frames move a figure or two, and
// painting the whole field each time was most of a frame's cost.
class FieldPainter {
public:
    // The High's white flash is drawn as `flash` says; the field's own colour is untouched.
    FieldPainter(TextFonts& fonts, int scale, Flash flash = Flash::Full);
    ~FieldPainter();
    FieldPainter(const FieldPainter&) = delete;
    FieldPainter& operator=(const FieldPainter&) = delete;

    // Paints what changed since the last call at `area` of `screen`, within it,
    // and returns the rectangles of the screen that changed. A new screen, a
    // new area or forget() paint everything.
    std::vector<SDL_Rect> draw(SDL_Surface* screen, const SDL_Rect& area, const Field& field);
    // The next draw paints everything: something else painted over the screen.
    void forget() { drawn_ = false; }
    // Where draw() paints the field's colour, from the area's corner.
    SDL_Rect fieldRect(const Field& field) const;
    // Over a painted field: darkened, with "Paused" across it. Leaves the
    // screen to be painted anew.
    void drawPaused(SDL_Surface* screen, const SDL_Rect& area, const Field& field);
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
        SDL_Surface* text = nullptr;
        std::uint64_t version = 0;  // a surface's address may come back for another text
    };
    // Where a label's text lands on the screen, and which rendering of it.
    struct Shown {
        SDL_Rect target{};   // the whole text
        SDL_Rect visible{};  // the part of it that shows: within its box, the field and the area
        SDL_Surface* text = nullptr;
        std::uint64_t version = 0;
        bool operator==(const Shown& other) const;
    };
    TTF_Font* font(const FontDesc& desc, int pixels);
    const Rendered& rendered(const Label& label);
    Rgb drawnBack(const Field& field);
    std::vector<Shown> shownLabels(const Field& field, const SDL_Rect& area);
    std::vector<SDL_Rect> changedAreas(const std::vector<Shown>& now, Rgb back, const SDL_Rect& whole) const;
    void paint(SDL_Surface* screen, const std::vector<Shown>& shown, Rgb back, const SDL_Rect& rect);

    TextFonts& fonts_;
    int scale_;
    Flash flash_;
    Rgb usualBack_{};  // the field's last colour other than the flash's white
    bool usualSeen_ = false;
    std::map<const Label*, Rendered> cache_;
    std::uint64_t renderings_ = 0;
    SDL_Surface* paused_ = nullptr;
    SDL_Surface* shade_ = nullptr;
    // What the screen shows, as last painted.
    bool drawn_ = false;
    const SDL_Surface* screen_ = nullptr;
    SDL_Rect screenSize_{};
    SDL_Rect area_{};
    Rgb back_{};
    std::vector<Shown> onScreen_;
};

}  // namespace vantorix
