// The media device on the real FluidSynth: rendered by hand here, so the song's
// clock is the number of frames the test asks for.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "media/mci_device.h"
#include "media/mci_errors.h"
#include "media/midi_file.h"
#include "platform/sound/fluid_library.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/mixer_device.h"
#include "support/midi_bytes.h"

// FluidSynth is not built with AddressSanitizer: a pointer it follows into
// memory freed too early goes unseen, unless freed memory is scribbled over.
extern "C" const char* __asan_default_options() { return "max_free_fill_size=4096"; }

namespace vantorix {
namespace {

constexpr int kRate = 44100;
const std::string kTitle = std::string(VANTORIX_MEDIA_DIR) + "/title.mid";

// The media device playing through the synthesizer, before it is started.
class FluidBeforeTheSynthesizer : public ::testing::Test {
protected:
    FluidBeforeTheSynthesizer()
        : music(kRate),
          device([this](const std::string& path, std::string& why) { return music.load(path, why); }) {}

    std::int32_t send(const std::string& c) { return device.sendString(c, nullptr, 0); }
    std::string ask(const std::string& c) {
        char reply[16] = {};
        device.sendString(c, reply, 15);
        return reply;
    }
    // Renders `ms` of music and returns the loudest sample.
    int renderMs(int ms) {
        std::vector<std::int16_t> block(2 * 441);
        int peak = 0;
        for (int i = 0; i < ms / 10; ++i) {
            music.render(block.data(), 441);
            for (std::int16_t s : block) peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return peak;
    }
    std::int64_t position() { return std::stoll(ask("status midifile position")); }

    FluidMusic music;
    MciDevice device;
};

class FluidDevice : public FluidBeforeTheSynthesizer {
protected:
    FluidDevice() {
        music.start(defaultSoundFont());
        soundFontLoaded = music.soundFontReady();
    }

