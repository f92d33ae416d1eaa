#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantorix {

// Where the music comes from: fills stereo 16-bit frames on the audio thread.
class MusicSource {
public:
    virtual ~MusicSource() = default;
    virtual void render(std::int16_t* stereo, int frames) = 0;
};

// A sound converted to the output's format, ready to mix, in the very buffer
// SDL loaded and converted it in.
struct MixerSound {
    std::unique_ptr<Uint8, void (*)(void*)> bytes{nullptr, SDL_free};
    std::size_t size = 0;
};

// The one SDL audio output the music and the effects share: the music fills
// each chunk, then every channel that plays adds its sound at the effects'
// volume, clipped. With no usable sound device, or when asked to be `silent`, it plays
// on SDL's dummy driver: nothing is heard, and every sound still takes its length.
class MixerDevice {
public:
    explicit MixerDevice(bool silent = false);
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    // The output's fixed rate, known before the device opens.
    static constexpr int kSampleRate = 44100;
    static constexpr int kEffectChannel = 0;
    static constexpr int kBeepChannel = 1;

    bool open() const { return device_ != 0; }
    int sampleRate() const { return kSampleRate; }
    // Set when the real device failed: what to tell the player on stderr.
    const std::string& warning() const { return warning_; }

    // A wave file's bytes as SDL's loader reads them, in the output's format;
    // null when SDL cannot read them. The file's bytes are let go once read.
    std::unique_ptr<MixerSound> convert(std::vector<std::uint8_t> wave) const;
    // Starts `sound` on `channel`, cutting what played there. The sound must
    // outlive its play: until it ends, the channel is halted or another starts.
    void play(int channel, const MixerSound* sound);
    void halt(int channel);
    bool playing(int channel);
    // Sets the music, or none; rendered from the next chunk on.
    void setMusic(MusicSource* music);
    // The music's and the effects' volumes, 0 to 100; 100 leaves each as made.
    // Every sound still takes its length at 0.
    void setVolumes(int music, int effects);
    // Music off is not rendered at all: it stands where it was until it is on.
    void setMusicOn(bool on);
    // Held, nothing plays and nothing moves on: the music and every sound go
    // on from where they stood when let go.
    void setHeld(bool held);

private:
    struct Channel {
        const MixerSound* sound = nullptr;
        std::size_t at = 0;
    };
    bool tryOpen();
    void mix(Uint8* stream, int bytes);

    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec spec_{};
    std::string warning_;
    MusicSource* music_ = nullptr;
    Channel channels_[2];
    int musicVolume_ = 100;
    int effectsVolume_ = SDL_MIX_MAXVOLUME;  // in SDL's own steps
    bool musicOn_ = true;
    bool held_ = false;
};

}  // namespace vantorix
