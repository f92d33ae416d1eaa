#pragma once

#include <filesystem>

#include "media/mci_device.h"
#include "runtime/pausing_clock.h"
#include "runtime/window_host.h"
#include "script_clock.h"
#include "sim_audio.h"
#include "state_dump.h"

namespace vantorix::sim {

// The simulated machine: its clock, the game's time that stands still while
// it is paused, its media device and its silent effects.
struct Machine {
    ScriptClock clock;
    PausingClock gameClock{clock};
    MciDevice device;
    RecordingMedia media;
    ClockSoundOut sounds;

    explicit Machine(std::int64_t timeOfDay)
        : clock(timeOfDay),
          device([this](const std::string& path, std::string& why) {
              return loadClockSong(gameClock, path, why);
          }),
          media(device),
          sounds(clock) {}

    AudioLog takeLog() {
        AudioLog log{media.takeCommands(), sounds.takeSounds(), sounds.takeBeeps()};
        log.musicFile = std::filesystem::path(device.fileOf("midifile")).filename().string();
        char mode[16] = {};
        if (device.sendString("status midifile mode", mode, sizeof mode) == 0) log.musicMode = mode;
        return log;
    }
};

}  // namespace vantorix::sim
