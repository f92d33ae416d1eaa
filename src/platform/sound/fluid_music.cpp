#include "platform/sound/fluid_music.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <malloc.h>

#include "media/file_bytes.h"
#include "media/midi_file.h"

namespace vantorix {

namespace {

// The synthesizer's output level. FluidSynth's own 0.2 leaves General MIDI songs
// some 16 dB under the effects; at this gain the play music sits about 5 dB
// under them, measured as RMS through the mixer (bench/mix_levels), and the
// louder of our songs peaks near -3 dBFS with all of its parts sounding.
constexpr double kMusicGain = 0.7;
// Our densest song holds 7 notes at once and sounds 41 voices, its drums'
// tails and stereo pairs counted: about six a note. Voices left free beyond
// that: more than a chunk of a dense song starts.
constexpr int kVoicesPerNote = 6;
constexpr int kSpareVoices = 16;

const char* const kNoSoundFont =
    "no General MIDI SoundFont found (install the Debian package timgm6mb-soundfont); the music is silent";

fluid_settings_t* newSettings(const FluidLibrary& fluid, int sampleRate) {
    fluid_settings_t* settings = fluid.new_fluid_settings();
    fluid.fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid.fluid_settings_setnum(settings, "synth.gain", kMusicGain);
    fluid.fluid_settings_setint(settings, "synth.polyphony", FluidMusic::kPolyphony);
    fluid.fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid.fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    // A SoundFont that cannot be cut to a song's presets is loaded whole, and
    // then only the samples of the presets the channels choose are read.
    fluid.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    return settings;
}

// The synthesizer that plays, with the loaders the reader has: the songs
// opened before it comes have their SoundFonts read on it, and a synthesizer
// for the reader alone would stay resident from the title screen on.
fluid_synth_t* newSynth(const FluidLibrary& fluid, fluid_settings_t* settings, fluid_settings_t* eager) {
    fluid_synth_t* synth = fluid.new_fluid_synth(settings);
    if (!synth) return nullptr;
    addSoundFontLoaders(fluid, synth, eager, settings);
    // Chorus costs a third of the rendering and adds little to these songs;
    // linear interpolation is plenty for a 6 MB General MIDI set at 44.1 kHz.
    fluid.fluid_synth_chorus_on(synth, -1, 0);
    fluid.fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_LINEAR);
    return synth;
}

// The voices a song needs: the synthesizer's first count, doubled as often as
// the notes it sounds at once ask, up to FluidSynth's own 256.
int voicesFor(const MidiFile& song) {
    int voices = FluidMusic::kPolyphony;
    while (voices < FluidMusic::kMostPolyphony && voices < kVoicesPerNote * song.mostNotesAtOnce() + kSpareVoices)
        voices *= 2;
    return voices;
}

}  // namespace

class FluidSong : public Sequencer {
public:
    FluidSong(FluidMusic& music, MidiFile info)
        : music_(music), info_(std::move(info)), voices_(voicesFor(info_)) {}

    ~FluidSong() override {
        std::lock_guard guard(music_.lock());
        if (player_) {
            fluid().fluid_player_stop(player_);
            fluid().delete_fluid_player(player_);
            // A player deleted while sounding leaves its notes hanging.
            fluid().fluid_synth_all_sounds_off(music_.synth(), -1);
        }
        music_.unloadSoundFontLocked(soundFont_);
        music_.forgetLocked(this);
    }

    const std::bitset<128>& programs() const { return info_.programs(); }
    int voices() const { return voices_; }

    // Gives the song its voices, its player and its SoundFont (null: none
    // could be read for it, and it plays from the whole one), and sounds it if
    // it plays.
    void attachLocked(fluid_sfont_t* soundFont) {
        music_.growLocked(voices_);
        music_.addSoundFontLocked(soundFont);
        soundFont_ = soundFont;
        player_ = fluid().new_fluid_player(music_.synth());
        const auto& song = info_.playable();
        if (player_ && fluid().fluid_player_add_mem(player_, song.data(), song.size()) != FLUID_OK) {
            fluid().delete_fluid_player(player_);
            player_ = nullptr;
        }
        if (playing_) startPlayerLocked();
    }

