#include "random_keys.h"

#include <algorithm>

#include "runtime/key_codes.h"

namespace vantorix::soak {

namespace {
constexpr std::int64_t kRepeatDelayMs = 250;
constexpr std::int64_t kRepeatEveryMs = 33;
}  // namespace

RandomKeys::RandomKeys(sim::ScriptClock& clock, std::uint32_t seed, std::function<bool()> playing,
                       std::function<std::int16_t()> aim)
    : clock_(clock),
      random_(seed),
      playing_(std::move(playing)),
      aim_(std::move(aim)),
      keys_{Key{vbKeyZ}, Key{vbKeyX}, Key{vbKeyUp}, Key{vbKeyDown}} {
    nextActionAt_ = nextAction();
}

std::int64_t RandomKeys::nextAction() {
    // Mostly quick fingers, now and then a long pause.
    std::exponential_distribution<double> gap(1.0 / 250.0);
    return clock_.nowMs() + 1 + static_cast<std::int64_t>(gap(random_));
}

void RandomKeys::press(Key& key, std::int64_t at) {
    queue_.push_back({InputEvent::Kind::KeyDown, key.code});
    key.held = true;
    key.nextRepeat = at + kRepeatDelayMs;
    ++events_;
}

void RandomKeys::release(Key& key) {
    queue_.push_back({InputEvent::Kind::KeyUp, key.code});
    key.held = false;
    ++events_;
}

void RandomKeys::waitUntil(std::int64_t deadlineMs) {
    Key& x = keys_[1];
    if (x.held && !playing_()) release(x);
    if (!queue_.empty()) return;

    std::int64_t next = nextActionAt_;
    for (const Key& key : keys_)
        if (key.held) next = std::min(next, key.nextRepeat);
    if (next > deadlineMs) {
        clock_.advanceTo(deadlineMs);
        return;
    }
    clock_.advanceTo(next);
    std::int64_t now = clock_.nowMs();
    for (Key& key : keys_) {
        if (key.held && key.nextRepeat <= now) {
            queue_.push_back({InputEvent::Kind::KeyDown, key.code});
            key.nextRepeat = now + kRepeatEveryMs;
            ++events_;
        }
    }
    if (nextActionAt_ <= now) {
        // Long stretches of aimed play, long stretches of button mashing.
        if (std::uniform_int_distribution<int>(0, 99)(random_) < 70)
            aimedAction(now);
        else
            randomAction(now);
        nextActionAt_ = nextAction();
    }
}

void RandomKeys::randomAction(std::int64_t now) {
    Key& key = keys_[std::uniform_int_distribution<std::size_t>(0, keys_.size() - 1)(random_)];
    bool quitting = &key == &keys_[1] && !playing_();
    if (key.held)
        release(key);
    else if (!quitting)
        press(key, now);
}

void RandomKeys::aimedAction(std::int64_t now) {
    std::int16_t wanted = aim_();
    for (Key& key : keys_) {
        if (key.code != wanted && key.held && key.code != vbKeyZ) release(key);
        if (key.code == wanted && !key.held) press(key, now);
    }
}


}  // namespace vantorix::soak
