// The music player's exact command strings and how it reads the replies.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "media/cls_midi.h"
#include "media/module1.h"

namespace vantorix {
namespace {

struct Sent {
    std::string command;
    std::uint32_t offered;
    std::string bufferBefore;  // the reply buffer as handed over
    friend bool operator==(const Sent&, const Sent&) = default;
};

// Records every command and answers status queries from a script.
class RecordingDevice : public MediaControl {
public:
    std::int32_t sendString(std::string_view command, char* reply,
                            std::uint32_t replyLength) override {
        sent.push_back({std::string(command), replyLength,
                        reply ? std::string(reply, 16) : std::string()});
        if (onCommand) onCommand(std::string(command));
        if (command.starts_with("status") && reply && replyFor) {
            std::string answer = replyFor(std::string(command));
            if (answer.size() + 1 > replyLength) return 276;
            std::memcpy(reply, answer.c_str(), answer.size() + 1);
            return 0;
        }
        return result;
    }
    std::vector<std::string> commands() const {
        std::vector<std::string> out;
        for (const auto& s : sent) out.push_back(s.command);
        return out;
    }
    std::vector<Sent> sent;
    std::function<std::string(const std::string&)> replyFor;
    std::function<void(const std::string&)> onCommand;
    std::int32_t result = 0;
};

// Runs a scripted handler on each pass and counts the passes. A loop that
// should have returned is told to end after kMaxPasses, so its test fails
// instead of hanging.
class ScriptedPump : public EventPump {
public:
    void waitForWork() override { ++waits; }
    void doEvents() override {
        ++passes;
        if (onPass) onPass(passes);
    }
    bool ended() const override { return end || ++asked > kMaxPasses; }
    static constexpr int kMaxPasses = 1000;
    mutable int asked = 0;
    std::function<void(int)> onPass;
    int passes = 0, waits = 0;
    bool end = false;
};

class Player : public ::testing::Test {
protected:
    Player() { Module1::install({&device, nullptr, nullptr, nullptr}); }
    ~Player() override { Module1::shutDown(); }
    RecordingDevice device;
    ScriptedPump pump;
};

TEST_F(Player, CreationAndDestructionCloseTheAlias) {
    {
        auto player = std::make_shared<clsMIDI>(pump);
        EXPECT_EQ(device.commands(), (std::vector<std::string>{"stop midifile ", "close midifile"}));
        device.sent.clear();
    }
    EXPECT_EQ(device.commands(), (std::vector<std::string>{"stop midifile ", "close midifile"}));
}

TEST_F(Player, OpeningAnExistingFileSendsItsPathWithOneBlankEachSide) {
    auto dir = std::filesystem::temp_directory_path() / "player test dir";
    std::filesystem::create_directories(dir);
    auto song = (dir / "title.mid").string();
    std::ofstream(song) << "MThd";
    auto player = std::make_shared<clsMIDI>(pump);
    device.sent.clear();
    player->FileName(song);
    EXPECT_EQ(device.commands(),
              (std::vector<std::string>{"stop midifile ", "close midifile",
                                        "open " + song + " type sequencer alias midifile"}));
    EXPECT_EQ(player->FileName(), song);
    EXPECT_EQ(player->lastResult(), 0);
    std::filesystem::remove_all(dir);
}

TEST_F(Player, AMissingFileLeavesTwoBlanksAndIsStillRemembered) {
    auto player = std::make_shared<clsMIDI>(pump);
    EXPECT_EQ(player->FileName(), "");
    device.sent.clear();
    player->FileName("/nowhere/bgm.mid");
    EXPECT_EQ(device.commands().back(), "open  type sequencer alias midifile");
    EXPECT_EQ(player->FileName(), "/nowhere/bgm.mid");
}

TEST_F(Player, APathThatDoesNotFitTheShortFormBufferIsOpenedByAShortName) {
    std::string folder(200, 'd');
    auto top = std::filesystem::temp_directory_path() / "player long path";
    auto dir = top / folder / folder;
    std::filesystem::create_directories(dir);
    auto player = std::make_shared<clsMIDI>(pump);
    for (std::size_t length : {511u, 512u}) {
        auto song = (dir / "").string();
        song += std::string(length - song.size() - 4, 's') + ".mid";
        std::ofstream(song) << "MThd";
        player->FileName(song);
        std::string command = device.commands().back();
        const std::string open = "open ", tail = " type sequencer alias midifile";
        ASSERT_TRUE(command.starts_with(open) && command.ends_with(tail)) << command;
        std::string opened = command.substr(open.size(), command.size() - open.size() - tail.size());
        if (length < 512) {
            EXPECT_EQ(opened, song) << "a path that fits is its own short form";
        }
        EXPECT_LT(opened.size(), 512u);
        std::string read;
        std::getline(std::ifstream(opened), read);
        EXPECT_EQ(read, "MThd") << opened;
    }
    std::filesystem::remove_all(top);
}

TEST_F(Player, SimpleCommandsAreExact) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.sent.clear();
    player->Play();
    player->StopM();
    player->Pause();
    player->Position("1");
    player->ResumeM();
    EXPECT_EQ(device.commands(),
              (std::vector<std::string>{"stop midifile ", "play midifile", "stop midifile ",
                                        "pause midifile ", "seek midifile to 1",
                                        "resume midifile "}));
    for (const auto& s : device.sent) EXPECT_EQ(s.offered, 0u) << s.command;
}

TEST_F(Player, StatusQueriesOfferFifteenOfSixteenNulCharacters) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.replyFor = [](const std::string& c) -> std::string {
        if (c.ends_with("mode")) return "paused";
        if (c.ends_with("position")) return "1234";
        return "38400";
    };
    device.sent.clear();
    EXPECT_EQ(player->Mode(), "PAUSED");
    EXPECT_EQ(player->Position(), "1234");
    EXPECT_EQ(player->Length(), 38400);
    ASSERT_EQ(device.sent.size(), 3u);
    for (const auto& s : device.sent) {
        EXPECT_EQ(s.offered, 15u);
        EXPECT_EQ(s.bufferBefore, std::string(16, '\0'));
    }
    EXPECT_EQ(device.sent[0].command, "status midifile mode");
    EXPECT_EQ(device.sent[1].command, "status midifile position");
    EXPECT_EQ(device.sent[2].command, "status midifile length");
}

