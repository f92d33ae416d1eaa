#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "media/media_control.h"
#include "media/sequencer.h"

namespace vantorix {

// The command-string media device: songs opened under aliases and driven by
// "open", "play", "play ... from", "pause", "resume", "stop", "seek ... to",
// "status ... mode|position|length" and "close". Positions are milliseconds;
// modes come back as "stopped", "playing" or "paused". Every malformed command,
// unknown alias or unloadable file is an error code, never a crash.
class MciDevice : public MediaControl {
public:
    explicit MciDevice(SequencerLoader loader);

    std::int32_t sendString(std::string_view command, char* reply,
                            std::uint32_t replyLength) override;

    // The file open under `alias`, or empty.
    std::string fileOf(std::string_view alias) const;
    // Why the last open failed.
    const std::string& lastLoadError() const { return lastLoadError_; }
    // Told, once for each file, why it cannot be played: the player who
    // brought it learns why it is silent.
    std::function<void(const std::string& line)> onRefused;

private:
    enum class Mode { Stopped, Playing, Paused };
    struct Song {
        std::unique_ptr<Sequencer> sequencer;
        std::string path;
        Mode mode = Mode::Stopped;
        std::int64_t position = 0;  // kept while not playing
    };

    // Aliases are kept in lower case and found in any.
    struct CaseBlindLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::int32_t open(std::string_view arguments);
    std::int32_t command(const std::vector<std::string_view>& words, std::string& reply);
    std::int32_t play(Song& song, const std::vector<std::string_view>& words);
    std::int32_t seek(Song& song, const std::vector<std::string_view>& words);
    std::int32_t status(Song& song, const std::vector<std::string_view>& words,
                        std::string& reply);
    void settle(Song& song);
    void halt(Song& song, Mode mode);

    void refuse(const std::string& path, const std::string& why);

    SequencerLoader loader_;
    std::map<std::string, Song, CaseBlindLess> songs_;
    std::vector<std::string_view> words_;  // the command being read, kept to spare an allocation
    std::string lastLoadError_;
    std::set<std::string> refused_;
};

}  // namespace vantorix
