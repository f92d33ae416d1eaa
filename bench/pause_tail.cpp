// pause_tail SONG [SOUNDFONT]: what the music does after a pause. Plays SONG
// through the game's own synthesizer (src/platform/sound/fluid_music.cpp, no sound
// device: it renders straight into memory) and halts it at four points, as the
// game does when a game starts or ends. After a halt the notes stop at once,
// but the reverb they fed goes on ringing. For each halt it prints one line:
//
//   HALT_S RMS_BEFORE_DBFS LEVEL_0 LEVEL_100 ... LEVEL_1000
//
// the music's RMS over the second before the halt, then the RMS of each 100 ms
// after it in dB relative to that, and last the milliseconds until the tail is
// 60 dB under the music. Music rendered ahead of time could not hold this
// tail: it depends on everything the reverb heard up to the halt.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sound/fluid_music.h"

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = 512;

double meanSquare(const std::vector<std::int16_t>& stereo) {
    double sum = 0;
    for (std::int16_t s : stereo) sum += static_cast<double>(s) * s;
    return stereo.empty() ? 0 : sum / static_cast<double>(stereo.size());
}

// Stereo frames rendered for about `ms`, in whole chunks as the mixer asks.
std::vector<std::int16_t> render(vantorix::FluidMusic& music, int ms) {
    int chunks = (ms * kRate / 1000 + kChunk - 1) / kChunk;
    std::vector<std::int16_t> stereo(static_cast<std::size_t>(chunks) * kChunk * 2);
    for (int c = 0; c < chunks; ++c) music.render(stereo.data() + static_cast<std::size_t>(c) * kChunk * 2, kChunk);
    return stereo;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pause_tail SONG [SOUNDFONT]\n");
        return 2;
    }
    std::string soundFont = argc > 2 ? argv[2] : vantorix::defaultSoundFont();
    for (int haltS : {5, 12, 21, 30}) {
        vantorix::FluidMusic music(kRate);
        music.start(soundFont);
        if (!music.soundFontReady()) {
            std::fprintf(stderr, "pause_tail: %s\n", music.warning().c_str());
            return 1;
        }
        std::string whyNot;
        auto song = music.load(argv[1], whyNot);
        if (!song) {
            std::fprintf(stderr, "pause_tail: %s: %s\n", argv[1], whyNot.c_str());
            return 1;
        }
        song->playFrom(0);
        render(music, (haltS - 1) * 1000);
        double before = meanSquare(render(music, 1000));
        song->halt();
        std::printf("%d %.1f", haltS, 10 * std::log10(before / (32768.0 * 32768.0)));
        int quietAfterMs = -1;
        for (int at = 0; at < 2000; at += 100) {
            double level = 10 * std::log10(meanSquare(render(music, 100)) / before + 1e-30);
            if (at <= 1000) std::printf(" %.1f", level);
            if (quietAfterMs < 0 && level < -60) quietAfterMs = at;
        }
        std::printf(" %d\n", quietAfterMs);
    }
    return 0;
}
