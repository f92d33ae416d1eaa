#pragma once

#include <SDL_mixer.h>

#include <functional>
#include <set>
#include <string>

#include "audio/media_control.h"
#include "audio/sdl/mixer_device.h"

namespace vantorix {

// Wave effects on the mixer: one channel for the effects, where a new effect cuts
// the one playing, and one for the beep.
class SdlSoundOut : public SoundOut {
public:
    // `say` gets the one line about an effect refused for its size.
    using Say = std::function<void(const std::string& line)>;
    explicit SdlSoundOut(MixerDevice& mixer, Say say = sayOnStderr);
    ~SdlSoundOut() override;
    SdlSoundOut(const SdlSoundOut&) = delete;
    SdlSoundOut& operator=(const SdlSoundOut&) = delete;

    bool play(const std::string& path, std::uint32_t flags) override;
    void beep() override;

    static void sayOnStderr(const std::string& line);

private:
    // The effect in a file, checked by our own reader first; null when unplayable.
    Mix_Chunk* load(const std::string& path);
    void start(Mix_Chunk* chunk, bool owned);
    void waitForEnd(Mix_Chunk* chunk);

    MixerDevice& mixer_;
    Say say_;
    std::set<std::string> refused_;  // files already said to be too large
    Mix_Chunk* beep_ = nullptr;
    Mix_Chunk* defaultSound_ = nullptr;
    Mix_Chunk* current_ = nullptr;  // the loaded effect on the effect channel, ours to free
};

}  // namespace vantorix
