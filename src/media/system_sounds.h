#pragma once

#include <cstdint>
#include <vector>

namespace vantorix {

// Our own stand-ins for the system's sounds, as wave images made in memory.
// The beep: a short, plain alert tone.
std::vector<std::uint8_t> beepWave(int sampleRate);
// The default sound, heard when a background effect cannot be played: a soft two-note chime.
std::vector<std::uint8_t> defaultSoundWave(int sampleRate);

}  // namespace vantorix
