#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vantorix {

// One song, loaded and ready, as the command-string device drives it.
// Positions are milliseconds from the song's start.
class Sequencer {
public:
    virtual ~Sequencer() = default;
    virtual std::int64_t lengthMs() const = 0;
    // Starts sounding from `positionMs`.
    virtual void playFrom(std::int64_t positionMs) = 0;
    // Stops sounding; the position stays where it was.
    virtual void halt() = 0;
    virtual std::int64_t positionMs() = 0;
    // The song has played to its end.
    virtual bool finished() = 0;
};

// Loads a song file; on failure returns null and says why.
using SequencerLoader =
    std::function<std::unique_ptr<Sequencer>(const std::string& path, std::string& whyNot)>;

}  // namespace vantorix
