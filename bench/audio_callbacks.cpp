// audio_callbacks.so: preloaded into the game (LD_PRELOAD), it times every call
// of the audio callback the game opens its sound device with. A callback that
// takes longer than the chunk it fills is one a sound card would have waited
// for: a drop-out. When the game exits (through _Exit, which runs no
// destructors, or otherwise) it appends one line to the file named by
// VANTORIX_BENCH_CALLBACKS:
//   calls median_us worst_us chunk_us calls_longer_than_a_chunk
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

SDL_AudioCallback gameCallback = nullptr;
double chunkUs = 0;
// Preallocated, so timing a call allocates nothing on the audio thread.
std::vector<float> durationsUs;
std::size_t calls = 0;

double nowUs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

void timedCallback(void* userdata, Uint8* stream, int len) {
    const double start = nowUs();
    gameCallback(userdata, stream, len);
    if (calls < durationsUs.size()) durationsUs[calls] = static_cast<float>(nowUs() - start);
    ++calls;
}

void report() {
    static bool reported = false;
    if (std::exchange(reported, true)) return;
    const char* file = std::getenv("VANTORIX_BENCH_CALLBACKS");
    std::size_t n = std::min(calls, durationsUs.size());
    if (!file || n == 0) return;
    std::vector<float> d(durationsUs.begin(), durationsUs.begin() + static_cast<long>(n));
    std::sort(d.begin(), d.end());
    auto late = std::count_if(d.begin(), d.end(), [](float us) { return us > chunkUs; });
    if (std::FILE* out = std::fopen(file, "a")) {
        std::fprintf(out, "%zu %.0f %.0f %.0f %ld\n", n, d[n / 2], d.back(), chunkUs, static_cast<long>(late));
        std::fclose(out);
    }
}

struct ReportAtExit {
    ~ReportAtExit() { report(); }
} reportAtExit;

}  // namespace

extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture,
                                                 const SDL_AudioSpec* desired,
                                                 SDL_AudioSpec* obtained, int allowed_changes) {
    using Open = SDL_AudioDeviceID (*)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);
    static auto realOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "SDL_OpenAudioDevice"));
    if (iscapture || !desired || !desired->callback || gameCallback) {
        return realOpen(device, iscapture, desired, obtained, allowed_changes);
    }
    SDL_AudioSpec timed = *desired;
    gameCallback = desired->callback;
    timed.callback = timedCallback;
    durationsUs.assign(1 << 16, 0.0f);  // over 12 minutes of 512-frame chunks
    SDL_AudioDeviceID id = realOpen(device, iscapture, &timed, obtained, allowed_changes);
    // The callback fills chunks of the size asked for, whatever the device took.
    chunkUs = desired->samples * 1e6 / desired->freq;
    if (id == 0) gameCallback = nullptr;
    return id;
}

// The game ends with _Exit once its settings are written.
extern "C" [[noreturn]] void _Exit(int status) noexcept {
    using Exit = void (*)(int);
    static auto realExit = reinterpret_cast<Exit>(dlsym(RTLD_NEXT, "_Exit"));
    report();
    realExit(status);
    __builtin_unreachable();
}