TEST_F(Player, FailedQueriesGiveEmptyTextAndLengthFails) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.result = 263;
    EXPECT_EQ(player->Mode(), "");
    EXPECT_EQ(player->Position(), "");
    EXPECT_THROW(player->Length(), std::invalid_argument);
    EXPECT_EQ(player->lastResult(), 263);
}

TEST_F(Player, LengthReadsBlanksAndASignAndRejectsTextAndOverflows) {
    auto player = std::make_shared<clsMIDI>(pump);
    std::string answer;
    device.replyFor = [&](const std::string&) { return answer; };
    for (const char* number : {" 38400", "38400 ", "+38400"}) {
        answer = number;
        EXPECT_EQ(player->Length(), 38400) << number;
    }
    answer = "   ";
    EXPECT_THROW(player->Length(), std::invalid_argument);
    answer = "12ab";
    EXPECT_THROW(player->Length(), std::invalid_argument);
    answer = "99999999999";
    EXPECT_THROW(player->Length(), std::overflow_error);
    answer = "-7";
    EXPECT_EQ(player->Length(), -7);
}

TEST_F(Player, PlayLoopRestartsAStoppedSongWithinOnePass) {
    auto player = std::make_shared<clsMIDI>(pump);
    std::string mode = "playing";
    device.replyFor = [&](const std::string&) { return mode; };
    pump.onPass = [&](int pass) {
        if (pass == 3) mode = "stopped";
        if (pass == 4) {
            EXPECT_EQ(device.commands().back(), "play midifile from 0");
            mode = "playing";
        }
        if (pass == 6) pump.end = true;
    };
    device.sent.clear();
    player->PlayLoop();
    auto commands = device.commands();
    EXPECT_EQ(commands.front(), "play midifile");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "play midifile from 0"), 1);
    EXPECT_EQ(pump.waits, pump.passes) << "every pass waits instead of spinning";
}

