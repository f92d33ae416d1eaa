#pragma once

#include <string>

namespace vantorix {

// The one SDL_mixer output the music and the effects share. With no usable
// sound device, or when asked to be `silent`, it plays on SDL's dummy driver:
// nothing is heard, and every sound still takes its length.
class MixerDevice {
public:
    explicit MixerDevice(bool silent = false);
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    // The output's fixed rate, known before the device opens.
    static constexpr int kSampleRate = 44100;

    bool open() const { return open_; }
    int sampleRate() const { return kSampleRate; }
    // Set when the real device failed: what to tell the player on stderr.
    const std::string& warning() const { return warning_; }

    static constexpr int kEffectChannel = 0;
    static constexpr int kBeepChannel = 1;

private:
    bool tryOpen();

    bool open_ = false;
    std::string warning_;
};

}  // namespace vantorix
