#include "audio/sdl/fluid_music.h"

#include <glib.h>

#include <filesystem>

#include "audio/file_bytes.h"
#include "audio/midi_file.h"

namespace vantorix {

namespace {

// The synthesizer's output level. FluidSynth's own 0.2 leaves General MIDI songs
// some 16 dB under the effects; at this gain the play music sits about 5 dB
// under them, measured as RMS through the mixer (bench/mix_levels), and the
// louder of our songs peaks near -3 dBFS with all of its parts sounding.
constexpr double kMusicGain = 0.7;

class FluidSong : public Sequencer {
public:
    FluidSong(FluidMusic& music, MidiFile info, fluid_player_t* player)
        : music_(music), info_(std::move(info)), player_(player) {}

    ~FluidSong() override {
        std::lock_guard guard(music_.lock());
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        // A player deleted while sounding leaves its notes hanging.
        fluid_synth_all_sounds_off(music_.synth(), -1);
    }

    std::int64_t lengthMs() const override { return info_.lengthMs(); }

    void playFrom(std::int64_t positionMs) override {
        std::lock_guard guard(music_.lock());
        // Stop, seek, play: the seek takes effect on the first block rendered after.
        fluid_player_stop(player_);
        fluid_synth_all_sounds_off(music_.synth(), -1);
        fluid_player_seek(player_, static_cast<int>(info_.msToTick(static_cast<double>(positionMs))));
        fluid_player_play(player_);
        startMs_ = positionMs;
        startFrame_ = framesLocked();
        playing_ = true;
    }

    void halt() override {
        std::lock_guard guard(music_.lock());
        if (!playing_) return;
        startMs_ = positionLocked();
        playing_ = false;
        fluid_player_stop(player_);
        fluid_synth_all_sounds_off(music_.synth(), -1);
    }

    std::int64_t positionMs() override {
        std::lock_guard guard(music_.lock());
        return positionLocked();
    }

    // Our own clock, not the player's status: DONE comes seconds after the last
    // note, and a restarted player reads DONE until its first block.
    bool finished() override { return positionMs() >= info_.lengthMs(); }

private:
    std::int64_t framesLocked() const { return music_.framesRenderedLocked(); }
    std::int64_t positionLocked() const {
        if (!playing_) return startMs_;
        return startMs_ + (framesLocked() - startFrame_) * 1000 / music_.sampleRate();
    }

    FluidMusic& music_;
    MidiFile info_;
    fluid_player_t* player_;
    bool playing_ = false;
    std::int64_t startMs_ = 0;
    std::int64_t startFrame_ = 0;
};

}  // namespace

FluidMusic::FluidMusic(int sampleRate, const std::string& soundFont)
    : rate_(sampleRate), soundFont_(soundFont) {
    // Our own line says what went wrong, once; FluidSynth's would say it again,
    // and so would its DLS loader, through GLib's log.
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    g_log_set_handler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
                      [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings_, "synth.gain", kMusicGain);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = new_fluid_synth(settings_);
    // Chorus costs a third of the rendering and adds little to these songs;
    // linear interpolation is plenty for a 6 MB General MIDI set at 44.1 kHz.
    fluid_synth_chorus_on(synth_, -1, 0);
    fluid_synth_set_interp_method(synth_, -1, FLUID_INTERP_LINEAR);
    std::error_code error;
    if (soundFont.empty() || !std::filesystem::is_regular_file(soundFont, error)) {
        warning_ = "no General MIDI SoundFont found (install the Debian package "
                   "timgm6mb-soundfont); the music is silent";
        return;
    }
    soundFontLoaded_ = std::async(std::launch::async, [this, soundFont] {
        std::lock_guard guard(mutex_);
        return fluid_synth_sfload(synth_, soundFont.c_str(), 1) != FLUID_FAILED;
    }).share();
}

bool FluidMusic::soundFontReady() {
    return soundFontLoaded_.valid() && soundFontLoaded_.get();
}

const std::string& FluidMusic::warning() {
    if (warning_.empty() && !soundFontReady())
        warning_ = "the SoundFont " + soundFont_ + " cannot be loaded (reinstall the Debian " +
                   "package timgm6mb-soundfont, or choose a working one); the music is silent";
    return warning_;
}

FluidMusic::~FluidMusic() {
    if (soundFontLoaded_.valid()) soundFontLoaded_.wait();
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

std::unique_ptr<Sequencer> FluidMusic::load(const std::string& path, std::string& whyNot) {
    auto bytes = readFileCapped(path, MidiFile::kMaxBytes, whyNot);
    if (!bytes) return nullptr;
    auto info = MidiFile::parse(*bytes, whyNot);
    if (!info) return nullptr;
    std::lock_guard guard(mutex_);
    fluid_player_t* player = new_fluid_player(synth_);
    const auto& song = info->playable();
    if (!player || fluid_player_add_mem(player, song.data(), song.size()) != FLUID_OK) {
        if (player) delete_fluid_player(player);
        whyNot = "the synthesizer refused it";
        return nullptr;
    }
    return std::make_unique<FluidSong>(*this, std::move(*info), player);
}

void FluidMusic::render(std::int16_t* stereo, int frames) {
    std::lock_guard guard(mutex_);
    fluid_synth_write_s16(synth_, frames, stereo, 0, 2, stereo, 1, 2);
    frames_ += frames;
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