    std::int64_t lengthMs() const override { return info_.lengthMs(); }

    void playFrom(std::int64_t positionMs) override {
        std::lock_guard guard(music_.lock());
        startMs_ = positionMs;
        startFrame_ = music_.framesRendered();
        playing_ = true;
        startPlayerLocked();
    }

    void halt() override {
        std::lock_guard guard(music_.lock());
        if (!playing_) return;
        startMs_ = position();
        playing_ = false;
        if (!player_) return;
        fluid().fluid_player_stop(player_);
        fluid().fluid_synth_all_sounds_off(music_.synth(), -1);
    }

    std::int64_t positionMs() override {
        // Asked every few milliseconds: a closed song's SoundFont goes here.
        music_.unloadDue();
        // No lock: the start is set on this thread alone, and the clock is read as it stands.
        return position();
    }

    // Our own clock, not the player's status: DONE comes seconds after the last
    // note, and a restarted player reads DONE until its first block.
    bool finished() override { return positionMs() >= info_.lengthMs(); }

private:
    const FluidLibrary& fluid() const { return *music_.fluid(); }

    // Stop, seek, play: the seek takes effect on the first block rendered after.
    void startPlayerLocked() {
        if (!player_) return;
        fluid().fluid_player_stop(player_);
        fluid().fluid_synth_all_sounds_off(music_.synth(), -1);
        fluid().fluid_player_seek(player_, static_cast<int>(info_.msToTick(static_cast<double>(startMs_))));
        fluid().fluid_player_play(player_);
    }

    std::int64_t position() const {
        if (!playing_) return startMs_;
        return startMs_ + (music_.framesRendered() - startFrame_) * 1000 / music_.sampleRate();
    }

    FluidMusic& music_;
    MidiFile info_;
    const int voices_;
    fluid_player_t* player_ = nullptr;
    fluid_sfont_t* soundFont_ = nullptr;
    bool playing_ = false;
    std::int64_t startMs_ = 0;
    std::int64_t startFrame_ = 0;
};

FluidMusic::FluidMusic(int sampleRate) : rate_(sampleRate) {}

FluidMusic::~FluidMusic() {
    // SoundFonts keep a pointer to the reader's loaders: it goes after the
    // synthesizer they are on.
    if (synth_) fluid_->delete_fluid_synth(synth_);
    reader_.reset();
    if (eager_) fluid_->delete_fluid_settings(eager_);
    if (settings_) fluid_->delete_fluid_settings(settings_);
}

