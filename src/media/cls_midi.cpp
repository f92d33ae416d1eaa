#include "media/cls_midi.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include "media/module1.h"

namespace vantorix {

namespace {

constexpr std::size_t kReplySize = 16;
constexpr std::uint32_t kReplyOffered = 15;
constexpr std::uint32_t kShortPathSize = 512;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string beforeFirstNul(const std::string& buffer) {
    return buffer.substr(0, std::min(buffer.find('\0'), buffer.size()));
}

}  // namespace

clsMIDI::clsMIDI(EventPump& pump) : pump_(pump) {
    // Whatever an earlier instance left open under the alias goes first.
    send("stop midifile ");
    send("close midifile");
}

clsMIDI::~clsMIDI() {
    send("stop midifile ");
    send("close midifile");
}

void clsMIDI::send(const char* command) {
    LastResult = Module1::mciSendStringA(command, nullptr, 0, 0);
}

std::string clsMIDI::query(const char* command) {
    ReplyText.assign(kReplySize, '\0');
    LastResult = Module1::mciSendStringA(command, ReplyText.data(), kReplyOffered, 0);
    return beforeFirstNul(ReplyText);
}

std::string clsMIDI::FileName() const { return LongName; }

void clsMIDI::FileName(const std::string& NewFileName) {
    LongName = NewFileName;
    std::string buffer(kShortPathSize, '\0');
    LastResult = static_cast<std::int32_t>(
        Module1::GetShortPathNameA(NewFileName.c_str(), buffer.data(), kShortPathSize));
    ShortName = beforeFirstNul(buffer);
    send("stop midifile ");
    send("close midifile");
    send(("open " + ShortName + " type sequencer alias midifile").c_str());
}

void clsMIDI::Play() {
    send("stop midifile ");
    send("play midifile");
    Looping = false;
}

void clsMIDI::StopM() {
    send("stop midifile ");
    Looping = false;
}

std::string clsMIDI::Position() { return query("status midifile position"); }

void clsMIDI::Position(const std::string& NewPosition) {
    send(("seek midifile to " + NewPosition).c_str());
}

std::int32_t clsMIDI::Length() {
    std::string reply = query("status midifile length");
    std::string_view digits = reply;
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) throw std::overflow_error("Overflow");
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw std::invalid_argument("Type mismatch");
    return value;
}

void clsMIDI::ResumeM() {
    if (!IsNTPlatform()) {
        send("resume midifile ");
    } else if (Looping) {
        PlayLoop();
    } else {
        Play();
    }
}

void clsMIDI::PlayLoop() {
    auto keepAlive = shared_from_this();
    send("play midifile");
    Looping = true;
    for (;;) {
        // Sleep until there is something to do instead of spinning: the timers'
        // deadlines and the input wake us, and a short cap keeps the song's end noticed.
        pump_.waitForWork();
        pump_.doEvents();
        if (pump_.ended()) return;
        ReplyText.assign(kReplySize, ' ');
        LastResult =
            Module1::mciSendStringA("status midifile mode", ReplyText.data(), kReplyOffered, 0);
        ReplyText = upper(ReplyText.substr(0, 7));
        if (ReplyText == "STOPPED") {
            if (!Looping) return;
            send("play midifile from 0");
        }
    }
}

void clsMIDI::Pause() { send("pause midifile "); }

std::string clsMIDI::Mode() {
    ReplyText = upper(query("status midifile mode"));
    return ReplyText;
}

bool clsMIDI::IsNTPlatform() {
    Module1::OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    LastResult = Module1::GetVersionExA(&info);
    return info.dwPlatformId == Module1::VER_PLATFORM_WIN32_NT;
}

}  // namespace vantorix
