#include "sim_audio.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "media/effect_file.h"
#include "media/file_bytes.h"
#include "media/midi_file.h"
#include "media/module1.h"
#include "platform/sound/mixer_device.h"

namespace vantorix::sim {

namespace {

class ClockSong : public Sequencer {
public:
    ClockSong(Clock& clock, std::int64_t lengthMs) : clock_(clock), length_(lengthMs) {}

    std::int64_t lengthMs() const override { return length_; }
    void playFrom(std::int64_t positionMs) override {
        startMs_ = positionMs;
        startedAt_ = clock_.nowMs();
        playing_ = true;
    }
    void halt() override {
        startMs_ = positionMs();
        playing_ = false;
    }
    std::int64_t positionMs() override {
        return playing_ ? startMs_ + (clock_.nowMs() - startedAt_) : startMs_;
    }
    bool finished() override { return positionMs() >= length_; }

private:
    Clock& clock_;
    std::int64_t length_;
    std::int64_t startMs_ = 0;
    std::int64_t startedAt_ = 0;
    bool playing_ = false;
};

bool isStatusQuery(std::string_view command) {
    auto first = command.find_first_not_of(" \t");
    if (first == std::string_view::npos || command.size() - first < 6) return false;
    std::string verb(command.substr(first, 6));
    std::transform(verb.begin(), verb.end(), verb.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return verb == "status";
}

}  // namespace

std::unique_ptr<Sequencer> loadClockSong(Clock& clock, const std::string& path,
                                         std::string& whyNot) {
    auto bytes = readFileCapped(path, MidiFile::kMaxBytes, whyNot);
    if (!bytes) return nullptr;
    auto info = MidiFile::parse(*bytes, whyNot);
    if (!info) return nullptr;
    return std::make_unique<ClockSong>(clock, info->lengthMs());
}

std::int32_t RecordingMedia::sendString(std::string_view command, char* reply,
                                        std::uint32_t replyLength) {
    if (!isStatusQuery(command)) commands_.emplace_back(command);
    return device_.sendString(command, reply, replyLength);
}

bool ClockSoundOut::play(const std::string& path, std::uint32_t flags) {
    sounds_.emplace_back(std::filesystem::path(path).filename().string(), flags);
    std::string whyNot;
    bool tooLarge = false;
    auto effect = readEffect(path, MixerDevice::kSampleRate, whyNot, tooLarge);
    if (!effect) return false;
    if (!(flags & Module1::SND_ASYNC)) clock_.advanceBy(effect->wave.lengthMs());
    return true;
}

}  // namespace vantorix::sim
