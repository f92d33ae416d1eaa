#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vantorix {

// Our own stand-ins for the system's sounds, as wave images made in memory.
// The beep: a short, plain alert tone.
std::vector<std::uint8_t> beepWave(int sampleRate);
// The default sound, heard when a background effect cannot be played: a soft two-note chime.
std::vector<std::uint8_t> defaultSoundWave(int sampleRate);

// A plain 16-bit mono wave image of the given samples.
std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate);

}  // namespace vantorix
