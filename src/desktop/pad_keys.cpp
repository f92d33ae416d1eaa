#include "desktop/pad_keys.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "runtime/key_codes.h"

namespace vantorix {

namespace {

constexpr int kStickControl = -1;

std::int16_t keyOf(PadButton button) {
    switch (button) {
        case PadButton::South:
        case PadButton::Start: return vbKeyZ;
        case PadButton::East: return vbKeyX;
        case PadButton::DpadUp: return vbKeyUp;
        case PadButton::DpadDown: return vbKeyDown;
    }
    return 0;
}

bool isDirection(std::int16_t key) { return key == vbKeyUp || key == vbKeyDown; }

InputEvent keyEvent(InputEvent::Kind kind, std::int16_t key) {
    InputEvent event;
    event.kind = kind;
    event.keyCode = key;
    return event;
}

}  // namespace

void PadKeys::button(int pad, PadButton button, bool down, std::int64_t nowMs) {
    Holder holder{pad, static_cast<int>(button)};
    if (down)
        hold(keyOf(button), holder, nowMs);
    else
        letGo(keyOf(button), holder);
}

void PadKeys::stickY(int pad, int value, std::int64_t nowMs) {
    auto held = stickKey_.find(pad);
    std::int16_t was = held == stickKey_.end() ? 0 : held->second;
    std::int16_t now = was;
    if (value <= -kStickPush) now = vbKeyUp;
    if (value >= kStickPush) now = vbKeyDown;
    if (std::abs(value) < kStickRest) now = 0;
    if (now == was) return;
    Holder holder{pad, kStickControl};
    if (was) letGo(was, holder);
    if (now) hold(now, holder, nowMs);
    stickKey_[pad] = now;
}

void PadKeys::unplug(int pad) {
    stickKey_.erase(pad);
    // Collected first: letting go changes the map being walked.
    std::vector<std::pair<std::int16_t, Holder>> held;
    for (const auto& [key, holders] : holders_)
        for (const Holder& holder : holders)
            if (holder.first == pad) held.emplace_back(key, holder);
    for (const auto& [key, holder] : held) letGo(key, holder);
}

void PadKeys::hold(std::int16_t key, Holder holder, std::int64_t nowMs) {
    auto& holders = holders_[key];
    bool first = holders.empty();
    if (!holders.insert(holder).second || !first) return;
    out_.push_back(keyEvent(InputEvent::Kind::KeyDown, key));
    if (isDirection(key)) repeatAt_[key] = nowMs + kRepeatDelayMs;
}

void PadKeys::letGo(std::int16_t key, Holder holder) {
    auto found = holders_.find(key);
    if (found == holders_.end() || found->second.erase(holder) == 0) return;
    if (!found->second.empty()) return;
    holders_.erase(found);
    repeatAt_.erase(key);
    out_.push_back(keyEvent(InputEvent::Kind::KeyUp, key));
}

void PadKeys::repeat(std::int64_t nowMs) {
    for (auto& [key, due] : repeatAt_) {
        if (due > nowMs) continue;
        out_.push_back(keyEvent(InputEvent::Kind::KeyDown, key));
        // A late wake-up sends one repeat, not a burst.
        due = std::max(due + kRepeatIntervalMs, nowMs + 1);
    }
}

std::optional<std::int64_t> PadKeys::nextRepeatMs() const {
    std::optional<std::int64_t> next;
    for (const auto& [key, due] : repeatAt_) next = next ? std::min(*next, due) : due;
    return next;
}

}  // namespace vantorix
