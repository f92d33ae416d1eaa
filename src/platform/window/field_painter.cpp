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
// Past this many separate rectangles, one around them all costs less than their fills.
constexpr std::size_t kMostRects = 8;

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

}  // namespace

FieldPainter::FieldPainter(TextFonts& fonts, int scale, Flash flash)
    : fonts_(fonts), scale_(scale), flash_(flash) {}

FieldPainter::~FieldPainter() {
    for (auto& [label, r] : cache_) SDL_FreeSurface(r.text);
    SDL_FreeSurface(paused_);
    SDL_FreeSurface(shade_);
}

bool FieldPainter::Shown::operator==(const Shown& other) const {
    return sameRect(target, other.target) && sameRect(visible, other.visible) && text == other.text &&
           version == other.version;
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
    if (r.text && r.caption == label.caption() && r.font == label.font() && r.color == label.foreColor())
        return r;
    SDL_FreeSurface(r.text);
    r = Rendered{label.caption(), label.font(), label.foreColor()};
    std::string text = shownText(label);
    if (text.empty()) return r;
    TTF_Font* f = font(label.font(), fittedPixelSize(label, text));
    if (!f) return r;
    SDL_Color color{label.foreColor().r, label.foreColor().g, label.foreColor().b, 255};
    r.text = fonts_.ttf().TTF_RenderUTF8_Blended(f, text.c_str(), color);
    r.version = ++renderings_;
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

std::vector<FieldPainter::Shown> FieldPainter::shownLabels(const Field& field, const SDL_Rect& area) {
    SDL_Rect whole = fieldRect(field);
    whole.x = area.x;
    whole.y = area.y;
    SDL_IntersectRect(&whole, &area, &whole);
    std::vector<Shown> shown;
    const auto& order = field.stackingOrder();
    shown.reserve(order.size());
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Label& label = **it;
        Shown s;
        SDL_Rect box = scaled(label.left(), label.top(), label.width(), label.height(), scale_);
        box.x += area.x;
        box.y += area.y;
        SDL_Rect clip;
        if (label.visible() && !label.caption().empty() && SDL_IntersectRect(&box, &whole, &clip)) {
            const Rendered& r = rendered(label);
            if (r.text) {
                int x = box.x;
                if (label.alignment() == Alignment::Center) x = box.x + (box.w - r.text->w) / 2;
                if (label.alignment() == Alignment::Right) x = box.x + box.w - r.text->w;
                s.target = SDL_Rect{x, box.y, r.text->w, r.text->h};
                if (SDL_IntersectRect(&s.target, &clip, &s.visible)) {
                    s.text = r.text;
                    s.version = r.version;
                }
            }
        }
        if (!s.text) s = Shown{};
        shown.push_back(s);
    }
    return shown;
}

// Where the screen differs from what is to show: where each changed label was
// and is. A label brought forward moves the ones behind it along, and each of
// them is painted again.
std::vector<SDL_Rect> FieldPainter::changedAreas(const std::vector<Shown>& now, Rgb back,
                                                 const SDL_Rect& whole) const {
    if (!drawn_ || back != back_ || now.size() != onScreen_.size()) return {whole};
    std::vector<SDL_Rect> rects;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] == onScreen_[i]) continue;
        for (const SDL_Rect& r : {onScreen_[i].visible, now[i].visible})
            if (!SDL_RectEmpty(&r)) rects.push_back(r);
    }
    if (rects.size() > kMostRects) {
        SDL_Rect around = rects.front();
        for (const SDL_Rect& r : rects) SDL_UnionRect(&around, &r, &around);
        rects = {around};
    }
    return rects;
}

void FieldPainter::paint(SDL_Surface* screen, const std::vector<Shown>& shown, Rgb back,
                         const SDL_Rect& rect) {
    SDL_SetClipRect(screen, nullptr);
    SDL_Rect fill = rect;
    SDL_FillRect(screen, &fill, SDL_MapRGB(screen->format, back.r, back.g, back.b));
    for (const Shown& s : shown) {
        SDL_Rect clip;
        if (!s.text || !SDL_IntersectRect(&s.visible, &rect, &clip)) continue;
        SDL_SetClipRect(screen, &clip);
        SDL_Rect target = s.target;  // the blit writes back what it drew
        SDL_BlitSurface(s.text, nullptr, screen, &target);
    }
    SDL_SetClipRect(screen, nullptr);
}

std::vector<SDL_Rect> FieldPainter::draw(SDL_Surface* screen, const SDL_Rect& area, const Field& field) {
    SDL_Rect size{0, 0, screen->w, screen->h};
    if (screen != screen_ || !sameRect(size, screenSize_) || !sameRect(area, area_)) drawn_ = false;
    SDL_Rect whole = fieldRect(field);
    whole.x = area.x;
    whole.y = area.y;
    if (!SDL_IntersectRect(&whole, &area, &whole)) return {};
    Rgb back = drawnBack(field);
    std::vector<Shown> shown = shownLabels(field, area);
    std::vector<SDL_Rect> rects = changedAreas(shown, back, whole);
    for (const SDL_Rect& rect : rects) paint(screen, shown, back, rect);
    drawn_ = true;
    screen_ = screen;
    screenSize_ = size;
    area_ = area;
    back_ = back;
    onScreen_ = std::move(shown);
    return rects;
}

void FieldPainter::drawPaused(SDL_Surface* screen, const SDL_Rect& area, const Field& field) {
    SDL_Rect whole = fieldRect(field);
    if (!shade_ || shade_->w != whole.w || shade_->h != whole.h) {
        SDL_FreeSurface(shade_);
        shade_ = SDL_CreateRGBSurfaceWithFormat(0, whole.w, whole.h, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!shade_) return;
        SDL_FillRect(shade_, nullptr, SDL_MapRGBA(shade_->format, 0, 0, 0, kPausedShade));
        SDL_SetSurfaceBlendMode(shade_, SDL_BLENDMODE_BLEND);
    }
    if (!paused_) {
        TTF_Font* f = fonts_.at(false, kPausedPixels * scale_, TTF_STYLE_BOLD);
        paused_ = f ? fonts_.ttf().TTF_RenderUTF8_Blended(f, "Paused", SDL_Color{255, 255, 255, 255}) : nullptr;
        if (!paused_) return;
    }
    SDL_SetClipRect(screen, &area);
    SDL_Rect shaded{area.x, area.y, whole.w, whole.h};
    SDL_BlitSurface(shade_, nullptr, screen, &shaded);
    SDL_Rect word{area.x + (whole.w - paused_->w) / 2, area.y + (whole.h - paused_->h) / 2, paused_->w, paused_->h};
    SDL_BlitSurface(paused_, nullptr, screen, &word);
    SDL_SetClipRect(screen, nullptr);
    forget();
}

}  // namespace vantorix
