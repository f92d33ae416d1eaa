#include "platform/sound/mixer_device.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace vantorix {

namespace {

// 512 frames keep an effect's first sample within about 12 ms of its call.
constexpr int kChunkFrames = 512;
constexpr int kBytesPerFrame = 4;  // stereo, 16 bits

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

// The device's lock, held for as long as the object lives.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
    ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device_;
};

}  // namespace

MixerDevice::MixerDevice(bool silent) {
    if (!silent) {
        if (tryOpen()) return;
        warning_ = std::string("no sound device (") + SDL_GetError() + "); playing silently";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    tryOpen();
}

bool MixerDevice::tryOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
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
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_, 0);
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

MixerDevice::~MixerDevice() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    int needed = SDL_BuildAudioCVT(&cvt, in.format, in.channels, in.freq, spec_.format,
                                   spec_.channels, spec_.freq);
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
    if (!open()) return;
    DeviceLock lock(device_);
    bool audible = sound && sound->size > 0;
    channels_[channel] = Channel{audible ? sound : nullptr, 0};
}

void MixerDevice::halt(int channel) {
    if (!open()) return;
    DeviceLock lock(device_);
    channels_[channel] = Channel{};
}

bool MixerDevice::playing(int channel) {
    if (!open()) return false;
    DeviceLock lock(device_);
    return channels_[channel].sound != nullptr;
}

void MixerDevice::setMusic(MusicSource* music) {
    if (!open()) return;
    DeviceLock lock(device_);
    music_ = music;
}

void MixerDevice::setVolumes(int music, int effects) {
    if (!open()) return;
    DeviceLock lock(device_);
    musicVolume_ = std::clamp(music, 0, 100);
    effectsVolume_ = std::clamp(effects, 0, 100) * SDL_MIX_MAXVOLUME / 100;
}

void MixerDevice::setMusicOn(bool on) {
    if (!open()) return;
    DeviceLock lock(device_);
    musicOn_ = on;
}

void MixerDevice::setHeld(bool held) {
    if (!open()) return;
    DeviceLock lock(device_);
    held_ = held;
}

void MixerDevice::mix(Uint8* stream, int bytes) {
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    if (music_ && musicOn_ && !held_) {
        music_->render(samples, bytes / kBytesPerFrame);
        if (musicVolume_ < 100)
            for (int i = 0; i < bytes / 2; ++i) samples[i] = static_cast<std::int16_t>(samples[i] * musicVolume_ / 100);
    } else {
        std::memset(stream, spec_.silence, static_cast<std::size_t>(bytes));
    }
    if (held_) return;
    for (Channel& c : channels_) {
        if (!c.sound) continue;
        std::size_t n = std::min(static_cast<std::size_t>(bytes), c.sound->size - c.at);
        SDL_MixAudioFormat(stream, c.sound->bytes.get() + c.at, spec_.format, static_cast<Uint32>(n),
                           effectsVolume_);
        c.at += n;
        if (c.at == c.sound->size) c = Channel{};
    }
}

}  // namespace vantorix
