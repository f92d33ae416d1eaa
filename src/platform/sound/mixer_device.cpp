#include "platform/sound/mixer_device.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vantorix {

namespace {

constexpr int kBytesPerFrame = 4;  // stereo, 16 bits
// The sound server's buffer for our stream, in ms, unless the player set one.
// SDL asks PulseAudio for one chunk, 11.6 ms, as the whole buffer: the server
// then runs dry many times a minute on a busy machine (a click each time),
// and PipeWire drops its whole graph to a 256-frame period for it. 50 ms cut
// the clicks five- to tenfold and, by pipewire-pulse's rule of half the
// buffer, leave PipeWire at its own period, while the chunk, and with it the
// time from an effect's call to its first sample in our output, stays small
// (docs/performance.md).
constexpr const char* kServerBufferMs = "50";

// ALSA tells stderr every step of a failed open, eight lines before ours when
// there is no sound card: when SDL plays through it, it is told to keep quiet.
// SDL has loaded the library by then; it is not loaded for this alone.
void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}

void quietAlsa() {
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::strcmp(driver, "alsa") != 0) return;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(ignoreAlsa);
    dlclose(alsa);
}

}  // namespace

MixerDevice::MixerDevice(bool silent, Tell tell) : tell_(std::move(tell)) {
    if (const char* driver = SDL_getenv("SDL_AUDIODRIVER")) wanted_ = driver;
    SDL_setenv("PULSE_LATENCY_MSEC", kServerBufferMs, 0);
    if (!silent) {
        heard_ = tryOpen(wanted());
        if (!heard_) warning_ = std::string("no sound device (") + SDL_GetError() + "); playing silently";
    }
    open_ = heard_ || openSilent();
    if (!silent) keeper_ = std::thread([this] { keep(); });
}

const char* MixerDevice::wanted() const { return wanted_.empty() ? nullptr : wanted_.c_str(); }

bool MixerDevice::tryOpen(const char* driver) {
    // SDL's own start of a driver ends the one before, and every device on it.
    device_ = 0;
    if (SDL_AudioInit(driver) != 0) return false;
    quietAlsa();
    SDL_AudioSpec want{};
    want.freq = kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kChunkFrames;
    want.callback = [](void* self, Uint8* stream, int bytes) {
        static_cast<MixerDevice*>(self)->mix(stream, bytes);
    };
    want.userdata = this;
    // Exactly this format: the device converts for the sound card if it must.
    SDL_AudioSpec got;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool MixerDevice::openSilent() { return tryOpen("dummy"); }

bool MixerDevice::heard() {
    std::lock_guard guard(keeperLock_);
    return heard_;
}

void MixerDevice::keep() {
    for (;;) {
        bool heard;
        {
            std::unique_lock guard(keeperLock_);
            auto wait = std::chrono::milliseconds(heard_ ? kLookMs : kRetryMs);
            if (keeperWake_.wait_for(guard, wait, [this] { return stopping_; })) return;
            heard = heard_;
        }
        // A device gone away keeps taking samples in SDL's hands, silently,
        // until the silent one takes over.
        if (heard && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
            openSilent();
            nowHeard(false, "the sound device went away; playing silently until it is back");
        } else if (!heard && tryOpen(wanted())) {
            nowHeard(true, "the sound device is back");
        } else if (!heard) {
            openSilent();
        }
    }
}

void MixerDevice::nowHeard(bool heard, const std::string& line) {
    {
        std::lock_guard guard(keeperLock_);
        heard_ = heard;
    }
    if (tell_) tell_(line);
}

MixerDevice::~MixerDevice() {
    {
        std::lock_guard guard(keeperLock_);
        stopping_ = true;
    }
    keeperWake_.notify_all();
    if (keeper_.joinable()) keeper_.join();
    SDL_AudioQuit();
}

std::unique_ptr<MixerSound> MixerDevice::convert(std::vector<std::uint8_t> wave) const {
    SDL_AudioSpec in;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &in,
                        &samples, &length))
        return nullptr;
    auto sound = std::make_unique<MixerSound>();
    sound->bytes.reset(samples);
    sound->size = length;
    std::vector<std::uint8_t>().swap(wave);
    SDL_AudioCVT cvt;
    int needed = SDL_BuildAudioCVT(&cvt, in.format, in.channels, in.freq, AUDIO_S16SYS, 2, kSampleRate);
    if (needed < 0) return nullptr;
    if (needed == 0) return sound;
    // SDL converts in place, in room for its widest step; the room is given
    // back once the sound has its final length, so nothing is copied out.
    auto* work = static_cast<Uint8*>(SDL_realloc(sound->bytes.get(), static_cast<std::size_t>(length) * cvt.len_mult));
    if (!work) return nullptr;
    sound->bytes.release();
    sound->bytes.reset(work);
    cvt.len = static_cast<int>(length);
    cvt.buf = work;
    if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
    sound->size = static_cast<std::size_t>(cvt.len_cvt);
    if (auto* fitted = static_cast<Uint8*>(SDL_realloc(work, std::max<std::size_t>(sound->size, 1)))) {
        sound->bytes.release();
        sound->bytes.reset(fitted);
    }
    return sound;
}

void MixerDevice::play(int channel, const MixerSound* sound) {
    std::lock_guard guard(lock_);
    bool audible = sound && sound->size > 0;
    channels_[channel] = Channel{audible ? sound : nullptr, 0};
}

void MixerDevice::halt(int channel) {
    std::lock_guard guard(lock_);
    channels_[channel] = Channel{};
}

bool MixerDevice::playing(int channel) {
    std::lock_guard guard(lock_);
    return channels_[channel].sound != nullptr;
}

void MixerDevice::setMusic(MusicSource* music) {
    std::lock_guard guard(lock_);
    music_ = music;
}

void MixerDevice::setVolumes(int music, int effects) {
    std::lock_guard guard(lock_);
    musicVolume_ = std::clamp(music, 0, 100);
    effectsVolume_ = std::clamp(effects, 0, 100) * SDL_MIX_MAXVOLUME / 100;
}

void MixerDevice::setMusicOn(bool on) {
    std::lock_guard guard(lock_);
    musicOn_ = on;
}

void MixerDevice::setHeld(bool held) {
    std::lock_guard guard(lock_);
    held_ = held;
}

void MixerDevice::mix(Uint8* stream, int bytes) {
    std::lock_guard guard(lock_);
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    if (music_ && musicOn_ && !held_) {
        music_->render(samples, bytes / kBytesPerFrame);
        if (musicVolume_ < 100)
            for (int i = 0; i < bytes / 2; ++i) samples[i] = static_cast<std::int16_t>(samples[i] * musicVolume_ / 100);
    } else {
        std::memset(stream, 0, static_cast<std::size_t>(bytes));
    }
    if (held_) return;
    for (Channel& c : channels_) {
        if (!c.sound) continue;
        std::size_t n = std::min(static_cast<std::size_t>(bytes), c.sound->size - c.at);
        SDL_MixAudioFormat(stream, c.sound->bytes.get() + c.at, AUDIO_S16SYS, static_cast<Uint32>(n),
                           effectsVolume_);
        c.at += n;
        if (c.at == c.sound->size) c = Channel{};
    }
}

}  // namespace vantorix
