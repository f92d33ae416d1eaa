#include "songs.h"

namespace media {
namespace {

using namespace drum;

// Title: 100 BPM, 16 bars (38.4 s). Two eight-bar phrases; the last bar sits
// on G so the loop falls naturally back onto C.

const DrumBar titleGroove{
    {kick, "X.....x.X......."},
    {snare, "....x.......x..."},
    {closedHat, "x.o.x.o.x.o.x.o."},
};

const DrumBar titleOpening{
    {crash, "X..............."},
    {kick, "X.....x.X......."},
    {snare, "....x.......x..."},
    {closedHat, "..o.x.o.x.o.x.o."},
};

const DrumBar titleFill{
    {kick, "X.....x.X......."},
    {snare, "....x.........ox"},
    {closedHat, "x.o.x.o........."},
    {highTom, "........x.x....."},
    {midTom, "...........x.x.."},
};

const Song title{
    .name = "Vantorix Title",
    .beatsPerMinute = 100,
    .lead = {.program = 80, .velocity = 88, .volume = 92, .pan = 64, .reverb = 50}, // square lead
    .bass = {.program = 33, .velocity = 100, .volume = 100, .pan = 64, .reverb = 20}, // fingered bass
    .harmony = {.program = 89, .velocity = 60, .volume = 70, .pan = 40, .reverb = 70}, // warm pad
    .drums = {.program = 0, .velocity = 90, .volume = 100, .pan = 64, .reverb = 30},
    .bassRhythm = "1:6 1:2 5:4 8:4",
    .harmonyRhythm = "x:16",
    .bars = {
        {"C", "E5:4 G5:4 C6:6 B5:2", &titleOpening},
        {"Am", "A5:4 E5:4 C5:8", &titleGroove},
        {"F", "F5:4 A5:4 C6:4 A5:4", &titleGroove},
        {"G", "G5:12 -:4", &titleGroove},
        {"C", "E5:4 G5:4 C6:6 D6:2", &titleGroove},
        {"Am", "E6:4 C6:4 A5:8", &titleGroove},
        {"Dm", "F5:4 A5:4 D6:4 C6:4", &titleGroove},
        {"G", "B5:12 -:4", &titleFill},

        {"F", "A5:6 G5:2 F5:4 C5:4", &titleOpening},
        {"G", "D5:6 E5:2 D5:4 B4:4", &titleGroove},
        {"Em", "E5:6 D5:2 E5:4 G5:4", &titleGroove},
        {"Am", "A5:12 -:4", &titleGroove},
        {"F", "C6:6 A5:2 F5:4 A5:4", &titleGroove},
        {"G", "B5:6 G5:2 D5:4 G5:4", &titleGroove},
        {"Dm", "A5:4 F5:4 D5:4 F5:4", &titleGroove},
        {"G", "G5:4 F5:4 D5:4 B4:4", &titleFill},
    },
};

// In-game: 150 BPM, 24 bars (38.4 s). A, B, then a brighter A; every phrase
// ends on E so the loop resolves back into A minor.

const DrumBar gameGroove{
    {kick, "X.....x.X.x....."},
    {snare, "....X.......X..."},
    {closedHat, "x.x.x.x.x.x.x..."},
    {openHat, "..............x."},
};

const DrumBar gameOpening{
    {crash, "X..............."},
    {kick, "X.....x.X.x....."},
    {snare, "....X.......X..."},
    {closedHat, "..x.x.x.x.x.x..."},
    {openHat, "..............x."},
};

const DrumBar gameFill{
    {kick, "X.....x.X......."},
    {snare, "....X...Xo......"},
    {closedHat, "x.x.x.x........."},
    {highTom, "..........xx...."},
    {midTom, "............xx.."},
    {lowTom, "..............xX"},
};

const Song game{
    .name = "Vantorix Stage",
    .beatsPerMinute = 150,
    .lead = {.program = 81, .velocity = 92, .volume = 88, .pan = 64, .reverb = 40}, // sawtooth lead
    .bass = {.program = 38, .velocity = 105, .volume = 105, .pan = 64, .reverb = 10}, // synth bass
    .harmony = {.program = 90, .velocity = 72, .volume = 84, .pan = 40, .reverb = 60}, // polysynth pad
    .drums = {.program = 0, .velocity = 95, .volume = 100, .pan = 64, .reverb = 20},
    .bassRhythm = "1:2 8:2 1:2 8:2 1:2 8:2 1:2 8:2",
    .harmonyRhythm = "x:6 x:6 x:4",
    .bars = {
        {"Am", "A4:2 C5:2 E5:2 A5:4 G5:2 E5:2 C5:2", &gameOpening},
        {"F", "F5:3 E5:3 C5:2 A4:4 C5:4", &gameGroove},
        {"C", "G5:2 E5:2 C5:2 G5:4 E5:2 G5:2 C6:2", &gameGroove},
        {"G", "B5:6 A5:2 G5:4 D5:4", &gameGroove},
        {"Am", "A4:2 C5:2 E5:2 A5:4 B5:2 C6:2 B5:2", &gameGroove},
        {"F", "A5:3 G5:3 F5:2 C5:4 F5:4", &gameGroove},
        {"G", "G5:2 F5:2 D5:2 B4:4 D5:2 G5:2 F5:2", &gameGroove},
        {"E", "E5:6 B4:2 G#4:4 B4:4", &gameFill},

        {"F", "C6:6 A5:2 F5:4 A5:4", &gameOpening},
        {"G", "B5:6 G5:2 D5:4 G5:4", &gameGroove},
        {"Em", "E5:2 G5:2 B5:2 E6:6 D6:2 B5:2", &gameGroove},
        {"Am", "C6:6 B5:2 A5:8", &gameGroove},
        {"Dm", "D5:2 F5:2 A5:2 D6:4 C6:2 A5:2 F5:2", &gameGroove},
        {"G", "G5:3 A5:3 B5:2 D6:4 B5:4", &gameGroove},
        {"C", "C6:2 B5:2 G5:2 E5:4 G5:2 C6:2 E6:2", &gameGroove},
        {"E", "D6:4 B5:4 G#5:4 E5:4", &gameFill},

        {"Am", "A5:2 E5:2 A5:2 C6:4 B5:2 A5:2 E5:2", &gameOpening},
        {"F", "F5:2 A5:2 C6:2 F6:4 E6:2 C6:2 A5:2", &gameGroove},
        {"C", "E5:2 G5:2 C6:2 E6:4 C6:2 G5:2 E5:2", &gameGroove},
        {"G", "D6:6 B5:2 G5:4 B5:4", &gameGroove},
        {"Am", "C6:3 B5:3 A5:2 E5:4 A5:4", &gameGroove},
        {"F", "A5:3 G5:3 F5:2 C6:4 A5:4", &gameGroove},
        {"G", "B5:2 A5:2 G5:2 F5:2 D5:2 B4:2 D5:2 F5:2", &gameGroove},
        {"E", "E5:2 G#5:2 B5:2 D6:2 B5:2 G#5:2 E5:2 G#4:2", &gameFill},
    },
};

} // namespace

const Song& titleTheme()
{
    return title;
}

const Song& gameTheme()
{
    return game;
}

} // namespace media
