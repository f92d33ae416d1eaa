// Real SDL game controllers, through SDL's virtual joystick: plugged in after
// the game started, pressed, held, pushed and pulled out.
#include <gtest/gtest.h>

#include <SDL.h>

#include <deque>

#include "platform/window/sdl_pads.h"
#include "runtime/key_codes.h"

namespace vantorix {
namespace {

class Gamepad : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        pads.start();
    }
    void TearDown() override { SDL_Quit(); }

    int plugIn() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        int index = SDL_JoystickAttachVirtualEx(&desc);
        pump();
        return index;
    }
    SDL_Joystick* joystick(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }
    // Hands every pending SDL event to the pads, as the window's input does.
    void pump() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) pads.handle(event, now);
    }
    // The key events the game would be given, as "+90 -90".
    std::string keys() {
        pump();
        std::string text;
        for (const InputEvent& e : out)
            text += std::string(text.empty() ? "" : " ") +
                    (e.kind == InputEvent::Kind::KeyDown ? "+" : "-") + std::to_string(e.keyCode);
        out.clear();
        return text;
    }

    std::int64_t now = 0;
    std::deque<InputEvent> out;
    SdlPads pads{out};
};

TEST_F(Gamepad, ButtonsAndTheDpadAreTheGamesKeys) {
    int index = plugIn();
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* pad = joystick(index);
    ASSERT_NE(pad, nullptr) << "the controller is opened when it arrives";
    const std::pair<int, int> presses[] = {
        {SDL_CONTROLLER_BUTTON_A, vbKeyZ},     {SDL_CONTROLLER_BUTTON_START, vbKeyZ},
        {SDL_CONTROLLER_BUTTON_B, vbKeyX},     {SDL_CONTROLLER_BUTTON_DPAD_UP, vbKeyUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, vbKeyDown},
    };
    for (auto [button, key] : presses) {
        SDL_JoystickSetVirtualButton(pad, button, SDL_PRESSED);
        EXPECT_EQ(keys(), "+" + std::to_string(key));
        SDL_JoystickSetVirtualButton(pad, button, SDL_RELEASED);
        EXPECT_EQ(keys(), "-" + std::to_string(key));
    }
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_Y, SDL_PRESSED);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(keys(), "") << "other buttons and the stick's sideways push do nothing";
}

TEST_F(Gamepad, TheStickHoldsADirectionThatRepeatsUntilItRests) {
    SDL_Joystick* pad = joystick(plugIn());
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 4000);
    EXPECT_EQ(keys(), "") << "a resting stick sends nothing";
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(keys(), "+40");
    now = PadKeys::kRepeatDelayMs;
    pads.keys().repeat(now);
    EXPECT_EQ(keys(), "+40") << "held, it repeats like a held key";
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(keys(), "-40");
}

TEST_F(Gamepad, PullingAControllerOutReleasesWhatItHeld) {
    int index = plugIn();
    SDL_Joystick* pad = joystick(index);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_PRESSED);
    EXPECT_EQ(keys(), "+90 +38");
    SDL_JoystickDetachVirtual(index);
    std::string released = keys();
    EXPECT_TRUE(released == "-38 -90" || released == "-90 -38") << released;
    EXPECT_EQ(pads.keys().nextRepeatMs(), std::nullopt);

    SDL_Joystick* again = joystick(plugIn());
    ASSERT_NE(again, nullptr) << "a controller plugged back in works again";
    SDL_JoystickSetVirtualButton(again, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    EXPECT_EQ(keys(), "+88");
}

}  // namespace
}  // namespace vantorix
