// The command-string device: parsing, errors and the mode of a song, on a fake sequencer.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "media/mci_device.h"
#include "media/mci_errors.h"

namespace vantorix {
namespace {

// A song of 10 s that plays on the test's own clock.
struct FakeSong : Sequencer {
    explicit FakeSong(std::int64_t& now) : now(now) {}
    std::int64_t lengthMs() const override { return 10000; }
    void playFrom(std::int64_t pos) override {
        start = pos;
        startedAt = now;
        playing = true;
        ++starts;
    }
    void halt() override {
        start = positionMs();
        playing = false;
    }
    std::int64_t positionMs() override { return playing ? start + now - startedAt : start; }
    bool finished() override { return positionMs() >= lengthMs(); }
    std::int64_t& now;
    std::int64_t start = 0, startedAt = 0;
    bool playing = false;
    int starts = 0;
};

class Device : public ::testing::Test {
protected:
    Device()
        : dir(std::filesystem::temp_directory_path() / ("mci test " + std::to_string(::getpid()))),
          device([this](const std::string& path, std::string& why) -> std::unique_ptr<Sequencer> {
              if (path.ends_with("bad.mid")) {
                  why = "not a MIDI file";
                  return nullptr;
              }
              auto song = std::make_unique<FakeSong>(now);
              last = song.get();
              return song;
          }) {
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "song.mid") << "x";
        std::ofstream(dir / "bad.mid") << "x";
    }
    ~Device() override { std::filesystem::remove_all(dir); }

    std::int32_t send(const std::string& command) { return device.sendString(command, nullptr, 0); }
    std::string ask(const std::string& command, std::int32_t* result = nullptr) {
        char reply[16];
        std::memset(reply, 0, sizeof reply);
        std::int32_t r = device.sendString(command, reply, 15);
        if (result) *result = r;
        return reply;
    }
    std::int32_t openSong() {
        return send("open " + (dir / "song.mid").string() + " type sequencer alias midifile");
    }

