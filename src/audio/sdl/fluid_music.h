#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>

#include "audio/sdl/mixer_device.h"
#include "audio/sequencer.h"

namespace vantorix {

// Songs played by FluidSynth inside the mixer's callback. One synth serves
// every song; each loaded song has a player of its own. FluidSynth's player runs
// inside rendering without a lock of its own, so every player call and the
// render itself go under one mutex of ours.
class FluidMusic : public MusicSource {
public:
    // `soundFont` may be empty or missing: songs then play silently, at the same pace.
    // It loads in the background, so the window need not wait for it.
    FluidMusic(int sampleRate, const std::string& soundFont);
    ~FluidMusic() override;
    FluidMusic(const FluidMusic&) = delete;
    FluidMusic& operator=(const FluidMusic&) = delete;

    // Set when there is no SoundFont or it cannot be loaded: what to tell the
    // player on stderr. Waits for the SoundFont.
    const std::string& warning();
    // Waits for the SoundFont; true when it is loaded.
    bool soundFontReady();
    // Loads a song checked by our own reader; null and a reason for a bad file.
    std::unique_ptr<Sequencer> load(const std::string& path, std::string& whyNot);
    // Renders stereo 16-bit frames of music.
    void render(std::int16_t* stereo, int frames) override;
    // Frames rendered so far, the music's own clock; read with lock() held.
    std::int64_t framesRenderedLocked() const { return frames_; }

    std::mutex& lock() { return mutex_; }
    fluid_synth_t* synth() { return synth_; }
    int sampleRate() const { return rate_; }

private:
    int rate_;
    std::string soundFont_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::mutex mutex_;
    std::int64_t frames_ = 0;
    std::string warning_;
    std::shared_future<bool> soundFontLoaded_;
};

// The General MIDI SoundFont that Debian installs, if there is one.
std::string defaultSoundFont();

}  // namespace vantorix
