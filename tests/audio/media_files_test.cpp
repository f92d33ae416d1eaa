// Our own songs and effects, and the readers that check them before anything plays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/file_bytes.h"
#include "audio/midi_file.h"
#include "audio/system_sounds.h"
#include "audio/wave_file.h"

namespace vantorix {
namespace {

std::vector<std::uint8_t> mediaFile(const std::string& name) {
    std::string why;
    auto bytes = readFileCapped(std::string(VANTORIX_MEDIA_DIR) + "/" + name, 1 << 24, why);
    EXPECT_TRUE(bytes) << name << ": " << why;
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

TEST(Songs, BothAreLoopableTunesOfTwentyToSixtySeconds) {
    for (const char* name : {"title.mid", "bgm.mid"}) {
        auto bytes = mediaFile(name);
        std::string why;
        auto song = MidiFile::parse(bytes, why);
        ASSERT_TRUE(song) << name << ": " << why;
        EXPECT_GE(song->trackCount(), 3) << name << ": melody, bass and drums";
        EXPECT_GE(song->lengthMs(), 20000) << name;
        EXPECT_LE(song->lengthMs(), 60000) << name;
    }
}

TEST(Songs, DrumsPlayOnTheirOwnChannel) {
    for (const char* name : {"title.mid", "bgm.mid"}) {
        auto bytes = mediaFile(name);
        bool drums = false;
        for (std::size_t i = 0; i + 2 < bytes.size(); ++i)
            if (bytes[i] == 0x99 && bytes[i + 2] > 0) drums = true;  // note on, channel 10
        EXPECT_TRUE(drums) << name;
    }
}

TEST(Effects, LengthsFitWhatTheGameWaitsFor) {
    struct Expect {
        const char* name;
        std::int64_t minMs, maxMs;
    };
    for (auto [name, minMs, maxMs] : {Expect{"start.wav", 800, 1200}, Expect{"end.wav", 800, 1200},
                                      Expect{"high.wav", 800, 1200}, Expect{"miss.wav", 800, 1200},
                                      Expect{"hit.wav", 150, 250},
                                      Expect{"gameover.wav", 2000, 3000},
                                      Expect{"clear.wav", 2000, 3000}}) {
        auto bytes = mediaFile(name);
        std::string why;
        auto wave = WaveFile::parse(bytes, why);
        ASSERT_TRUE(wave) << name << ": " << why;
        EXPECT_EQ(wave->bitsPerSample, 16) << name;
        EXPECT_GE(wave->lengthMs(), minMs) << name;
        EXPECT_LE(wave->lengthMs(), maxMs) << name;
    }
}

TEST(MidiReader, RejectsWhatIsNotASong) {
    std::string why;
    std::vector<std::uint8_t> empty;
    EXPECT_FALSE(MidiFile::parse(empty, why));
    std::vector<std::uint8_t> text(100, 'a');
    EXPECT_FALSE(MidiFile::parse(text, why));
    auto song = mediaFile("title.mid");
    // Every cut-off version of a good file fails cleanly, never reads past the end.
    for (std::size_t cut = 0; cut < song.size(); cut += 7) {
        std::vector<std::uint8_t> part(song.begin(), song.begin() + static_cast<long>(cut));
        auto parsed = MidiFile::parse(part, why);
        if (parsed) {
            EXPECT_LE(parsed->totalTicks(), MidiFile::parse(song, why)->totalTicks());
        }
    }
}

TEST(MidiReader, TempoChangesShapeTheLength) {
    // One quarter note at 120 bpm, then a tempo of 1 s a quarter for one more.
    std::vector<std::uint8_t> song = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,          // 480 ticks a quarter
        'M', 'T', 'r', 'k', 0, 0, 0, 20,
        0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,                  // at 480: 1000000 us
        0x83, 0x60, 0x90, 0x3C, 0x40,                                    // at 960: a note
        0x00, 0x80, 0x3C, 0x00,                                          // running status off
        0x00, 0xFF, 0x2F, 0x00};
    song[21] = static_cast<std::uint8_t>(song.size() - 22);
    std::string why;
    auto parsed = MidiFile::parse(song, why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->totalTicks(), 960);
    EXPECT_EQ(parsed->lengthMs(), 1500);
    EXPECT_EQ(parsed->msToTick(500), 480);
    EXPECT_EQ(parsed->msToTick(1000), 720);
    EXPECT_DOUBLE_EQ(parsed->tickToMs(720), 1000.0);
}

TEST(WaveReader, RejectsBrokenFilesAndKeepsWholeFramesOfCutOnes) {
    std::string why;
    std::vector<std::uint8_t> junk(1000, 0x5A);
    EXPECT_FALSE(WaveFile::parse(junk, why));
    auto wave = mediaFile("hit.wav");
    std::vector<std::uint8_t> cut(wave.begin(), wave.begin() + 44 + 101);
    auto parsed = WaveFile::parse(cut, why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->frames(), 50);
    std::vector<std::uint8_t> headerOnly(wave.begin(), wave.begin() + 44);
    EXPECT_FALSE(WaveFile::parse(headerOnly, why));
    for (std::size_t n = 0; n < 60; ++n) {
        std::vector<std::uint8_t> part(wave.begin(), wave.begin() + static_cast<long>(n));
        WaveFile::parse(part, why);
    }
}

TEST(WaveReader, CanonicalImageReadsBackTheSame) {
    auto beep = beepWave(44100);
    std::string why;
    auto parsed = WaveFile::parse(beep, why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->channels, 1);
    EXPECT_EQ(parsed->sampleRate, 44100);
    EXPECT_GE(parsed->lengthMs(), 80);
    EXPECT_LE(parsed->lengthMs(), 300);
    EXPECT_EQ(parsed->canonicalBytes(), beep);
    auto chime = defaultSoundWave(44100);
    EXPECT_TRUE(WaveFile::parse(chime, why));
}

TEST(FileReader, RefusesFoldersMissingAndOversizedFiles) {
    std::string why;
    EXPECT_FALSE(readFileCapped(VANTORIX_MEDIA_DIR, 1000, why));
    EXPECT_FALSE(readFileCapped("/no/such/file", 1000, why));
    EXPECT_FALSE(readFileCapped(std::string(VANTORIX_MEDIA_DIR) + "/title.mid", 10, why));
    EXPECT_NE(why.find("too large"), std::string::npos);
}

}  // namespace
}  // namespace vantorix