TEST_F(Player, ThePollUsesABlankBufferAndReadsSevenCharacters) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.replyFor = [](const std::string&) { return "stoppedX"; };
    pump.onPass = [&](int pass) {
        if (pass == 2) pump.end = true;
    };
    device.sent.clear();
    player->PlayLoop();
    const Sent& poll = device.sent[1];
    EXPECT_EQ(poll.command, "status midifile mode");
    EXPECT_EQ(poll.bufferBefore, std::string(16, ' '));
    // "stoppedX" reads as STOPPED: only the first seven characters count.
    EXPECT_EQ(device.commands()[2], "play midifile from 0");
}

TEST_F(Player, AFailedPollNeverReadsAsStopped) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.result = 263;
    pump.onPass = [&](int pass) {
        if (pass == 50) pump.end = true;
    };
    device.sent.clear();
    player->PlayLoop();
    auto commands = device.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "play midifile from 0"), 0);
}

TEST_F(Player, StopMMakesTheLoopReturnPauseDoesNot) {
    auto player = std::make_shared<clsMIDI>(pump);
    std::string mode = "playing";
    device.replyFor = [&](const std::string&) { return mode; };
    device.onCommand = [&](const std::string& c) {
        if (c == "pause midifile ") mode = "paused";
        if (c == "stop midifile ") mode = "stopped";
    };
    pump.onPass = [&](int pass) {
        if (pass == 2) player->Pause();
        if (pass == 5) player->StopM();
    };
    player->PlayLoop();
    EXPECT_EQ(pump.passes, 5);
}

TEST_F(Player, PlayTurnsLoopingOffSoTheLoopEndsWithTheSong) {
    auto player = std::make_shared<clsMIDI>(pump);
    std::string mode = "playing";
    device.replyFor = [&](const std::string&) { return mode; };
    pump.onPass = [&](int pass) {
        if (pass == 2) player->Play();
        if (pass == 4) mode = "stopped";
    };
    player->PlayLoop();
    EXPECT_EQ(pump.passes, 4);
    auto commands = device.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "play midifile from 0"), 0);
}

TEST_F(Player, ResumeNeverNestsALoopHere) {
    auto player = std::make_shared<clsMIDI>(pump);
    device.replyFor = [](const std::string&) { return "playing"; };
    pump.onPass = [&](int pass) {
        if (pass == 2) player->ResumeM();
        if (pass == 3) pump.end = true;
    };
    player->PlayLoop();
    auto commands = device.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "resume midifile "), 1);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "play midifile"), 1);
}

TEST_F(Player, ARunningLoopKeepsItsPlayerAlive) {
    auto player = std::make_shared<clsMIDI>(pump);
    std::weak_ptr<clsMIDI> watch = player;
    device.replyFor = [](const std::string&) { return "playing"; };
    pump.onPass = [&](int pass) {
        if (pass == 1) player.reset();
        EXPECT_FALSE(watch.expired());
        if (pass == 2) pump.end = true;
    };
    watch.lock()->PlayLoop();
    EXPECT_TRUE(watch.expired());
}

TEST(PlatformCalls, VersionIsNotTheNtFamilyAndChecksTheSize) {
    Module1::OSVERSIONINFOA info{};
    EXPECT_EQ(Module1::GetVersionExA(nullptr), 0);
    EXPECT_EQ(Module1::GetVersionExA(&info), 0);
    info.dwOSVersionInfoSize = 148;
    info.dwPlatformId = Module1::VER_PLATFORM_WIN32_NT;  // whatever the caller left there
    EXPECT_EQ(Module1::GetVersionExA(&info), 1);
    EXPECT_NE(info.dwPlatformId, Module1::VER_PLATFORM_WIN32_NT);
}

