// Effects on our mixer and SDL's real audio output, through SDL's dummy driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "media/byte_reader.h"
#include "media/module1.h"
#include "media/wave_file.h"
#include "platform/sound/mixer_device.h"
#include "platform/sound/sdl_sound_out.h"
#include "support/wave_bytes.h"

namespace vantorix {
namespace {

// The largest block SDL asks for, through memory functions that pass each call on.
class SdlAllocations {
public:
    static void watch() {
        SDL_GetMemoryFunctions(&malloc_, &calloc_, &realloc_, &free_);
        SDL_SetMemoryFunctions(countedMalloc, countedCalloc, countedRealloc, free_);
    }
    static void stopWatching() { SDL_SetMemoryFunctions(malloc_, calloc_, realloc_, free_); }
    static inline std::atomic<std::size_t> largest{0};

private:
    static void note(std::size_t bytes) {
        for (std::size_t seen = largest; bytes > seen && !largest.compare_exchange_weak(seen, bytes);) {}
    }
    static void* countedMalloc(std::size_t bytes) {
        note(bytes);
        return malloc_(bytes);
    }
    static void* countedCalloc(std::size_t count, std::size_t size) {
        note(count * size);
        return calloc_(count, size);
    }
    static void* countedRealloc(void* block, std::size_t bytes) {
        note(bytes);
        return realloc_(block, bytes);
    }

    static inline SDL_malloc_func malloc_;
    static inline SDL_calloc_func calloc_;
    static inline SDL_realloc_func realloc_;
    static inline SDL_free_func free_;
};

class SoundOut : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SdlAllocations::watch();
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(0), 0);
    }
    static void TearDownTestSuite() {
        SDL_Quit();
        SdlAllocations::stopWatching();
    }

    SoundOut()
        : dir(std::filesystem::temp_directory_path() / ("sound out " + std::to_string(::getpid()))),
          sounds(mixer, [this](const std::string& line) { said.push_back(line); }) {
        std::filesystem::create_directories(dir);
    }
    ~SoundOut() override { std::filesystem::remove_all(dir); }

    std::string write(const std::string& name, const testing::Bytes& bytes) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return (dir / name).string();
    }

    std::filesystem::path dir;
    MixerDevice mixer;
    std::vector<std::string> said;
    SdlSoundOut sounds;
};

constexpr std::uint32_t kBackground = Module1::SND_ASYNC | Module1::SND_NODEFAULT;

TEST_F(SoundOut, EveryCodingOfTheWaveLoaderPlaysForItsLength) {
    using testing::adpcmWave, testing::extensibleWave, testing::lawWave, testing::sineWave;
    ASSERT_TRUE(mixer.open());
    struct Case {
        const char* name;
        testing::Bytes bytes;
        std::int64_t frames;
    };
    for (const auto& [name, bytes, frames] :
         {Case{"8bit.wav", sineWave(8, false, 1, 11025, 0.2), 2205},
          Case{"24bit.wav", sineWave(24, false, 2, 48000, 0.2), 9600},
          Case{"float.wav", sineWave(32, true, 1, 44100, 0.2), 8820},
          Case{"32bit.wav", sineWave(32, false, 2, 22050, 0.2), 4410},
          Case{"5.1.wav", extensibleWave(24, false, 6, 48000, 0.1), 4800},
          Case{"alaw.wav", lawWave(6, 1, 8000, 1600), 1600},
          Case{"mulaw.wav", lawWave(7, 2, 8000, 1600), 1600},
          Case{"ima.wav", adpcmWave(0x11, 2, 22050, 4), 4 * 505},
          Case{"msadpcm.wav", adpcmWave(2, 1, 22050, 4), 4 * 500}}) {
        std::string why;
        auto wave = WaveFile::parse(bytes, why);
        ASSERT_TRUE(wave) << name << ": " << why;
        EXPECT_EQ(wave->frames(), frames) << name;
        EXPECT_TRUE(sounds.play(write(name, bytes), kBackground)) << name;
    }
    EXPECT_TRUE(said.empty());
}

TEST_F(SoundOut, AnEffectPastTheSizeLimitIsRefusedWithOneLine) {
    auto huge = write("huge.wav", testing::sineWave(8, false, 1, 2000, 200));
    EXPECT_FALSE(sounds.play(huge, kBackground));
    EXPECT_FALSE(sounds.play(huge, Module1::SND_NODEFAULT));
    ASSERT_EQ(said.size(), 1u) << "said once, however often it is played";
    EXPECT_NE(said[0].find(huge), std::string::npos) << said[0];
    auto broken = write("broken.wav", testing::Bytes(100, 1));
    EXPECT_FALSE(sounds.play(broken, kBackground));
    EXPECT_FALSE(sounds.play(broken, kBackground));
    ASSERT_EQ(said.size(), 2u) << "a broken effect is named once too";
    EXPECT_NE(said[1].find(broken + ": not played, "), std::string::npos) << said[1];
}

TEST_F(SoundOut, AFileRefusedForItsSizeNeverReachesSdl) {
    using testing::formatBody, testing::riffChunk;
    // Mono 8-bit samples at 1 Hz: 16 KB of them would take 2.7 GB at the mixer's rate.
    auto slow = write("slow.wav", testing::riffWave({riffChunk("fmt ", formatBody(1, 1, 1, 8, 1)),
                                                     riffChunk("data", testing::Bytes(16384, 128))}));
    SdlAllocations::largest = 0;
    EXPECT_FALSE(sounds.play(slow, kBackground));
    EXPECT_EQ(SdlAllocations::largest, 0u);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("once decoded"), std::string::npos) << said[0];
}

TEST_F(SoundOut, AFileCutShortHasSdlSetAsideOnlyWhatItHolds) {
    auto cut = testing::sineWave(16, false, 1, 8000, 0.1);
    setLe32(&cut[40], 0xFFFFFF00);  // a data chunk that says it runs on for 4 GB
    SdlAllocations::largest = 0;
    EXPECT_TRUE(sounds.play(write("cut.wav", cut), kBackground));
    EXPECT_LT(SdlAllocations::largest, 1u << 18) << "a tenth of a second converts in some 75 KB";
}

TEST_F(SoundOut, ABlockingEffectHoldsForItsLength) {
    auto effect = write("half.wav", testing::sineWave(24, false, 2, 48000, 0.5));
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sounds.play(effect, Module1::SND_NODEFAULT));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
}

TEST_F(SoundOut, ABlockingEffectHoldsNoLongerThanItsLengthWhenNothingIsTaken) {
    // Held, the mixer takes nothing from the effect, as a stalled sound server would not.
    mixer.setHeld(true);
    auto effect = write("half.wav", testing::sineWave(16, false, 2, 44100, 0.5));
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sounds.play(effect, Module1::SND_NODEFAULT));
    auto held = std::chrono::steady_clock::now() - start;
    EXPECT_GE(held, std::chrono::milliseconds(450));
    EXPECT_LT(held, std::chrono::milliseconds(1500)) << "the wait ends by the clock, not by the samples taken";
    EXPECT_TRUE(mixer.playing(MixerDevice::kEffectChannel)) << "the effect itself stays where it stood";
}

}  // namespace
}  // namespace vantorix
