#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/color.h"

namespace vantorix {

class Form;
class FormVTX;

// Everything the game's rules read and write between two events: the game's
// variables, each label as it shows, each timer's setting and the field's colour.
struct LabelState {
    std::string name;
    int index = -1;
    float left = 0, top = 0;
    bool visible = false;
    std::string caption;
    bool operator==(const LabelState&) const = default;
};

struct TimerState {
    bool enabled = false;
    int interval = 0;
    bool operator==(const TimerState&) const = default;
};

struct GameState {
    bool gamePlaying = false, zKeyDown = false, xKeyDown = false, beamFlying = false, blinkOn = false;
    std::int16_t shipRow = 0, highRest = 0;
    std::uint8_t beamRow = 0, pushOffset = 0, spawnRow = 0;
    std::int64_t score = 0, hiScore = 0;
    Rgb back;
    std::vector<LabelState> labels;  // front to back
    std::vector<TimerState> timers;  // in containment order
    bool operator==(const GameState&) const = default;
};

GameState captureState(const FormVTX& game, const Form& form);
// Puts a captured state back; false, with the reason, when the form lacks one
// of its labels or timers.
bool applyState(const GameState& state, FormVTX& game, Form& form, std::string& whyNot);

}  // namespace vantorix
