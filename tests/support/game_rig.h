#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "media/mci_device.h"
#include "media/module1.h"
#include "runtime/form.h"
#include "runtime/key_codes.h"
#include "runtime/program.h"
#include "script_clock.h"
#include "sim_audio.h"
#include "support/fakes.h"
#include "support/frames.h"

namespace vantorix::testing {

class NoInput : public InputSource {
public:
    void waitUntil(std::int64_t) override {}
    std::optional<InputEvent> take() override { return std::nullopt; }
};

// The rig's effects, each noted with the frame on screen and the music's mode as it starts.
class WatchedSounds : public sim::ClockSoundOut {
public:
    WatchedSounds(sim::ScriptClock& clock, const FrameHost& host, MciDevice& device)
        : ClockSoundOut(clock), host_(host), device_(device) {}
    bool play(const std::string& path, std::uint32_t flags) override {
        Frame& frame = during[std::filesystem::path(path).filename().string()] = host_.last;
        char mode[16] = {};
        device_.sendString("status midifile mode", mode, sizeof mode);
        frame.music = mode;
        return ClockSoundOut::play(path, flags);
    }
    std::map<std::string, Frame> during;  // by the sound's name, at its last start

private:
    const FrameHost& host_;
    MciDevice& device_;
};

// The game window loaded and ready, with its handlers called directly by the
// test; sounds and songs take their time on the rig's own clock. As in the
// program, the frame is drawn before a sound that holds the game.
struct GameRig {
    sim::ScriptClock clock{12 * 3600 * 1000};
    NoInput input;
    FrameHost host;
    MciDevice device{[this](const std::string& path, std::string& why) {
        return sim::loadClockSong(clock, path, why);
    }};
    sim::RecordingMedia media{device};
    WatchedSounds sounds{clock, host, device};
    Form form{formVTXDescription(), clock, input, host};
    Program app;
    FormVTX game{form, app};

    explicit GameRig(const std::string& mediaDir = VANTORIX_MEDIA_DIR)
        : app(mediaDir, clock, [this] { sounds.beep(); }) {
        Module1::install({&media, &sounds, [this] { form.present(); }, nullptr});
        game.Form_Load();
        // Shown as the program shows it, but without entering the music loop:
        // the test calls the handlers itself.
        form.onActivate = nullptr;
        form.show();
        media.takeCommands();
    }
    ~GameRig() { Module1::shutDown(); }

    // Z seen by the key poll between games: the start sound, then a new game.
    void start() {
        game.Form_KeyDown(vbKeyZ, 0);
        game.TimePushX_Timer();
        game.Form_KeyUp(vbKeyZ, 0);
        sounds.takeSounds();
    }
    void key(std::int16_t code) {
        game.Form_KeyDown(code, 0);
        game.Form_KeyUp(code, 0);
    }
    // What the player saw and heard while a sound last played.
    const Frame& during(const std::string& sound) { return sounds.during[sound]; }
    Label& enemy(int i) { return game.Enemy(static_cast<std::int16_t>(i)); }
    // Fires from the ship as the key poll does with Z held.
    void fire() {
        game.Form_KeyDown(vbKeyZ, 0);
        game.TimePushX_Timer();
        game.Form_KeyUp(vbKeyZ, 0);
    }
};

}  // namespace vantorix::testing