    bool soundFontLoaded = false;
};

TEST_F(FluidDevice, ASongPlaysAudiblyAndItsPositionFollowsTheRendering) {
    ASSERT_TRUE(music.warning().empty()) << music.warning();
    ASSERT_TRUE(soundFontLoaded);
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_LE(renderMs(200), 2) << "silent before play";
    ASSERT_EQ(send("play midifile"), 0);
    EXPECT_EQ(ask("status midifile mode"), "playing");
    // Dithering keeps silence within a step or two; music is far louder.
    EXPECT_GT(renderMs(2000), 1000);
    EXPECT_NEAR(position(), 2000, 20);
}

TEST_F(FluidDevice, AskingThePlayingSongsPlaceNeverWaitsForARender) {
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    ASSERT_EQ(send("play midifile"), 0);
    renderMs(500);
    // The audio thread holds the music's lock for a whole render: the window's
    // thread asks the song's place on every pass and must not wait behind it.
    std::lock_guard rendering(music.lock());
    EXPECT_NEAR(position(), 500, 20);
    EXPECT_EQ(ask("status midifile mode"), "playing");
}

TEST_F(FluidDevice, PauseKeepsThePositionAndSilencesTheSong) {
    send("open " + kTitle + " type sequencer alias midifile");
    send("play midifile");
    renderMs(1000);
    ASSERT_EQ(send("pause midifile "), 0);
    EXPECT_EQ(ask("status midifile mode"), "paused");
    std::int64_t held = position();
    // Only the reverb's tail is left, and it dies away: no note keeps sounding.
    renderMs(2000);
    EXPECT_LE(renderMs(500), 2) << "no note left hanging";
    EXPECT_EQ(position(), held);
    ASSERT_EQ(send("resume midifile "), 0);
    renderMs(500);
    EXPECT_NEAR(position(), held + 500, 20);
}

TEST_F(FluidDevice, TheEndIsDetectedAndPlayFromZeroRestarts) {
    std::string why;
    std::ifstream in(kTitle, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    auto length = MidiFile::parse(bytes, why)->lengthMs();

    send("open " + kTitle + " type sequencer alias midifile");
    EXPECT_EQ(ask("status midifile length"), std::to_string(length));
    ASSERT_EQ(send("play midifile from " + std::to_string(length - 300)), 0);
    renderMs(200);
    EXPECT_EQ(ask("status midifile mode"), "playing");
    renderMs(200);
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_EQ(position(), length);
    ASSERT_EQ(send("play midifile from 0"), 0);
    EXPECT_GT(renderMs(1500), 1000);
    EXPECT_NEAR(position(), 1500, 20);
}

TEST_F(FluidDevice, SeekThenResumeStartsNearTheSeekPosition) {
    send("open " + kTitle + " type sequencer alias midifile");
    ASSERT_EQ(send("seek midifile to 1"), 0);
    EXPECT_EQ(ask("status midifile position"), "1");
    ASSERT_EQ(send("resume midifile "), 0);
    EXPECT_GT(renderMs(1000), 1000);
    EXPECT_NEAR(position(), 1001, 20);
}

// RMS and peak of 16-bit samples, in dB of full scale.
struct Level {
    double rms, peak;
};
Level levelOf(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    int peak = 0;
    for (std::int16_t s : samples) {
        sum += static_cast<double>(s) * s;
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return {20 * std::log10(std::sqrt(sum / static_cast<double>(samples.size())) / 32768),
            20 * std::log10(peak / 32768.0)};
}

TEST_F(FluidDevice, MusicSitsAFewDecibelsUnderTheEffectsAndNeverClips) {
    ASSERT_TRUE(soundFontLoaded);
    std::ifstream in(std::string(VANTORIX_MEDIA_DIR) + "/start.wav", std::ios::binary);
    std::vector<char> wave((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::int16_t> effect((wave.size() - 44) / 2);
    std::memcpy(effect.data(), wave.data() + 44, effect.size() * 2);
    double effectRms = levelOf(effect).rms;
    for (const char* name : {"title.mid", "bgm.mid"}) {
        send("close midifile");
        send("open " + std::string(VANTORIX_MEDIA_DIR) + "/" + name + " type sequencer alias midifile");
        send("play midifile");
        std::vector<std::int16_t> rendered(2 * kRate * 20);
        for (std::size_t at = 0; at < rendered.size(); at += 2 * 441)
            music.render(rendered.data() + at, 441);
        Level level = levelOf(rendered);
        EXPECT_LT(level.rms, effectRms - 2) << name;
        EXPECT_GT(level.rms, effectRms - 10) << name;
        EXPECT_LT(level.peak, -1.0) << name << ": all its parts together stay clear of full scale";
    }
}

TEST_F(FluidDevice, ASongClosedWhileItSoundsLeavesNoThreadBehind) {
    // As at a game's start: the title closes while its notes sound, the game's
    // song opens and plays, and the status is asked between chunks.
    auto threads = [] {
        auto tasks = std::filesystem::directory_iterator("/proc/self/task");
        return std::distance(begin(tasks), end(tasks));
    };
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    ASSERT_EQ(send("play midifile"), 0);
    ASSERT_GT(renderMs(2000), 1000);
    auto before = threads();
    ASSERT_EQ(send("close midifile"), 0);
    ASSERT_EQ(send("open " + std::string(VANTORIX_MEDIA_DIR) + "/bgm.mid type sequencer alias midifile"), 0);
    ASSERT_EQ(send("play midifile"), 0);
    auto most = threads();
    for (int i = 0; i < 20; ++i) {
        renderMs(10);
        position();
        most = std::max(most, threads());
    }
    EXPECT_EQ(most, before) << "FluidSynth hands a SoundFont it cannot delete yet to a timer thread";
    EXPECT_GT(renderMs(1000), 1000) << "the game's song plays on";
}

TEST_F(FluidDevice, MissingAndBrokenSongsAreErrors) {
    auto dir = std::filesystem::temp_directory_path() / "fluid device test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "junk.mid") << "this is not a song";
    std::ofstream(dir / "empty.mid");
    EXPECT_EQ(send("open " + (dir / "none.mid").string() + " type sequencer alias midifile"),
              MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(send("open " + (dir / "junk.mid").string() + " type sequencer alias midifile"),
              MCIERR_INVALID_FILE);
    EXPECT_EQ(send("open " + (dir / "empty.mid").string() + " type sequencer alias midifile"),
              MCIERR_INVALID_FILE);
    EXPECT_EQ(send("open " + dir.string() + " type sequencer alias midifile"),
              MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(ask("status midifile mode"), "");
    std::filesystem::remove_all(dir);
}

// One piano note stands far above the dithering of silence.
constexpr int kOneNote = 200;

// Songs written by the test into a folder of their own, opened one at a time.
class FluidSongs : public FluidDevice {
protected:
    FluidSongs() { std::filesystem::create_directories(dir); }
    ~FluidSongs() override { std::filesystem::remove_all(dir); }
    std::int32_t openSong(const testing::Midi& bytes) {
        send("close midifile");
        auto path = dir / "song.mid";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return send("open " + path.string() + " type sequencer alias midifile");
    }
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("fluid songs test " + std::to_string(::getpid()));
};

TEST_F(FluidSongs, SongsWithOdditiesOthersPlayAreHeard) {
    ASSERT_TRUE(soundFontLoaded);
    for (const auto& song : testing::oddSongs()) {
        ASSERT_EQ(openSong(song.bytes), 0) << song.what;
        ASSERT_EQ(send("play midifile"), 0);
        EXPECT_GT(renderMs(400), kOneNote) << song.what;
    }
}

TEST_F(FluidSongs, SongsBeyondOurOwnPlayToTheirEndAndLoop) {
    ASSERT_TRUE(soundFontLoaded);
    for (const auto& song : testing::songsBeyondOurOwn()) {
        ASSERT_EQ(openSong(song.bytes), 0) << song.what;
        EXPECT_EQ(ask("status midifile length"), std::to_string(song.lengthMs)) << song.what;
        ASSERT_EQ(send("play midifile"), 0);
        int peak = renderMs(400);
        if (song.hasNotes) {
            EXPECT_GT(peak, kOneNote) << song.what;
        }
        EXPECT_NEAR(position(), 400, 20) << song.what;
        renderMs(static_cast<int>(song.lengthMs));
        EXPECT_EQ(ask("status midifile mode"), "stopped") << song.what;
        EXPECT_EQ(position(), song.lengthMs) << song.what;
        ASSERT_EQ(send("play midifile from 0"), 0);
        peak = renderMs(400);
        if (song.hasNotes) {
            EXPECT_GT(peak, kOneNote) << song.what << " played again";
        }
        EXPECT_NEAR(position(), 400, 20) << song.what;
    }
}

TEST_F(FluidBeforeTheSynthesizer, ASongPlayedEarlyWaitsAtItsStartUntilTheSynthesizerComes) {
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    ASSERT_EQ(send("play midifile"), 0);
    EXPECT_EQ(renderMs(500), 0);
    EXPECT_EQ(position(), 0) << "the song has not begun";
    music.start(defaultSoundFont());
    ASSERT_TRUE(music.soundFontReady());
    EXPECT_GT(renderMs(1000), 1000);
    EXPECT_NEAR(position(), 1000, 20);
}

// Every sample a song needs is read when it is opened, or when the synthesizer
// comes for a song opened before: none is read from the file while it plays,
// on the audio thread, where a read could make the sound card wait.
TEST_F(FluidBeforeTheSynthesizer, OpenedSongsNeedNothingMoreFromTheSoundFontFile) {
    std::string copy = (std::filesystem::temp_directory_path() / ("gm " + std::to_string(::getpid()) + ".sf2")).string();
    std::filesystem::copy_file(defaultSoundFont(), copy, std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    music.start(copy);
    const std::string bgm = std::string(VANTORIX_MEDIA_DIR) + "/bgm.mid";
    ASSERT_EQ(send("open " + bgm + " type sequencer alias other"), 0);
    std::filesystem::remove(copy);
    ASSERT_EQ(send("play midifile"), 0);
    EXPECT_GT(renderMs(1000), 1000) << "opened before the synthesizer came";
    ASSERT_EQ(send("close midifile"), 0);
    ASSERT_EQ(send("play other"), 0);
    EXPECT_GT(renderMs(1000), 1000) << "opened while music played";
}

// The game as it sounded when every song played from the whole General MIDI
// set with 256 voices: the reference each song's own SoundFont is held to.
class WholeSoundFont {
public:
    explicit WholeSoundFont(const FluidLibrary& fluid) : f(fluid) {
        settings = f.new_fluid_settings();
        f.fluid_settings_setnum(settings, "synth.sample-rate", kRate);
        f.fluid_settings_setnum(settings, "synth.gain", 0.7);
        f.fluid_settings_setint(settings, "synth.polyphony", 256);
        f.fluid_settings_setstr(settings, "player.timing-source", "sample");
        f.fluid_settings_setint(settings, "synth.threadsafe-api", 0);
        f.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
        synth = f.new_fluid_synth(settings);
        f.fluid_synth_chorus_on(synth, -1, 0);
        f.fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_LINEAR);
        f.fluid_synth_sfload(synth, defaultSoundFont().c_str(), 1);
    }
    ~WholeSoundFont() {
        close();
        f.delete_fluid_synth(synth);
        f.delete_fluid_settings(settings);
    }
    // Open and play, then stop and close, as the media device does.
    void play(const MidiFile& song) {
        player = f.new_fluid_player(synth);
        f.fluid_player_add_mem(player, song.playable().data(), song.playable().size());
        f.fluid_player_stop(player);
        f.fluid_synth_all_sounds_off(synth, -1);
        f.fluid_player_seek(player, 0);
        f.fluid_player_play(player);
    }
    void close() {
        if (!player) return;
        f.fluid_player_stop(player);
        f.fluid_synth_all_sounds_off(synth, -1);
        f.fluid_player_stop(player);
        f.delete_fluid_player(player);
        f.fluid_synth_all_sounds_off(synth, -1);
        player = nullptr;
    }
    void render(std::int16_t* stereo, int frames) { f.fluid_synth_write_s16(synth, frames, stereo, 0, 2, stereo, 1, 2); }

private:
    const FluidLibrary& f;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
};

TEST_F(FluidDevice, EachSongSoundsFromItsOwnSoundFontAsFromTheWholeOneWithVoicesToSpare) {
    ASSERT_TRUE(soundFontLoaded);
    WholeSoundFont whole(*music.fluid());
    int peakVoices = 0;
    for (const char* name : {"title.mid", "bgm.mid"}) {
        std::string path = std::string(VANTORIX_MEDIA_DIR) + "/" + name, why;
        std::ifstream in(path, std::ios::binary);
        auto song = MidiFile::parse(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {}), why);
        ASSERT_TRUE(song) << why;
        send("close midifile");
        whole.close();
        ASSERT_EQ(send("open " + path + " type sequencer alias midifile"), 0);
        ASSERT_EQ(send("play midifile"), 0);
        whole.play(*song);
        // The whole song and the reverb's tail, block by block as the mixer asks.
        std::vector<std::int16_t> ours(2 * 512), theirs(2 * 512);
        int differing = 0;
        for (std::int64_t frames = 0; frames < (song->lengthMs() + 3000) * kRate / 1000; frames += 512) {
            music.render(ours.data(), 512);
            whole.render(theirs.data(), 512);
            differing += ours != theirs;
            peakVoices = std::max(peakVoices, music.fluid()->fluid_synth_get_active_voice_count(music.synth()));
        }
        EXPECT_EQ(differing, 0) << name << ": blocks that differ";
    }
    EXPECT_GT(peakVoices, 8);
    EXPECT_LE(peakVoices, FluidMusic::kPolyphony * 3 / 4) << "no note of our songs may ever be cut";
}

// Ninety notes held, a new one every 30 ms, on nine channels of strings.
testing::Midi denseSong() {
    using testing::ev, testing::join;
    testing::Midi track;
    for (std::uint8_t channel = 0; channel < 9; ++channel) track = join({track, ev(0, {std::uint8_t(0xC0 | channel), 48})});
    for (int note = 0; note < 90; ++note)
        track = join({track, ev(note ? 29 : 0, {std::uint8_t(0x90 | note % 9), std::uint8_t(30 + note), 90})});
    track = join({track, testing::endOfTrack(2400)});
    return join({testing::header(0, 1, 480), testing::chunk("MTrk", track)});
}

// Renders six seconds of `song`, playing on `music`, beside the reference:
// how many blocks differ, and the most voices ours sounded.
std::pair<int, int> differingBlocksAndVoices(FluidMusic& music, const MidiFile& song) {
    WholeSoundFont whole(*music.fluid());
    whole.play(song);
    std::vector<std::int16_t> ours(2 * 512), theirs(2 * 512);
    int differing = 0, peakVoices = 0;
    for (int block = 0; block < 6 * kRate / 512; ++block) {
        music.render(ours.data(), 512);
        whole.render(theirs.data(), 512);
        differing += ours != theirs;
        peakVoices = std::max(peakVoices, music.fluid()->fluid_synth_get_active_voice_count(music.synth()));
    }
    return {differing, peakVoices};
}

TEST_F(FluidSongs, ASongOfMoreVoicesThanOursGetsThemAll) {
    ASSERT_TRUE(soundFontLoaded);
    testing::Midi bytes = denseSong();
    std::string why;
    auto song = MidiFile::parse(bytes, why);
    ASSERT_TRUE(song) << why;
    ASSERT_EQ(openSong(bytes), 0);
    ASSERT_EQ(send("play midifile"), 0);
    auto [differing, peakVoices] = differingBlocksAndVoices(music, *song);
    EXPECT_GT(peakVoices, FluidMusic::kPolyphony);
    EXPECT_EQ(differing, 0) << "blocks that differ from 256 voices all along";
}

TEST_F(FluidBeforeTheSynthesizer, ASongOfMoreVoicesOpenedEarlyGetsThemAll) {
    auto path = std::filesystem::temp_directory_path() / ("dense " + std::to_string(::getpid()) + ".mid");
    testing::Midi bytes = denseSong();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    ASSERT_EQ(send("open " + path.string() + " type sequencer alias midifile"), 0);
    std::filesystem::remove(path);
    ASSERT_EQ(send("play midifile"), 0);
    music.start(defaultSoundFont());
    ASSERT_TRUE(music.soundFontReady());
    std::string why;
    auto [differing, peakVoices] = differingBlocksAndVoices(music, *MidiFile::parse(bytes, why));
    EXPECT_GT(peakVoices, FluidMusic::kPolyphony);
    EXPECT_EQ(differing, 0) << "blocks that differ from 256 voices all along";
}

// A SoundFont our reader cannot cut (it takes version 2 files, and this copy
// says 3, which FluidSynth reads as the same samples) is read whole, and the
// synthesizer that plays it reads each preset's samples through the loader
// that read it as the songs' channels choose them.
TEST_F(FluidBeforeTheSynthesizer, ASoundFontReadWholePlaysItsSongs) {
    std::ifstream in(defaultSoundFont(), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    auto version = std::search(bytes.begin(), bytes.end(), "ifil", "ifil" + 4);
    ASSERT_NE(version, bytes.end());
    version[8] = 3;
    auto copy = std::filesystem::temp_directory_path() / ("version 3 " + std::to_string(::getpid()) + ".sf2");
    std::ofstream(copy, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
    ASSERT_EQ(send("open " + kTitle + " type sequencer alias midifile"), 0);
    music.start(copy.string());
    ASSERT_TRUE(music.soundFontReady()) << music.warning();
    ASSERT_EQ(send("play midifile"), 0);
    EXPECT_GT(renderMs(1000), 1000) << "opened before the synthesizer came";
    ASSERT_EQ(send("close midifile"), 0);
    ASSERT_EQ(send("open " + std::string(VANTORIX_MEDIA_DIR) + "/bgm.mid type sequencer alias midifile"), 0);
    ASSERT_EQ(send("play midifile"), 0);
    EXPECT_GT(renderMs(1000), 1000) << "opened while music played";
    std::filesystem::remove(copy);
}

TEST(FluidWithoutSoundFont, SongsStillKeepTimeSilently) {
    FluidMusic music(kRate);
    music.start("/no/such.sf2");
    EXPECT_NE(music.warning().find("timgm6mb-soundfont"), std::string::npos);
    EXPECT_FALSE(music.soundFontReady());
    MciDevice device([&](const std::string& p, std::string& w) { return music.load(p, w); });
    ASSERT_EQ(device.sendString("open " + kTitle + " type sequencer alias midifile", nullptr, 0), 0);
    device.sendString("play midifile", nullptr, 0);
    std::vector<std::int16_t> block(2 * 4410);
    for (int i = 0; i < 10; ++i) music.render(block.data(), 4410);
    EXPECT_LE(std::abs(*std::max_element(block.begin(), block.end())), 2);
    char reply[16] = {};
    device.sendString("status midifile position", reply, 15);
    EXPECT_NEAR(std::stoll(reply), 1000, 20);
}

TEST(FluidWithoutSoundFont, ASoundFontThatCannotBeLoadedIsNamed) {
    auto junk = std::filesystem::temp_directory_path() / ("junk " + std::to_string(::getpid()) + ".sf2");
    std::ofstream(junk) << "RIFF, but not a SoundFont";
    FluidMusic music(kRate);
    music.start(junk.string());
    EXPECT_FALSE(music.soundFontReady());
    EXPECT_NE(music.warning().find(junk.string()), std::string::npos) << music.warning();
    EXPECT_NE(music.warning().find("timgm6mb-soundfont"), std::string::npos) << music.warning();
    std::filesystem::remove(junk);
}

TEST(MixerOnTheDummyDriver, MusicAdvancesInRealTime) {
    // No sound card is needed: the dummy driver still takes the audio in real time.
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(0), 0);
    {
        MixerDevice mixer;
        ASSERT_TRUE(mixer.open()) << "the dummy driver is always there";
        FluidMusic music(mixer.sampleRate());
        music.start(defaultSoundFont());
        mixer.setMusic(&music);
        MciDevice device([&](const std::string& p, std::string& w) { return music.load(p, w); });
        device.sendString("open " + kTitle + " type sequencer alias midifile", nullptr, 0);
        device.sendString("play midifile", nullptr, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        char reply[16] = {};
        device.sendString("status midifile position", reply, 15);
        EXPECT_GT(std::stoll(reply), 100);
        device.sendString("close midifile", nullptr, 0);
        mixer.setMusic(nullptr);
    }
    SDL_Quit();
}

}  // namespace
}  // namespace vantorix
