#pragma once

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "media/mci_device.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/mixer_device.h"
#include "platform/sound/sdl_sound_out.h"

namespace vantorix {

// How the game sounds, as the player set it.
struct SoundChoice {
    bool mute = false;
    std::string soundFont;  // empty: the one Debian installs
    int musicVolume = 100;
    int effectsVolume = 100;
    bool musicOn = true;
};

// The game's sound: the device opened, the effects made ready and the
// synthesizer set up once the first frame is on screen, so the window never
// waits for them. The title music starts when the synthesizer is there, tens of
// milliseconds after. Until then the platform calls reach the media device alone.
class GameSound {
public:
    // `tell` gets what the player should read on stderr.
    GameSound(SoundChoice choice, FluidMusic& music, MciDevice& device, std::function<void()> beforeBlockingSound,
              std::function<void(const std::string&)> tell);
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    void start();
    void beep();
    bool musicOn() const { return choice_.musicOn; }
    void setMusicOn(bool on);
    // Everything stops where it is, and goes on from there when let go.
    void hold(bool held);

private:
    SoundChoice choice_;
    FluidMusic& music_;
    MciDevice& device_;
    std::function<void()> beforeBlockingSound_;
    std::function<void(const std::string&)> tell_;
    std::optional<MixerDevice> mixer_;
    std::optional<SdlSoundOut> sounds_;
    std::thread synthesizer_;
    bool held_ = false;
};

}  // namespace vantorix
