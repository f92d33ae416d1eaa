// A song file as the game loads and plays it: our own tolerant MIDI reader
// first, then FluidSynth's player on the song as the reader rewrote it, on the
// real SoundFont, rendered by hand from a few points.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/midi_file.h"
#include "platform/sound/fluid_music.h"
#include "temp_file.h"

namespace {

using vantorix::FluidMusic;
using vantorix::MidiFile;

constexpr int kRate = 44100;
constexpr int kBlockFrames = 512;
constexpr int kBlocksEach = 4;

std::unique_ptr<FluidMusic> music;
std::unique_ptr<vantorix::fuzz::TempFile> songFile;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "song_fuzz: %s\n", why);
    std::abort();
}

// The player seeks through msToTick and reports time through tickToMs: both must
// run forwards and stay within the song.
void checkTiming(const MidiFile& song) {
    std::int64_t length = song.lengthMs();
    if (length < 0) fail("negative length");
    double lastMs = 0;
    for (std::int64_t tick : {std::int64_t{0}, song.totalTicks() / 3, song.totalTicks() / 2,
                              song.totalTicks()}) {
        double ms = song.tickToMs(tick);
        if (ms < lastMs) fail("tickToMs runs backwards");
        lastMs = ms;
    }
    if (song.tickToMs(0) != 0) fail("the first tick is not at 0 ms");
    if (lastMs > static_cast<double>(length) + 1) fail("the last tick is past the length");
    std::int64_t lastTick = 0;
    for (std::int64_t ms : {std::int64_t{0}, length / 3, length / 2, length}) {
        std::int64_t tick = song.msToTick(static_cast<double>(ms));
        if (tick < lastTick) fail("msToTick runs backwards");
        lastTick = tick;
    }
}

void render() {
    std::vector<std::int16_t> stereo(2 * kBlockFrames);
    for (int i = 0; i < kBlocksEach; ++i) music->render(stereo.data(), kBlockFrames);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    music = std::make_unique<FluidMusic>(kRate);
    music->start(vantorix::defaultSoundFont());
    if (!music->warning().empty()) fail(music->warning().c_str());
    songFile = std::make_unique<vantorix::fuzz::TempFile>(".mid");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    songFile->write(data, size);
    std::string whyNot;
    auto song = music->load(songFile->path(), whyNot);
    if (!song) return 0;
    auto info = MidiFile::parse(std::span(data, size), whyNot);
    if (!info) fail("loaded a song the reader refuses");
    checkTiming(*info);
    auto again = MidiFile::parse(info->playable(), whyNot);
    if (!again || again->playable() != info->playable() || again->lengthMs() != info->lengthMs())
        fail("the rewritten song does not read back as itself");

    std::int64_t length = song->lengthMs();
    for (std::int64_t from : {std::int64_t{0}, length / 2, length}) {
        song->playFrom(from);
        render();
    }
    song->halt();
    render();
    return 0;
}