    std::filesystem::path dir;
    std::int64_t now = 0;
    FakeSong* last = nullptr;
    MciDevice device;
};

TEST_F(Device, AnOpenedSongStandsStoppedAtTheStart) {
    ASSERT_EQ(openSong(), 0);
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_EQ(ask("status midifile position"), "0");
    EXPECT_EQ(ask("status midifile length"), "10000");
    EXPECT_EQ(device.fileOf("midifile"), (dir / "song.mid").string());
}

TEST_F(Device, PlayPauseResumeKeepThePosition) {
    openSong();
    EXPECT_EQ(send("play midifile"), 0);
    EXPECT_EQ(ask("status midifile mode"), "playing");
    now = 1500;
    EXPECT_EQ(send("pause midifile "), 0);
    EXPECT_EQ(ask("status midifile mode"), "paused");
    now = 5000;
    EXPECT_EQ(ask("status midifile position"), "1500");
    EXPECT_EQ(send("resume midifile "), 0);
    now = 5500;
    EXPECT_EQ(ask("status midifile position"), "2000");
}

TEST_F(Device, ResumingOrPlayingAPlayingSongLetsItPlayOn) {
    openSong();
    send("play midifile");
    now = 1500;
    send("resume midifile ");
    send("play midifile");
    now = 2000;
    EXPECT_EQ(ask("status midifile position"), "2000");
}

TEST_F(Device, StopKeepsThePositionAndResumeOrPlayGoesOnFromIt) {
    openSong();
    send("play midifile");
    now = 700;
    send("stop midifile ");
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_EQ(ask("status midifile position"), "700");
    send("resume midifile ");
    EXPECT_EQ(ask("status midifile mode"), "playing");
    EXPECT_EQ(last->start, 700);
}

TEST_F(Device, TheEndIsNoticedAndPlayFromZeroRestarts) {
    openSong();
    send("play midifile");
    now = 10000;
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_EQ(ask("status midifile position"), "10000");
    EXPECT_EQ(send("play midifile from 0"), 0);
    EXPECT_EQ(ask("status midifile mode"), "playing");
    EXPECT_EQ(last->start, 0);
    now = 20000;
    EXPECT_EQ(send("seek midifile to 300"), 0);
    EXPECT_EQ(ask("status midifile position"), "300") << "an ended song is sought back";
    EXPECT_EQ(send("play midifile from 10000"), 0) << "its very end is a place to play from";
}

TEST_F(Device, PauseAndStopOfASongNotPlayingKeepItsPlace) {
    openSong();
    send("play midifile");
    now = 500;
    send("pause midifile ");
    send("pause midifile ");
    EXPECT_EQ(ask("status midifile mode"), "paused");
    send("stop midifile ");
    send("pause midifile ");
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    send("seek midifile to 300");
    send("stop midifile ");
    EXPECT_EQ(ask("status midifile position"), "300");
}

TEST_F(Device, SeekStopsAndMovesThenResumePlaysFromThere) {
    openSong();
    send("play midifile");
    now = 300;
    EXPECT_EQ(send("seek midifile to 1"), 0);
    EXPECT_EQ(ask("status midifile mode"), "stopped");
    EXPECT_EQ(ask("status midifile position"), "1");
    send("resume midifile ");
    EXPECT_EQ(last->start, 1);
    EXPECT_EQ(send("seek midifile to end"), 0);
    EXPECT_EQ(ask("status midifile position"), "10000");
    EXPECT_EQ(send("seek midifile to start"), 0);
    EXPECT_EQ(ask("status midifile position"), "0");
    EXPECT_EQ(send("seek midifile to 10001"), MCIERR_OUTOFRANGE);
    EXPECT_EQ(send("seek midifile to x"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(send("seek midifile to 12x"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(send("seek midifile to 99999999999999999999"), MCIERR_BAD_INTEGER);
}

TEST_F(Device, AliasesAndVerbsIgnoreCase) {
    openSong();
    EXPECT_EQ(send("PLAY MidiFile"), 0);
    EXPECT_EQ(ask("Status MIDIFILE Mode"), "playing");
}

TEST_F(Device, APathWithBlanksOpensQuotedOrNot) {
    ASSERT_NE(dir.string().find(' '), std::string::npos);
    EXPECT_EQ(openSong(), 0);
    EXPECT_EQ(send("close midifile"), 0);
    EXPECT_EQ(send("open \"" + (dir / "song.mid").string() + "\"type sequencer alias tune"), 0)
        << "the closing quote ends the name without a blank";
    EXPECT_EQ(ask("status tune mode"), "stopped");
    EXPECT_EQ(send("open \"\" alias \"x\""), MCIERR_MISSING_PARAMETER) << "an empty quoted name";
}

TEST_F(Device, FoldersNamedLikeKeywordsStayInThePath) {
    for (const char* folder : {"type", "ALIAS", "My Type Folder/alias", "type sequencer alias x",
                               "two  blanks", "Alias Midifile"}) {
        auto song = dir / folder / "song.mid";
        std::filesystem::create_directories(song.parent_path());
        std::ofstream(song) << "x";
        ASSERT_EQ(send("open " + song.string() + " type sequencer alias midifile"), 0) << folder;
        EXPECT_EQ(device.fileOf("midifile"), song.string()) << folder;
        EXPECT_EQ(send("close midifile"), 0);
        // Missing, the file is still named whole, with the keywords read after it.
        auto none = dir / folder / "none.mid";
        EXPECT_EQ(send("open " + none.string() + " type sequencer alias midifile"),
                  MCIERR_FILE_NOT_FOUND);
        EXPECT_EQ(device.lastLoadError(), none.string() + ": no such file") << folder;
    }
    EXPECT_EQ(send("open " + (dir / "song.mid").string() + " alias a alias b"),
              MCIERR_FILE_NOT_FOUND) << "a keyword given twice is part of the name";
}

TEST_F(Device, BadCommandsAreErrorsThatChangeNothing) {
    EXPECT_EQ(send(""), MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(send("   "), MCIERR_MISSING_COMMAND_STRING);
    EXPECT_EQ(send("play midifile"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(send("fly midifile"), MCIERR_UNRECOGNIZED_COMMAND);
    // A missing short path leaves two blanks: no file at all.
    EXPECT_EQ(send("open  type sequencer alias midifile"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("open"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("open " + (dir / "none.mid").string() + " type sequencer alias midifile"),
              MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(send("open " + (dir / "bad.mid").string() + " type sequencer alias midifile"),
              MCIERR_INVALID_FILE);
    EXPECT_NE(device.lastLoadError().find("not a MIDI file"), std::string::npos);
    EXPECT_EQ(send("open " + dir.string() + " type sequencer alias midifile"), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(send("open " + (dir / "song.mid").string() + " type waveaudio alias midifile"),
              MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(device.fileOf("midifile"), "");

    ASSERT_EQ(openSong(), 0);
    EXPECT_EQ(openSong(), MCIERR_DUPLICATE_ALIAS);
    EXPECT_EQ(send("play"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("play midifile from"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("play midifile from -5"), MCIERR_BAD_INTEGER);
    EXPECT_EQ(send("play midifile to 5"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(send("pause midifile now"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(send("status midifile"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("status midifile colour"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(send("status midifile mode now"), MCIERR_UNRECOGNIZED_KEYWORD);
    EXPECT_EQ(send("seek midifile"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("seek midifile at 5"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(send("seek midifile to 5 now"), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(ask("status midifile mode"), "stopped");
}

TEST_F(Device, RepliesAreWrittenOnlyWhenTheyFit) {
    openSong();
    char tiny[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(device.sendString("status midifile mode", tiny, 4), MCIERR_PARAM_OVERFLOW);
    EXPECT_EQ(tiny[0], '#');
    // Eight offered for "stopped" and its NUL: written up to there and no further.
    char exact[9] = {'#', '#', '#', '#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(device.sendString("status midifile mode", exact, 8), 0);
    EXPECT_EQ(std::string(exact, 9), std::string("stopped\0#", 9));
    // Seven characters offered for "stopped": its NUL would be the eighth.
    char seven[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(device.sendString("status midifile mode", seven, 7), MCIERR_PARAM_OVERFLOW);
    EXPECT_EQ(std::string(seven, 8), "########");
    // No buffer, or no room offered: the answer is simply dropped.
    EXPECT_EQ(device.sendString("status midifile mode", nullptr, 0), 0);
    EXPECT_EQ(device.sendString("status midifile mode", nullptr, 16), 0);
    EXPECT_EQ(device.sendString("status midifile mode", tiny, 0), 0);
    // A command without a reply leaves the buffer alone.
    EXPECT_EQ(device.sendString("seek midifile to 5", tiny, 4), 0);
    EXPECT_EQ(std::string(tiny, 4), "####");
}

TEST_F(Device, FailedQueriesLeaveTheReplyBufferAlone) {
    char reply[16];
    std::memset(reply, ' ', sizeof reply);
    EXPECT_EQ(device.sendString("status midifile mode", reply, 15), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(std::string(reply, 7), "       ");
}

TEST_F(Device, CloseForgetsTheSong) {
    openSong();
    send("play midifile");
    EXPECT_EQ(send("close midifile"), 0);
    EXPECT_EQ(send("close midifile"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(ask("status midifile mode"), "");
    EXPECT_EQ(openSong(), 0);
}

}  // namespace
}  // namespace vantorix
