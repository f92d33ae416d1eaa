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

}  // namespace

FieldPainter::FieldPainter(SDL_Renderer* renderer, TextFonts& fonts, int scale, Flash flash)
    : renderer_(renderer), fonts_(fonts), scale_(scale), flash_(flash) {}

FieldPainter::~FieldPainter() {
    for (auto& [label, r] : cache_) SDL_DestroyTexture(r.texture);
    SDL_DestroyTexture(paused_);
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
    r.width = surface->w;
    r.height = surface->h;
    SDL_FreeSurface(surface);
    return r;
}

SDL_Rect FieldPainter::fieldRect(const Field& field) const {
    return scaled(0, 0, field.width(), field.height(), scale_);
}

void FieldPainter::draw(const Field& field) {
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_Rect fieldRect = this->fieldRect(field);
    Rgb back = field.backColor();
    if (back == kFlashWhite && usualSeen_) {
        back = flashDrawnAs(flash_, back, usualBack_);
    } else if (back != kFlashWhite) {
        usualBack_ = back;
        usualSeen_ = true;
    }
    SDL_SetRenderDrawColor(renderer_, back.r, back.g, back.b, 255);
    SDL_RenderFillRect(renderer_, &fieldRect);

    const auto& order = field.stackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Label& label = **it;
        if (!label.visible() || label.caption().empty()) continue;
        SDL_Rect box = scaled(label.left(), label.top(), label.width(), label.height(), scale_);
        SDL_Rect clip;
        if (!SDL_IntersectRect(&box, &fieldRect, &clip)) continue;
        const Rendered& r = rendered(label);
        if (!r.texture) continue;
        int x = box.x;
        if (label.alignment() == Alignment::Center) x = box.x + (box.w - r.width) / 2;
        if (label.alignment() == Alignment::Right) x = box.x + box.w - r.width;
        SDL_Rect target{x, box.y, r.width, r.height};
        SDL_RenderSetClipRect(renderer_, &clip);
        SDL_RenderCopy(renderer_, r.texture, nullptr, &target);
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
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
