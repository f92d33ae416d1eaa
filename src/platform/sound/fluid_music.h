#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "media/sequencer.h"
#include "media/sound_font.h"
#include "platform/sound/fluid_library.h"
#include "platform/sound/fluid_sound_fonts.h"
#include "platform/sound/mixer_device.h"

namespace vantorix {

class FluidSong;

// Songs played by FluidSynth inside the mixer's callback. One synth serves every
// song; each loaded song has a player of its own and a SoundFont of the presets
// it can play, taken from the General MIDI one. Songs can be loaded before the
// synthesizer is there: one that plays waits at its start, silently, until it is.
// FluidSynth's player runs inside rendering without a lock of its own, so every
// player call and the render itself go under one mutex of ours. Nothing slow is
// done under it, so that the audio thread never waits long: SoundFonts are read
// and deleted on a synthesizer of their own (SoundFontReader), made when first
// needed, and only put on and taken off the one that plays under the lock;
// those of the songs opened before the synthesizer comes are read on it before
// the audio thread has it. A song's voices are counted before it plays. A
// song's samples are all read when it is opened: the audio thread never waits
// for the SoundFont file. The exception is a SoundFont that cannot be cut, a
// compressed one among them: loaded whole, it is read (and decoded) as the
// channels choose its presets, since reading all of a large compressed set up
// front would take seconds and hundreds of megabytes.
class FluidMusic : public MusicSource {
public:
    explicit FluidMusic(int sampleRate);
    ~FluidMusic() override;
    FluidMusic(const FluidMusic&) = delete;
    FluidMusic& operator=(const FluidMusic&) = delete;

    // The voices the synthesizer starts with. Our songs sound at most 41 at
    // once, and a test keeps them within three quarters of it; each voice
    // costs 10 kB. A song that holds more notes gets more as it is attached,
    // up to FluidSynth's own 256.
    static constexpr int kPolyphony = 64;
    static constexpr int kMostPolyphony = 256;

    // Sets the synthesizer up with `soundFont`; when that is empty or missing,
    // or FluidSynth cannot be loaded, songs play silently, at the same pace.
    // Slow (FluidSynth and its libraries, the SoundFont's tables): run it off
    // the window's thread, once.
    void start(const std::string& soundFont);
    // Once started: what to tell the player on stderr, or nothing.
    std::string warning();
    // Once started: true when songs are heard.
    bool soundFontReady();
    // Loads a song checked by our own reader; null and a reason for a bad file.
    std::unique_ptr<Sequencer> load(const std::string& path, std::string& whyNot);
    // Renders stereo 16-bit frames of music.
    void render(std::int16_t* stereo, int frames) override;

    // Frames rendered so far, the music's own clock: read without the lock,
    // so that asking a song's position never waits for a render.
    std::int64_t framesRendered() const { return frames_.load(std::memory_order_relaxed); }
    std::mutex& lock() { return mutex_; }
    // Null until started, and after a start that found no way to sound.
    const FluidLibrary* fluid() const { return fluid_; }
    fluid_synth_t* synth() { return synth_; }
    int sampleRate() const { return rate_; }

private:
    friend class FluidSong;
    enum class State { Coming, Ready, Silent };

    // SoundFonts read for songs not yet given theirs, by the songs' programs;
    // null where FluidSynth refused one.
    using Loaded = std::vector<std::pair<std::bitset<128>, fluid_sfont_t*>>;

    // The SoundFont of the presets a song with these programs can select.
    static std::shared_ptr<const SoundFontImage> image(const SoundFontIndex& index, const std::bitset<128>& programs);
    // The programs of the songs that `loaded` holds nothing for, one entry a song.
    // Those `loaded` holds for no song are moved to `closed`.
    std::vector<std::bitset<128>> unloadedLocked(Loaded& loaded, Loaded& closed) const;
    // A SoundFont read for these programs, taken; null if there is none.
    static fluid_sfont_t* takeLoaded(Loaded& loaded, const std::bitset<128>& programs);
    // Made the first time a SoundFont is read or deleted once the synthesizer
    // plays: none is needed on the title screen, whose song is opened before.
    SoundFontReader& reader();
    // The whole SoundFont, read the first time a song has none of its own;
    // null after that, and when FluidSynth refuses it.
    fluid_sfont_t* readWholeOnce();
    void addSoundFontLocked(fluid_sfont_t* soundFont);
    void growLocked(int voices);
    // A closed song's SoundFont is unloaded once the voices cut when it closed
    // have let go of its samples, a render or two later: before that FluidSynth
    // could not delete it, and would leave it to a timer thread of its own,
    // racing the audio thread.
    void unloadSoundFontLocked(fluid_sfont_t* soundFont);
    void unloadDue();
    void forgetLocked(FluidSong* song);

    int rate_;
    std::string soundFontPath_;
    std::mutex mutex_;
    State state_ = State::Coming;
    std::atomic<std::int64_t> frames_ = 0;
    int polyphony_ = kPolyphony;
    std::string warning_;
    const FluidLibrary* fluid_ = nullptr;
    fluid_settings_t* settings_ = nullptr;
    fluid_settings_t* eager_ = nullptr;  // for images, every sample read at once
    std::once_flag readerMade_;
    std::unique_ptr<SoundFontReader> reader_;
    fluid_synth_t* synth_ = nullptr;
    std::optional<SoundFontIndex> index_;  // none: the SoundFont is loaded whole
    std::mutex wholeLock_;  // songs opened on several threads read the whole SoundFont once
    bool wholeRead_ = false;
    std::set<FluidSong*> songs_;
    static constexpr int kRendersToLetGo = 2;
    std::int64_t renders_ = 0;
    std::vector<std::pair<fluid_sfont_t*, std::int64_t>> unloading_;  // and the render that lets each go
    std::atomic<bool> anyUnloading_ = false;  // whether unloading_ holds any, seen without the lock
};

// The General MIDI SoundFont that Debian installs, if there is one.
std::string defaultSoundFont();

}  // namespace vantorix
