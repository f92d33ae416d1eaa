#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "media/media_control.h"
#include "platform/sound/mixer_device.h"

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
    // The effect in a file, sized by readEffect first; null when unplayable.
    std::unique_ptr<MixerSound> load(const std::string& path);
    void start(const MixerSound* sound);
    void waitForEnd(const MixerSound& sound);

    MixerDevice& mixer_;
    Say say_;
    std::set<std::string> refused_;  // files already said not to play
    std::unique_ptr<MixerSound> beep_;
    std::unique_ptr<MixerSound> defaultSound_;
    std::unique_ptr<MixerSound> current_;  // the loaded effect on the effect channel
};

}  // namespace vantorix
