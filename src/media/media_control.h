#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantorix {

// A device driven by command strings ("open ... alias midifile", "status midifile mode").
// Returns 0 or an error code; a reply, when the command has one and a buffer is
// given, is written as a NUL-terminated string within `replyLength` characters.
class MediaControl {
public:
    virtual ~MediaControl() = default;
    virtual std::int32_t sendString(std::string_view command, char* reply,
                                    std::uint32_t replyLength) = 0;
};

// Plays wave effects. `flags` are the sound call's: 1 plays in the background,
// 2 keeps quiet when the file cannot be played; without 1 the call returns only
// when the sound has ended. Returns whether the file itself was played.
class SoundOut {
public:
    virtual ~SoundOut() = default;
    virtual bool play(const std::string& path, std::uint32_t flags) = 0;
    virtual void beep() = 0;
};

}  // namespace vantorix
