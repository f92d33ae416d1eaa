#pragma once

#include <SDL.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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
// A sound device that was missing at the start, or goes away (its server
// restarted), is tried again every few seconds on a thread of the mixer's own,
// and `tell` gets one line when sound is lost and one when it is back. What
// plays is the mixer's, not the device's: the music and the effects go on
// from where they are on whichever output takes them.
class MixerDevice {
public:
    using Tell = std::function<void(const std::string& line)>;
    explicit MixerDevice(bool silent = false, Tell tell = {});
    // Waits for the keeper and SDL's audio thread, which a stalled sound
    // server can hold: the game ends without it (main.cpp).
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    // The output's fixed rate, known before the device opens.
    static constexpr int kSampleRate = 44100;
    static constexpr int kEffectChannel = 0;
    static constexpr int kBeepChannel = 1;
    // Frames a callback fills: 512 keep an effect's first sample within about
    // 12 ms of its call. The server's buffer is set apart (mixer_device.cpp).
    static constexpr int kChunkFrames = 512;
    // How often a missing device is tried again, and a playing one looked at.
    static constexpr int kRetryMs = 2000;
    static constexpr int kLookMs = 200;

    // An output, real or silent, took the samples from the start.
    bool open() const { return open_; }
    int sampleRate() const { return kSampleRate; }
    // The time one chunk takes to play.
    static constexpr int chunkMs() { return (kChunkFrames * 1000 + kSampleRate - 1) / kSampleRate; }
    // Set when the real device failed at the start: what to tell the player on stderr.
    const std::string& warning() const { return warning_; }
    // Whether the player's sound device, not the silent one, takes the samples.
    bool heard();

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
    // Starts `driver` (null: the player's choice) and opens its device; false
    // and SDL's reason when either fails. Only the constructor and the keeper
    // call SDL's audio functions, so none of them races another.
    bool tryOpen(const char* driver);
    bool openSilent();
    const char* wanted() const;
    void nowHeard(bool heard, const std::string& line);
    // The keeper's loop: looks for a lost device, and tries a missing one again.
    void keep();
    void mix(Uint8* stream, int bytes);

    Tell tell_;
    std::string wanted_;  // SDL_AUDIODRIVER as the player set it
    bool open_ = false;
    SDL_AudioDeviceID device_ = 0;  // the keeper's, once it runs
    std::string warning_;
    std::mutex keeperLock_;
    std::condition_variable keeperWake_;
    bool stopping_ = false;
    bool heard_ = false;  // under keeperLock_
    std::thread keeper_;
    // What plays, shared by the window's thread and whichever audio thread
    // calls mix(); never held while SDL opens or closes a device.
    std::mutex lock_;
    MusicSource* music_ = nullptr;
    Channel channels_[2];
    int musicVolume_ = 100;
    int effectsVolume_ = SDL_MIX_MAXVOLUME;  // in SDL's own steps
    bool musicOn_ = true;
    bool held_ = false;
};

}  // namespace vantorix
