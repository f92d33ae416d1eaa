#pragma once

#include "bytes.h"

#include <string_view>
#include <vector>

namespace media {

// General MIDI percussion keys (channel 10).
namespace drum {
inline constexpr int kick = 36;
inline constexpr int snare = 38;
inline constexpr int closedHat = 42;
inline constexpr int lowTom = 45;
inline constexpr int openHat = 46;
inline constexpr int midTom = 47;
inline constexpr int crash = 49;
inline constexpr int highTom = 50;
} // namespace drum

// Sixteen steps per bar: 'X' accent, 'x' normal, 'o' ghost, '.' silent.
struct DrumLane {
    int key;
    std::string_view hits;
};
using DrumBar = std::vector<DrumLane>;

// Every bar is 4/4; the melody is written in sixteenths and must fill the bar.
struct Bar {
    std::string_view chord;
    std::string_view melody;
    const DrumBar* drums;
};

struct Instrument {
    int program; // General MIDI, zero-based
    int velocity;
    int volume;
    int pan;
    int reverb;
};

struct Song {
    std::string_view name;
    int beatsPerMinute;
    Instrument lead;
    Instrument bass;
    Instrument harmony;
    Instrument drums; // program is ignored on the percussion channel
    // Bass notes as chord degrees: 1 root, 3 third, 5 fifth, 8 octave.
    std::string_view bassRhythm;
    // "x" sounds the bar's chord, "-" rests.
    std::string_view harmonyRhythm;
    std::vector<Bar> bars;
};

Bytes renderSong(const Song& song);

} // namespace media
