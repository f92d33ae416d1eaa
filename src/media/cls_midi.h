#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/event_pump.h"

namespace vantorix {

// Plays one MIDI song at a time through the command-string device, under the
// fixed alias "midifile", and can keep it looping by itself. Its PlayLoop is the
// program's event loop while music plays. Create it with std::make_shared: a
// running PlayLoop keeps its own instance alive.
class clsMIDI : public std::enable_shared_from_this<clsMIDI> {
public:
    explicit clsMIDI(EventPump& pump);
    ~clsMIDI();
    clsMIDI(const clsMIDI&) = delete;
    clsMIDI& operator=(const clsMIDI&) = delete;

    std::string FileName() const;
    void FileName(const std::string& NewFileName);
    void Play();
    void StopM();
    std::string Position();
    void Position(const std::string& NewPosition);
    // Throws std::invalid_argument when the reply is not a number (type mismatch),
    // std::overflow_error beyond the 32-bit range.
    std::int32_t Length();
    void ResumeM();
    void PlayLoop();
    void Pause();
    std::string Mode();

    std::int32_t lastResult() const { return LastResult; }

private:
    bool IsNTPlatform();
    void send(const char* command);
    // A status query into a NUL-filled buffer; the reply is the text before the first NUL.
    std::string query(const char* command);

    EventPump& pump_;
    std::int32_t LastResult = 0;
    std::string ReplyText;
    std::string ShortName;
    std::string LongName;
    bool Looping = false;
};

}  // namespace vantorix