void FluidMusic::start(const std::string& soundFont) {
    std::string warning, why;
    const FluidLibrary* fluid = nullptr;
    fluid_settings_t* settings = nullptr;
    fluid_settings_t* eager = nullptr;
    fluid_synth_t* synth = nullptr;
    std::optional<SoundFontIndex> index;
    int polyphony = kPolyphony;
    bool wholeRead = false;
    Loaded loaded;
    if (!isFile(soundFont)) {
        warning = kNoSoundFont;
    } else if (!(fluid = fluidLibrary(why))) {
        warning = "the synthesizer FluidSynth cannot be loaded (" + why +
                  "; install the Debian package libfluidsynth3); the music is silent";
    } else {
        quietFluid(*fluid);
        settings = newSettings(*fluid, rate_);
        eager = newEagerSettings(*fluid);
        synth = newSynth(*fluid, settings, eager);
        // Each song gets the presets it can select: most of a General MIDI set's
        // memory is its samples, and few songs use more than a handful of its
        // instruments. A SoundFont that cannot be cut so is loaded whole.
        // The first SoundFont cut, a waiting song's if there is one, tells
        // whether FluidSynth takes the pieces of this file.
        index = SoundFontIndex::read(soundFont, why);
        std::bitset<128> programs;
        {
            std::lock_guard guard(mutex_);
            if (!songs_.empty()) programs = (*songs_.begin())->programs();
        }
        fluid_sfont_t* first = index ? readImage(*fluid, synth, image(*index, programs)) : nullptr;
        if (first) loaded.emplace_back(programs, first);
        bool whole = false;
        if (!first) {
            index.reset();
            wholeRead = true;
            // The samples of the presets its channels start on are read here.
            whole = fluid->fluid_synth_sfload(synth, soundFont.c_str(), 1) != FLUID_FAILED;
        }
        if (!index && !whole) {
            warning = "the SoundFont " + soundFont + " cannot be loaded (reinstall the Debian package " +
                      "timgm6mb-soundfont, or choose a working one); the music is silent";
            fluid->delete_fluid_synth(synth);
            fluid->delete_fluid_settings(eager);
            fluid->delete_fluid_settings(settings);
            synth = nullptr;
            eager = settings = nullptr;
        }
    }
    // The songs opened so far get their SoundFonts and voices here, on the
    // synthesizer before the audio thread has it: no lock is held while they
    // are read.
    for (;;) {
        std::vector<std::bitset<128>> waiting;
        Loaded closed;
        int voices = kPolyphony;
        {
            std::lock_guard guard(mutex_);
            if (index) waiting = unloadedLocked(loaded, closed);
            for (const FluidSong* song : songs_) voices = std::max(voices, song->voices());
            if (!synth || (waiting.empty() && closed.empty() && voices <= polyphony)) {
                soundFontPath_ = soundFont;
                warning_ = warning;
                fluid_ = synth ? fluid : nullptr;
                settings_ = settings;
                eager_ = eager;
                synth_ = synth;
                polyphony_ = polyphony;
                index_ = std::move(index);
                wholeRead_ = wholeRead;
                state_ = synth ? State::Ready : State::Silent;
                if (synth)
                    for (FluidSong* song : songs_) song->attachLocked(takeLoaded(loaded, song->programs()));
                return;
            }
        }
        // Those of songs closed meanwhile, and the first when no song was
        // open, go while the synthesizer is still ours: no reader is needed yet.
        for (auto [programs, read] : closed)
            if (read) unloadSoundFont(*fluid, synth, read);
        for (const auto& programs : waiting)
            loaded.emplace_back(programs, readImage(*fluid, synth, image(*index, programs)));
        // A song whose SoundFont FluidSynth refused plays from the whole one.
        if (!wholeRead && std::ranges::any_of(loaded, [](const auto& read) { return !read.second; })) {
            wholeRead = true;
            fluid->fluid_synth_sfload(synth, soundFont.c_str(), 1);
        }
        if (voices > polyphony) {
            polyphony = voices;
            fluid->fluid_synth_set_polyphony(synth, polyphony);
        }
    }
}

std::vector<std::bitset<128>> FluidMusic::unloadedLocked(Loaded& loaded, Loaded& closed) const {
    std::vector<bool> taken(loaded.size());
    std::vector<std::bitset<128>> waiting;
    for (const FluidSong* song : songs_) {
        std::size_t i = 0;
        while (i < loaded.size() && (taken[i] || loaded[i].first != song->programs())) ++i;
        if (i < loaded.size()) {
            taken[i] = true;
        } else {
            waiting.push_back(song->programs());
        }
    }
    Loaded kept;
    for (std::size_t i = 0; i < loaded.size(); ++i) (taken[i] ? kept : closed).push_back(loaded[i]);
    loaded = std::move(kept);
    return waiting;
}

fluid_sfont_t* FluidMusic::takeLoaded(Loaded& loaded, const std::bitset<128>& programs) {
    auto found = std::ranges::find(loaded, programs, &Loaded::value_type::first);
    if (found == loaded.end()) return nullptr;
    fluid_sfont_t* soundFont = found->second;
    loaded.erase(found);
    return soundFont;
}

std::string FluidMusic::warning() {
    std::lock_guard guard(mutex_);
    return warning_;
}

bool FluidMusic::soundFontReady() {
    std::lock_guard guard(mutex_);
    return state_ == State::Ready;
}

std::shared_ptr<const SoundFontImage> FluidMusic::image(const SoundFontIndex& index, const std::bitset<128>& programs) {
    // Every channel starts on program 0, and the drums on bank 128's.
    return std::make_shared<SoundFontImage>(index.subset(programs | std::bitset<128>(1)));
}

