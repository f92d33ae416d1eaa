// effect_latency WAV [RUNS]: opens the mixer as the game does (44100 Hz, 512-frame
// chunks) and plays WAV on channel 0 RUNS times, 100 ms apart. For each play it
// takes the time from the call until the post-mix callback that first hands out
// a non-zero sample of it. Prints "median worst chunk" in milliseconds, chunk
// being the period of one 512-frame buffer.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kChunkFrames = 512;

std::atomic<bool> armed{false};
std::atomic<Clock::rep> calledAt{0};
std::atomic<double> latencyMs{-1};

// Runs on the audio thread once each buffer is mixed.
void afterMix(void*, Uint8* stream, int len) {
    if (!armed.load()) return;
    const auto* s = reinterpret_cast<const Sint16*>(stream);
    const bool sounding = std::any_of(s, s + len / 2, [](Sint16 v) { return v != 0; });
    if (!sounding) return;
    const auto now = Clock::now().time_since_epoch().count();
    latencyMs.store(std::chrono::duration<double, std::milli>(Clock::duration(now - calledAt.load())).count());
    armed.store(false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WAV [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
    if (SDL_Init(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kChunkFrames, nullptr, 0) != 0) {
        std::fprintf(stderr, "effect_latency: no audio: %s\n", SDL_GetError());
        return 1;
    }
    Mix_AllocateChannels(2);
    Mix_Chunk* chunk = Mix_LoadWAV(argv[1]);
    if (!chunk) {
        std::fprintf(stderr, "effect_latency: %s\n", Mix_GetError());
        return 1;
    }
    Mix_SetPostMix(afterMix, nullptr);

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        // Silence first, so the buffer we catch holds this play and no earlier one.
        Mix_HaltChannel(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        latencyMs.store(-1);
        calledAt.store(Clock::now().time_since_epoch().count());
        armed.store(true);
        Mix_PlayChannel(0, chunk, 0);
        const auto giveUp = Clock::now() + std::chrono::seconds(1);
        while (armed.load() && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::microseconds(200));
        armed.store(false);
        if (latencyMs.load() >= 0) ms.push_back(latencyMs.load());
    }
    Mix_HaltChannel(0);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_Quit();
    if (ms.empty()) {
        std::fprintf(stderr, "effect_latency: never heard the effect\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    if (static_cast<int>(n) < runs) std::fprintf(stderr, "effect_latency: %d of %d plays unheard\n", runs - static_cast<int>(n), runs);
    std::printf("%.1f %.1f %.1f\n", median, ms.back(), kChunkFrames * 1000.0 / kRate);
    return 0;
}
