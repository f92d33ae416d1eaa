#include "platform/window/field_painter.h"

#include <algorithm>
#include <cmath>

#include "game/form_vtx.h"
#include "game/symbol_glyphs.h"
#include "platform/window/flash_colour.h"

namespace vantorix {

namespace {

constexpr int kSmallestPixels = 6;
// The pause's word: the text face, large enough to read across the room.
constexpr int kPausedPixels = 28;
constexpr std::uint8_t kPausedShade = 160;

SDL_Rect scaled(float left, float top, float width, float height, int scale) {
    return SDL_Rect{static_cast<int>(std::lround(left)) * scale,
                    static_cast<int>(std::lround(top)) * scale,
                    static_cast<int>(std::lround(width)) * scale,
                    static_cast<int>(std::lround(height)) * scale};
}

std::string shownText(const Label& label) {
    return label.font().isSymbol() ? symbolText(label.caption()) : label.caption();
}

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// Past this many separate areas, one around them all costs less than their fills.
constexpr std::size_t kMostAreas = 8;

}  // namespace

FieldPainter::FieldPainter(SDL_Renderer* renderer, TextFonts& fonts, int scale, Flash flash)
    : renderer_(renderer), fonts_(fonts), scale_(scale), flash_(flash) {}

FieldPainter::~FieldPainter() {
    for (auto& [label, r] : cache_) SDL_DestroyTexture(r.texture);
    SDL_DestroyTexture(paused_);
    SDL_DestroyTexture(canvas_);
}

bool FieldPainter::Shown::operator==(const Shown& other) const {
    return label == other.label && sameRect(target, other.target) &&
           sameRect(visible, other.visible) && texture == other.texture && version == other.version;
}

TTF_Font* FieldPainter::font(const FontDesc& desc, int pixels) {
    int style = (desc.bold ? TTF_STYLE_BOLD : 0) | (desc.italic ? TTF_STYLE_ITALIC : 0);
    return fonts_.at(desc.isSymbol(), pixels, style);
}

int FieldPainter::textWidth(const Label& label, const std::string& text, int pixels) {
    TTF_Font* f = font(label.font(), pixels);
    int w = 0, h = 0;
    if (!f || text.empty() || fonts_.ttf().TTF_SizeUTF8(f, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

int FieldPainter::fittedPixelSize(const Label& label, const std::string& text) {
    int pixels = label.font().pixelSize() * scale_;
    if (label.font().isSymbol()) return pixels;
    int box = static_cast<int>(std::lround(label.width())) * scale_;
    while (pixels > kSmallestPixels * scale_ && textWidth(label, text, pixels) > box) --pixels;
    return pixels;
}

const FieldPainter::Rendered& FieldPainter::rendered(const Label& label) {
    Rendered& r = cache_[&label];
    if (r.texture && r.caption == label.caption() && r.font == label.font() &&
        r.color == label.foreColor())
        return r;
    SDL_DestroyTexture(r.texture);
    r = Rendered{label.caption(), label.font(), label.foreColor()};
    std::string text = shownText(label);
    if (text.empty()) return r;
    TTF_Font* f = font(label.font(), fittedPixelSize(label, text));
    if (!f) return r;
    SDL_Color color{label.foreColor().r, label.foreColor().g, label.foreColor().b, 255};
    SDL_Surface* surface = fonts_.ttf().TTF_RenderUTF8_Blended(f, text.c_str(), color);
    if (!surface) return r;
    r.texture = SDL_CreateTextureFromSurface(renderer_, surface);
    r.version = ++renderings_;
    r.width = surface->w;
    r.height = surface->h;
    SDL_FreeSurface(surface);
    return r;
}

SDL_Rect FieldPainter::fieldRect(const Field& field) const {
    return scaled(0, 0, field.width(), field.height(), scale_);
}

Rgb FieldPainter::drawnBack(const Field& field) {
    Rgb back = field.backColor();
    if (back == kFlashWhite && usualSeen_) return flashDrawnAs(flash_, back, usualBack_);
    if (back != kFlashWhite) {
        usualBack_ = back;
        usualSeen_ = true;
    }
    return back;
}

std::vector<FieldPainter::Shown> FieldPainter::shownLabels(const Field& field) {
    SDL_Rect whole = fieldRect(field);
    std::vector<Shown> shown;
    const auto& order = field.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Label& label = **it;
        Shown s{&label};
        SDL_Rect box = scaled(label.left(), label.top(), label.width(), label.height(), scale_);
        SDL_Rect clip;
        if (label.visible() && !label.caption().empty() && SDL_IntersectRect(&box, &whole, &clip)) {
            const Rendered& r = rendered(label);
            int x = box.x;
            if (label.alignment() == Alignment::Center) x = box.x + (box.w - r.width) / 2;
            if (label.alignment() == Alignment::Right) x = box.x + box.w - r.width;
            s.target = SDL_Rect{x, box.y, r.width, r.height};
            if (r.texture && SDL_IntersectRect(&s.target, &clip, &s.visible)) {
                s.texture = r.texture;
                s.version = r.version;
            }
        }
        if (!s.texture) s.target = s.visible = SDL_Rect{};
        shown.push_back(s);
    }
    return shown;
}

// Where the canvas differs from what is to show: where each changed label was and is.
std::vector<SDL_Rect> FieldPainter::changedAreas(const std::vector<Shown>& now, Rgb back,
                                                 const SDL_Rect& whole) {
    if (!canvasDrawn_ || back != canvasBack_ || now.size() != onCanvas_.size()) return {whole};
    std::vector<SDL_Rect> areas;
    for (std::size_t i = 0; i < now.size(); ++i) {
        // A label brought forward moves the ones behind it along: each is painted again.
        if (now[i] == onCanvas_[i]) continue;
        for (const SDL_Rect& r : {onCanvas_[i].visible, now[i].visible})
            if (!SDL_RectEmpty(&r)) areas.push_back(r);
    }
    if (areas.size() > kMostAreas) {
        SDL_Rect around = areas.front();
        for (const SDL_Rect& r : areas) SDL_UnionRect(&around, &r, &around);
        areas = {around};
    }
    return areas;
}

void FieldPainter::paint(const std::vector<Shown>& shown, Rgb back, const SDL_Rect& area) {
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, back.r, back.g, back.b, 255);
    SDL_RenderFillRect(renderer_, &area);
    for (const Shown& s : shown) {
        SDL_Rect clip;
        if (!s.texture || !SDL_IntersectRect(&s.visible, &area, &clip)) continue;
        SDL_RenderSetClipRect(renderer_, &clip);
        SDL_RenderCopy(renderer_, s.texture, nullptr, &s.target);
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
}

bool FieldPainter::canvasFor(const SDL_Rect& whole) {
    if (canvas_ && sameRect(whole, canvasSize_)) return true;
    SDL_DestroyTexture(canvas_);
    canvasDrawn_ = false;
    canvasSize_ = whole;
    // Opaque, so that showing it is a copy, not a blend.
    canvas_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                whole.w, whole.h);
    return canvas_ && SDL_SetTextureBlendMode(canvas_, SDL_BLENDMODE_NONE) == 0;
}

void FieldPainter::draw(const Field& field) {
    SDL_Rect whole = fieldRect(field);
    Rgb back = drawnBack(field);
    std::vector<Shown> shown = shownLabels(field);
    if (whole.w <= 0 || whole.h <= 0) return;
    // Without a canvas of its own (a renderer that has none to give), the whole
    // field each frame, straight into the viewport.
    if (!canvasFor(whole) || SDL_SetRenderTarget(renderer_, canvas_) != 0) {
        paint(shown, back, whole);
        return;
    }
    for (const SDL_Rect& area : changedAreas(shown, back, whole)) paint(shown, back, area);
    // Back to the window; SDL gives back its viewport.
    SDL_SetRenderTarget(renderer_, nullptr);
    canvasDrawn_ = true;
    canvasBack_ = back;
    onCanvas_ = std::move(shown);
    SDL_RenderCopy(renderer_, canvas_, nullptr, &whole);
}

void FieldPainter::drawPaused(const Field& field) {
    SDL_Rect fieldRect = this->fieldRect(field);
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, kPausedShade);
    SDL_RenderFillRect(renderer_, &fieldRect);
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    if (!paused_) {
        TTF_Font* f = fonts_.at(false, kPausedPixels * scale_, TTF_STYLE_BOLD);
        SDL_Surface* surface = f ? fonts_.ttf().TTF_RenderUTF8_Blended(f, "Paused", SDL_Color{255, 255, 255, 255})
                                 : nullptr;
        if (!surface) return;
        paused_ = SDL_CreateTextureFromSurface(renderer_, surface);
        pausedWidth_ = surface->w;
        pausedHeight_ = surface->h;
        SDL_FreeSurface(surface);
    }
    SDL_Rect target{(fieldRect.w - pausedWidth_) / 2, (fieldRect.h - pausedHeight_) / 2, pausedWidth_,
                    pausedHeight_};
    SDL_RenderCopy(renderer_, paused_, nullptr, &target);
}

}  // namespace vantorix
