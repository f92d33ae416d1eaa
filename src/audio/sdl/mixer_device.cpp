#include "audio/sdl/mixer_device.h"

#include <algorithm>
#include <cstring>

namespace vantorix {

namespace {

// 512 frames keep an effect's first sample within about 12 ms of its call.
constexpr int kChunkFrames = 512;
constexpr int kBytesPerFrame = 4;  // stereo, 16 bits

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

std::unique_ptr<MixerSound> MixerDevice::convert(const std::vector<std::uint8_t>& wave) const {
    SDL_AudioSpec in;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &in,
                        &samples, &length))
        return nullptr;
    std::unique_ptr<Uint8, void (*)(Uint8*)> loaded(samples, SDL_FreeWAV);
    SDL_AudioCVT cvt;
    int needed = SDL_BuildAudioCVT(&cvt, in.format, in.channels, in.freq, spec_.format,
                                   spec_.channels, spec_.freq);
    if (needed < 0) return nullptr;
    auto sound = std::make_unique<MixerSound>();
    if (needed == 0) {
        sound->bytes.assign(samples, samples + length);
        return sound;
    }
    // SDL converts in place in a buffer room for its widest step needs: left
    // unwritten beyond what it uses, and let go once the sound is copied out.
    std::unique_ptr<Uint8[]> work(new Uint8[static_cast<std::size_t>(length) * cvt.len_mult]);
    std::memcpy(work.get(), samples, length);
    cvt.len = static_cast<int>(length);
    cvt.buf = work.get();
    if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
    sound->bytes.assign(work.get(), work.get() + cvt.len_cvt);
    return sound;
}

void MixerDevice::play(int channel, const MixerSound* sound) {
    if (!open()) return;
    DeviceLock lock(device_);
    bool audible = sound && !sound->bytes.empty();
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

void MixerDevice::mix(Uint8* stream, int bytes) {
    if (music_)
        music_->render(reinterpret_cast<std::int16_t*>(stream), bytes / kBytesPerFrame);
    else
        std::memset(stream, spec_.silence, static_cast<std::size_t>(bytes));
    for (Channel& c : channels_) {
        if (!c.sound) continue;
        std::size_t n = std::min(static_cast<std::size_t>(bytes), c.sound->bytes.size() - c.at);
        SDL_MixAudioFormat(stream, c.sound->bytes.data() + c.at, spec_.format, static_cast<Uint32>(n),
                           SDL_MIX_MAXVOLUME);
        c.at += n;
        if (c.at == c.sound->bytes.size()) c = Channel{};
    }
}

}  // namespace vantorix