SoundFontReader& FluidMusic::reader() {
    std::call_once(readerMade_, [this] { reader_ = std::make_unique<SoundFontReader>(*fluid_, eager_, settings_); });
    return *reader_;
}

fluid_sfont_t* FluidMusic::readWholeOnce() {
    std::lock_guard reading(wholeLock_);
    return std::exchange(wholeRead_, true) ? nullptr : reader().readWhole(soundFontPath_);
}

void FluidMusic::addSoundFontLocked(fluid_sfont_t* soundFont) {
    // Quick: the channels choose their presets anew from SoundFonts in memory.
    if (soundFont) fluid_->fluid_synth_add_sfont(synth_, soundFont);
}

// FluidSynth allocates the new voices here, under the lock, since a
// synthesizer that renders must not be touched outside it. Our songs never
// need more than it starts with; a denser one grows it once, before it plays.
void FluidMusic::growLocked(int voices) {
    if (voices <= polyphony_) return;
    polyphony_ = voices;
    fluid_->fluid_synth_set_polyphony(synth_, voices);
}

void FluidMusic::unloadSoundFontLocked(fluid_sfont_t* soundFont) {
    if (!soundFont) return;
    unloading_.emplace_back(soundFont, renders_ + kRendersToLetGo);
    anyUnloading_ = true;
}

void FluidMusic::unloadDue() {
    if (!anyUnloading_) return;
    std::vector<fluid_sfont_t*> due;
    {
        std::lock_guard guard(mutex_);
        std::erase_if(unloading_, [&](const std::pair<fluid_sfont_t*, std::int64_t>& unloading) {
            if (renders_ < unloading.second) return false;
            // Quick: channels still on its presets take them afresh from what
            // stays. The reader deletes it, away from the lock.
            fluid_->fluid_synth_remove_sfont(synth_, unloading.first);
            due.push_back(unloading.first);
            return true;
        });
        anyUnloading_ = !unloading_.empty();
    }
    if (due.empty()) return;
    for (fluid_sfont_t* soundFont : due) reader().unload(soundFont);
    // Its samples were mostly read on another thread, into a heap of that
    // thread's that little else uses: give their pages back, or they stay
    // resident beside the next song's.
    malloc_trim(0);
}

void FluidMusic::forgetLocked(FluidSong* song) { songs_.erase(song); }

std::unique_ptr<Sequencer> FluidMusic::load(const std::string& path, std::string& whyNot) {
    auto bytes = readFileCapped(path, MidiFile::kMaxBytes, whyNot);
    if (!bytes) return nullptr;
    auto info = MidiFile::parse(*bytes, whyNot);
    if (!info) return nullptr;
    auto song = std::make_unique<FluidSong>(*this, std::move(*info));
    {
        std::lock_guard guard(mutex_);
        songs_.insert(song.get());
        // Until the synthesizer is there, start() reads the song's SoundFont.
        if (state_ != State::Ready) return song;
    }
    // Ready is for good, and with it the index: read the song's presets here,
    // while the music plays on.
    fluid_sfont_t* own = index_ ? reader().readImage(image(*index_, song->programs())) : nullptr;
    fluid_sfont_t* whole = own ? nullptr : readWholeOnce();
    unloadDue();
    std::lock_guard guard(mutex_);
    addSoundFontLocked(whole);
    song->attachLocked(own);
    return song;
}

void FluidMusic::render(std::int16_t* stereo, int frames) {
    std::lock_guard guard(mutex_);
    if (synth_) {
        fluid_->fluid_synth_write_s16(synth_, frames, stereo, 0, 2, stereo, 1, 2);
        ++renders_;
    } else {
        std::memset(stereo, 0, static_cast<std::size_t>(frames) * 2 * sizeof(std::int16_t));
    }
    // Until the synthesizer is there, a playing song waits at its start.
    if (state_ != State::Coming) frames_.store(frames_.load(std::memory_order_relaxed) + frames, std::memory_order_relaxed);
}

std::string defaultSoundFont() {
    for (const char* candidate : {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                  "/usr/share/sounds/sf2/default-GM.sf2",
                                  "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return {};
}

}  // namespace vantorix
