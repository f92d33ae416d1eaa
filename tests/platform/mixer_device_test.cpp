// The mixer's output when the sound device is missing, through SDL's disk
// driver: its file in a folder that is not there yet stands for a device that
// cannot be opened until it is.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/sound/mixer_device.h"

namespace vantorix {
namespace {

class MissingDevice : public ::testing::Test {
protected:
    MissingDevice() : dir(std::filesystem::temp_directory_path() / ("mixer " + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir);
        SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
        SDL_setenv("SDL_DISKAUDIOFILE", heard().c_str(), 1);
        // No wait between chunks: the file grows as fast as the mixer fills it.
        SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
        EXPECT_EQ(SDL_Init(0), 0);
    }
    ~MissingDevice() override {
        SDL_Quit();
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::filesystem::remove_all(dir);
    }

    std::string heard() const { return (dir / "heard.raw").string(); }
    std::vector<std::string> said() {
        std::lock_guard guard(lock);
        return lines;
    }
    MixerDevice::Tell tell() {
        return [this](const std::string& line) {
            std::lock_guard guard(lock);
            lines.push_back(line);
        };
    }

    std::filesystem::path dir;
    std::mutex lock;
    std::vector<std::string> lines;
};

TEST_F(MissingDevice, IsTriedAgainUntilItOpens) {
    MixerDevice mixer(false, tell());
    ASSERT_TRUE(mixer.open()) << "silent, it plays on";
    EXPECT_NE(mixer.warning().find("no sound device"), std::string::npos) << mixer.warning();
    EXPECT_FALSE(mixer.heard());
    EXPECT_STREQ(SDL_getenv("SDL_AUDIODRIVER"), "disk") << "the player's driver is kept for the next try";

    std::filesystem::create_directories(dir);
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(3 * MixerDevice::kRetryMs);
    while (!mixer.heard() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(mixer.heard()) << "not opened within three tries";
    ASSERT_EQ(said(), std::vector<std::string>{"the sound device is back"});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_GT(std::filesystem::file_size(heard()), 0u) << "the device takes the mixer's samples";
}

}  // namespace
}  // namespace vantorix