TEST(PlatformCalls, ShortPathIsThePathWhenItExistsAndFits) {
    auto file = std::filesystem::temp_directory_path() / "short path test.mid";
    std::ofstream(file) << "x";
    std::string path = file.string();
    std::string buffer(512, '\0');
    EXPECT_EQ(Module1::GetShortPathNameA(path.c_str(), buffer.data(), 512), path.size());
    EXPECT_EQ(buffer.c_str(), path);

    // Exactly the path and its NUL offered: it fits, and nothing past it is touched.
    std::string exact(path.size() + 2, '#');
    EXPECT_EQ(Module1::GetShortPathNameA(path.c_str(), exact.data(),
                                         static_cast<std::uint32_t>(path.size() + 1)),
              path.size());
    EXPECT_EQ(exact, path + '\0' + '#');

    std::string tiny(4, '#');
    EXPECT_EQ(Module1::GetShortPathNameA(path.c_str(), tiny.data(), 4), 0u);
    EXPECT_EQ(tiny, "####");

    std::string untouched(512, '\0');
    EXPECT_EQ(Module1::GetShortPathNameA("/no/such/file.mid", untouched.data(), 512), 0u);
    EXPECT_EQ(untouched, std::string(512, '\0'));
    std::filesystem::remove(file);
}

TEST(PlatformCalls, APathTooLongForTheBufferGetsAShortOneToTheSameFile) {
    auto folder = std::filesystem::temp_directory_path() / std::string(200, 'd') / std::string(200, 'e') /
                  std::string(200, 'f');
    std::filesystem::create_directories(folder);
    std::string path = (folder / "title song.mid").string();
    std::ofstream(path) << "the song";
    std::string buffer(512, '\0');
    auto length = Module1::GetShortPathNameA(path.c_str(), buffer.data(), 512);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, 512u);
    std::string shortPath = buffer.c_str();
    EXPECT_EQ(shortPath.find(' '), std::string::npos) << "the open command takes it unquoted";
    std::filesystem::remove(path);
    std::string read;
    std::getline(std::ifstream(shortPath), read);
    EXPECT_EQ(read, "the song") << "the short path opens the file, even once the long one is gone";
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / std::string(200, 'd'));
}

TEST(PlatformCalls, NoNameReachesNoDeviceAndTheSoundsOutcomeIsPassedOn) {
    struct Sounds : SoundOut {
        bool play(const std::string& path, std::uint32_t) override { return path == "hit.wav"; }
        void beep() override {}
    } sounds;
    RecordingDevice device;
    Module1::install({&device, &sounds, nullptr, nullptr});
    EXPECT_NE(Module1::mciSendStringA(nullptr, nullptr, 0, 0), 0);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(Module1::sndPlaySoundA(nullptr, Module1::SND_ASYNC), 0);
    EXPECT_EQ(Module1::sndPlaySoundA("hit.wav", Module1::SND_ASYNC), 1);
    EXPECT_EQ(Module1::sndPlaySoundA("gone.wav", Module1::SND_ASYNC), 0);
    Module1::shutDown();
    char buffer[8] = "#";
    EXPECT_EQ(Module1::GetShortPathNameA(nullptr, buffer, 8), 0u);
    EXPECT_EQ(Module1::GetShortPathNameA("/", nullptr, 8), 0u);
    EXPECT_STREQ(buffer, "#");
}

TEST(PlatformCalls, AfterShutDownNothingIsReached) {
    RecordingDevice device;
    Module1::install({&device, nullptr, nullptr, nullptr});
    Module1::shutDown();
    EXPECT_NE(Module1::mciSendStringA("play midifile", nullptr, 0, 0), 0);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(Module1::sndPlaySoundA("/x/hit.wav", 1), 0);
}

}  // namespace
}  // namespace vantorix
