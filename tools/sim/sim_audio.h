#pragma once

#include <string>
#include <utility>
#include <vector>

#include "media/mci_device.h"
#include "media/media_control.h"
#include "script_clock.h"

namespace vantorix::sim {

// Songs that play on the game's clock: their length is read from the file itself.
std::unique_ptr<Sequencer> loadClockSong(Clock& clock, const std::string& path,
                                         std::string& whyNot);

// The media device, noting every command but the status queries since last asked.
class RecordingMedia : public MediaControl {
public:
    explicit RecordingMedia(MciDevice& device) : device_(device) {}
    std::int32_t sendString(std::string_view command, char* reply,
                            std::uint32_t replyLength) override;
    std::vector<std::string> takeCommands() { return std::exchange(commands_, {}); }

private:
    MciDevice& device_;
    std::vector<std::string> commands_;
};

// Effects that take their length on the script clock and make no sound.
class ClockSoundOut : public SoundOut {
public:
    explicit ClockSoundOut(ScriptClock& clock) : clock_(clock) {}
    bool play(const std::string& path, std::uint32_t flags) override;
    void beep() override { ++beeps_; }

    std::vector<std::pair<std::string, std::uint32_t>> takeSounds() {
        return std::exchange(sounds_, {});
    }
    int takeBeeps() { return std::exchange(beeps_, 0); }

private:
    ScriptClock& clock_;
    std::vector<std::pair<std::string, std::uint32_t>> sounds_;
    int beeps_ = 0;
};

}  // namespace vantorix::sim
