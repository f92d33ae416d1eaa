// The command-string media device, fed one command a line over a fake music
// clock, so that open, play, pause, seek and close meet in any order and a song
// can run out between two commands.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "media/mci_device.h"

namespace {

using vantorix::Sequencer;

// The seed corpus names these songs by their full path.
const std::filesystem::path kSongDir = "/tmp/vantorix-mci-fuzz";
const std::map<std::string, std::int64_t> kSongLengthsMs = {
    {"song.mid", 3000}, {"two words.mid", 500}, {"short.mid", 40}, {"empty.mid", 0}};
constexpr const char* kRefused = "refused.mid";
// Any other file the input names plays as a one-second song.
constexpr std::int64_t kOtherLengthMs = 1000;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "mci_commands_fuzz: %s\n", why);
    std::abort();
}

std::int64_t nowMs = 0;  // the fake music clock

class FakeSequencer : public Sequencer {
public:
    explicit FakeSequencer(std::int64_t lengthMs) : length_(lengthMs) {}
    std::int64_t lengthMs() const override { return length_; }
    void playFrom(std::int64_t positionMs) override {
        if (positionMs < 0 || positionMs > length_) fail("played from outside the song");
        start_ = positionMs;
        startedAt_ = nowMs;
        playing_ = true;
    }
    void halt() override {
        start_ = positionMs();
        playing_ = false;
    }
    // Like the real player, runs on past the end until the device stops it.
    std::int64_t positionMs() override { return playing_ ? start_ + nowMs - startedAt_ : start_; }
    bool finished() override { return positionMs() >= length_; }

private:
    std::int64_t length_;
    std::int64_t start_ = 0;
    std::int64_t startedAt_ = 0;
    bool playing_ = false;
};

std::unique_ptr<Sequencer> loadSong(const std::string& path, std::string& whyNot) {
    std::string name = std::filesystem::path(path).filename();
    if (name == kRefused) {
        whyNot = "refused";
        return nullptr;
    }
    auto known = kSongLengthsMs.find(name);
    return std::make_unique<FakeSequencer>(known == kSongLengthsMs.end() ? kOtherLengthMs
                                                                         : known->second);
}

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// One command with a reply buffer of 0 to 16 bytes, or none at all (17): both
// drawn from the line, so trailing blanks vary them without changing the command.
void send(vantorix::MciDevice& device, std::string_view line) {
    std::uint32_t h = fnv1a(line);
    std::uint32_t length = h % 18;
    nowMs += (h >> 8) % 256;
    if (length == 17) {
        device.sendString(line, nullptr, 16);
        return;
    }
    constexpr char kUntouched = '\x7f';
    std::unique_ptr<char[]> reply(new char[length]);
    std::memset(reply.get(), kUntouched, length);
    device.sendString(line, reply.get(), length);
    bool written = false;
    for (std::uint32_t i = 0; i < length; ++i) written = written || reply[i] != kUntouched;
    if (written && !std::memchr(reply.get(), '\0', length)) fail("reply without its NUL");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directories(kSongDir);
    for (const auto& [name, length] : kSongLengthsMs) std::ofstream(kSongDir / name, std::ios::app);
    std::ofstream(kSongDir / kRefused, std::ios::app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nowMs = 0;
    vantorix::MciDevice device(loadSong);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        send(device, rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return 0;
}
