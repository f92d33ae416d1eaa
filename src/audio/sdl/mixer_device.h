#pragma once

#include <string>

namespace vantorix {

// The one SDL_mixer output the music and the effects share. With no usable
// sound device it falls back to SDL's dummy driver: silent, at the same pace.
class MixerDevice {
public:
    MixerDevice();
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    bool open() const { return open_; }
    int sampleRate() const { return rate_; }
    // Set when the real device failed: what to tell the player on stderr.
    const std::string& warning() const { return warning_; }

    static constexpr int kEffectChannel = 0;
    static constexpr int kBeepChannel = 1;

private:
    bool tryOpen();

    bool open_ = false;
    int rate_ = 44100;
    std::string warning_;
};

}  // namespace vantorix
