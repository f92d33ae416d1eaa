// effect_latency WAV [RUNS]: opens the game's mixer (44100 Hz, 512-frame chunks)
// and plays WAV on the effect channel RUNS times, 100 to 111 ms apart (so the
// calls fall at every point of the chunk), after 2 s for a sound server's stream
// to start taking samples. For each play it
// takes the time from the call until the mixer's callback first hands out a
// non-zero sample of it. Prints "median worst chunk" in milliseconds, chunk
// being the period of one 512-frame buffer.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/sound/mixer_device.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> armed{false};
std::atomic<Clock::rep> calledAt{0};
std::atomic<double> latencyMs{-1};
SDL_AudioCallback mixerCallback = nullptr;
double chunkMs = 0;

// Runs on the audio thread: the mixer's own callback, then a look at what it made.
void watchedCallback(void* mixer, Uint8* stream, int len) {
    mixerCallback(mixer, stream, len);
    if (!armed.load()) return;
    const auto* s = reinterpret_cast<const Sint16*>(stream);
    const bool sounding = std::any_of(s, s + len / 2, [](Sint16 v) { return v != 0; });
    if (!sounding) return;
    const auto now = Clock::now().time_since_epoch().count();
    latencyMs.store(std::chrono::duration<double, std::milli>(Clock::duration(now - calledAt.load())).count());
    armed.store(false);
}

}  // namespace

// The mixer opens its output through here: the callback it asks for is
// wrapped, and SDL's own call does the rest.
extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture, const SDL_AudioSpec* desired,
                                                 SDL_AudioSpec* obtained, int allowed_changes) {
    using Open = SDL_AudioDeviceID (*)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);
    static auto sdlOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "SDL_OpenAudioDevice"));
    SDL_AudioSpec watched = *desired;
    mixerCallback = desired->callback;
    watched.callback = watchedCallback;
    chunkMs = desired->samples * 1000.0 / desired->freq;
    return sdlOpen(device, iscapture, &watched, obtained, allowed_changes);
}

int main(int argc, char** argv) {
    using vantorix::MixerDevice;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WAV [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> wave((std::istreambuf_iterator<char>(in)), {});
    if (SDL_Init(0) != 0) return 1;
    std::vector<double> ms;
    {
        MixerDevice mixer;
        auto sound = mixer.open() ? mixer.convert(wave) : nullptr;
        if (!sound) {
            std::fprintf(stderr, "effect_latency: no audio, or %s is no wave: %s\n", argv[1], SDL_GetError());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
        for (int i = 0; i < runs; ++i) {
            // Silence first, so the buffer we catch holds this play and no earlier one.
            mixer.halt(MixerDevice::kEffectChannel);
            std::this_thread::sleep_for(std::chrono::milliseconds(100 + i * 7 % 12));
            latencyMs.store(-1);
            calledAt.store(Clock::now().time_since_epoch().count());
            armed.store(true);
            mixer.play(MixerDevice::kEffectChannel, sound.get());
            const auto giveUp = Clock::now() + std::chrono::seconds(1);
            while (armed.load() && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::microseconds(200));
            armed.store(false);
            if (latencyMs.load() >= 0) ms.push_back(latencyMs.load());
        }
        mixer.halt(MixerDevice::kEffectChannel);
    }
    SDL_Quit();
    if (ms.empty()) {
        std::fprintf(stderr, "effect_latency: never heard the effect\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    if (static_cast<int>(n) < runs) std::fprintf(stderr, "effect_latency: %d of %d plays unheard\n", runs - static_cast<int>(n), runs);
    std::printf("%.1f %.1f %.1f\n", median, ms.back(), chunkMs);
    return 0;
}
