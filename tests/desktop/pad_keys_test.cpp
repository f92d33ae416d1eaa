// Gamepads as keys: what reaches the game when several controls share a key,
// and how a held direction repeats.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "desktop/pad_keys.h"
#include "runtime/key_codes.h"

namespace vantorix {
namespace {

std::string drain(std::deque<InputEvent>& events) {
    std::string text;
    for (const InputEvent& e : events)
        text += (e.kind == InputEvent::Kind::KeyDown ? "+" : "-") + std::to_string(e.keyCode) + " ";
    events.clear();
    return text;
}

TEST(PadKeys, AKeyIsDownWhileAnyControlHoldsIt) {
    std::deque<InputEvent> out;
    PadKeys pads(out);
    pads.button(1, PadButton::South, true, 0);
    pads.button(1, PadButton::Start, true, 0);
    pads.button(2, PadButton::South, true, 0);
    EXPECT_EQ(drain(out), "+90 ");
    pads.button(1, PadButton::South, false, 0);
    pads.button(1, PadButton::South, false, 0);
    pads.button(2, PadButton::South, false, 0);
    EXPECT_EQ(drain(out), "") << "Start on pad 1 still holds Z";
    pads.unplug(1);
    EXPECT_EQ(drain(out), "-90 ");
    pads.unplug(1);
    EXPECT_EQ(drain(out), "");
}

TEST(PadKeys, TheStickPushesPastADeadZoneAndSwingsFromUpToDown) {
    std::deque<InputEvent> out;
    PadKeys pads(out);
    for (int resting : {-3000, 2500, -PadKeys::kStickPush + 1}) pads.stickY(0, resting, 0);
    EXPECT_EQ(drain(out), "");
    pads.stickY(0, -PadKeys::kStickPush, 0);
    pads.stickY(0, -PadKeys::kStickRest, 0);
    EXPECT_EQ(drain(out), "+38 ") << "easing off a little is still up";
    pads.stickY(0, 32767, 0);
    pads.stickY(0, 0, 0);
    EXPECT_EQ(drain(out), "-38 +40 -40 ");
    pads.stickY(0, 32767, 0);
    pads.button(0, PadButton::DpadDown, true, 0);
    pads.unplug(0);
    EXPECT_EQ(drain(out), "+40 -40 ") << "unplugged, stick and D-pad let go together";
}

TEST(PadKeys, AHeldDirectionRepeatsAndNothingElseDoes) {
    std::deque<InputEvent> out;
    PadKeys pads(out);
    pads.button(0, PadButton::South, true, 1000);
    pads.button(0, PadButton::DpadUp, true, 1000);
    drain(out);
    EXPECT_EQ(pads.nextRepeatMs(), 1000 + PadKeys::kRepeatDelayMs);
    pads.repeat(1000 + PadKeys::kRepeatDelayMs - 1);
    EXPECT_EQ(drain(out), "");
    pads.repeat(1000 + PadKeys::kRepeatDelayMs);
    pads.repeat(1000 + PadKeys::kRepeatDelayMs + PadKeys::kRepeatIntervalMs);
    EXPECT_EQ(drain(out), "+38 +38 ");
    pads.repeat(5000);
    EXPECT_EQ(drain(out), "+38 ") << "a late wake-up sends one repeat, not a burst";
    pads.button(0, PadButton::DpadUp, false, 5000);
    EXPECT_EQ(drain(out), "-38 ");
    EXPECT_EQ(pads.nextRepeatMs(), std::nullopt);
}

}  // namespace
}  // namespace vantorix
