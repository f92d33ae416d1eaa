// Our own songs and effects, and the readers that check them before anything plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "media/byte_reader.h"
#include "media/effect_file.h"
#include "media/file_bytes.h"
#include "media/midi_file.h"
#include "media/system_sounds.h"
#include "media/wave_file.h"
#include "support/wave_bytes.h"

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
    EXPECT_EQ(parsed->msToTick(1001), 720) << "a place between two ticks starts at the earlier";
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
    EXPECT_EQ(WaveFile::parse(headerOnly, why)->frames(), 0) << "whether nothing plays is the loader's to say";
    // A chunk whose length, top bit set, runs far past the file hides the data after it.
    auto past = testing::riffWave({testing::riffChunk("fmt ", testing::formatBody(1, 1, 8000, 16, 2)),
                                   {'J', 'U', 'N', 'K', 0x10, 0, 0, 0x80}, testing::Bytes(16, 0),
                                   testing::riffChunk("data", testing::Bytes(800, 1))});
    EXPECT_FALSE(WaveFile::parse(past, why));
    for (std::size_t n = 0; n < 60; ++n) {
        std::vector<std::uint8_t> part(wave.begin(), wave.begin() + static_cast<long>(n));
        WaveFile::parse(part, why);
    }
}

TEST(WaveReader, TakesTheFirstFormatAndTheDataAfterIt) {
    using testing::formatBody, testing::riffChunk, testing::riffWave;
    auto data = riffChunk("data", testing::Bytes(800, 1));
    std::string why;
    auto wave = WaveFile::parse(riffWave({riffChunk("LIST", testing::Bytes(10, 'a')),
                                          riffChunk("fmt ", formatBody(1, 1, 8000, 16, 2)),
                                          riffChunk("fmt ", formatBody(1, 2, 44100, 16, 4)), data}),
                                why);
    ASSERT_TRUE(wave) << why;
    EXPECT_EQ(wave->sampleRate, 8000);
    EXPECT_EQ(wave->frames(), 400);
    EXPECT_FALSE(WaveFile::parse(riffWave({data, riffChunk("fmt ", formatBody(1, 1, 8000, 16, 2)), data}), why))
        << "the loader refuses a format after the data";
}

TEST(WaveReader, RefusesFormatsWithNothingToReckonBy) {
    using testing::formatBody, testing::riffChunk;
    auto plain = formatBody(1, 1, 8000, 16, 2);
    auto pastInt = plain;
    setLe32(&pastInt[4], 0x80000000u);
    for (auto [what, format] : {std::pair{"no channels", formatBody(0x11, 0, 8000, 4, 256)},
                                std::pair{"no sample rate", formatBody(1, 1, 0, 16, 2)},
                                std::pair{"a sample rate past 2^31 - 1", pastInt},
                                std::pair{"no block size", formatBody(1, 1, 8000, 16, 0)},
                                std::pair{"14 bytes", testing::Bytes(plain.begin(), plain.begin() + 14)}}) {
        std::string why;
        auto wave = testing::riffWave({riffChunk("fmt ", format), riffChunk("data", testing::Bytes(512, 0))});
        EXPECT_FALSE(WaveFile::parse(wave, why)) << what;
    }
}

TEST(WaveReader, SkipsThePadByteAfterAChunkOfOddLength) {
    using testing::riffChunk, testing::riffWave;
    for (std::size_t odd : {3, 0x012345}) {
        auto wave = riffWave({riffChunk("fmt ", testing::formatBody(1, 1, 8000, 16, 2)),
                              riffChunk("LIST", testing::Bytes(odd, 'a')),
                              riffChunk("data", testing::Bytes(800, 1))});
        std::string why;
        auto parsed = WaveFile::parse(wave, why);
        ASSERT_TRUE(parsed) << why;
        EXPECT_EQ(parsed->frames(), 400);
        EXPECT_EQ(parsed->lengthMs(), 50);
    }
}

TEST(WaveReader, AFileCutMidFrameKeepsOnlyItsWholeFrames) {
    auto whole = testing::sineWave(24, false, 2, 8000, 0.1);  // frames of 6 bytes
    std::vector<std::uint8_t> cut(whole.begin(), whole.end() - 6 * 10 - 4);
    std::string why;
    auto parsed = WaveFile::parse(cut, why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->frames(), 800 - 11);
}

TEST(EffectFile, RefusesOnlyWhatDecodesPastTheLimitAndSaysSo) {
    auto dir = std::filesystem::temp_directory_path() / ("effect file " + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const std::string& name, const testing::Bytes& bytes) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return (dir / name).string();
    };
    std::string why;
    bool tooLarge = true;
    // Small files of 8-bit sound at 2 kHz: three minutes of it fit once mixed
    // at 44.1 kHz in stereo 16-bit (31.8 MB), 200 s do not (35.3 MB).
    auto fits = write("fits.wav", testing::sineWave(8, false, 1, 2000, 180));
    EXPECT_TRUE(readEffect(fits, 44100, why, tooLarge)) << why;
    EXPECT_FALSE(tooLarge);
    auto past = write("past.wav", testing::sineWave(8, false, 1, 2000, 200));
    EXPECT_FALSE(readEffect(past, 44100, why, tooLarge));
    EXPECT_TRUE(tooLarge);
    EXPECT_EQ(why, "33 MB once decoded, past the 32 MB an effect may take");
    // Eight channels of 24-bit at 96 kHz decode to 32 bits a sample before mixing.
    auto wide = WaveFile::parse(testing::extensibleWave(24, false, 8, 96000, 0.5), why);
    ASSERT_TRUE(wide) << why;
    EXPECT_EQ(wide->decodedBytes(44100), 48000u * 8 * 4);
    // 32-bit and float samples stay 32 bits; law and ADPCM samples decode to 16 bits.
    for (auto [bytes, decoded] : {std::pair{testing::sineWave(32, false, 2, 44100, 0.01), 441u * 2 * 4},
                                  {testing::sineWave(32, true, 2, 44100, 0.01), 441u * 2 * 4},
                                  {testing::lawWave(7, 8, 44100, 1000), 1000u * 8 * 2},
                                  {testing::adpcmWave(2, 2, 48000, 1), 500u * 2 * 2},
                                  {testing::adpcmWave(0x11, 2, 48000, 1), 505u * 2 * 2}})
        EXPECT_EQ(WaveFile::parse(bytes, why)->decodedBytes(44100), decoded);
    auto broken = write("broken.wav", testing::Bytes(1000, 7));
    EXPECT_FALSE(readEffect(broken, 44100, why, tooLarge));
    EXPECT_FALSE(tooLarge) << "a broken file is not a large one";
    for (std::uint64_t size : {kMaxEffectFileBytes, kMaxEffectFileBytes + 1}) {
        std::filesystem::resize_file(broken, size);
        EXPECT_FALSE(readEffect(broken, 44100, why, tooLarge));
        EXPECT_EQ(tooLarge, size > kMaxEffectFileBytes) << size;
    }
    // 8-bit mono at the mixer's rate: four bytes a frame once mixed, so 8 Mi frames fill the limit.
    auto edge = [&](std::size_t frames) {
        return write("edge.wav", testing::riffWave({testing::riffChunk("fmt ", testing::formatBody(1, 1, 44100, 8, 1)),
                                                    testing::riffChunk("data", testing::Bytes(frames, 128))}));
    };
    EXPECT_TRUE(readEffect(edge(kMaxEffectDecodedBytes / 4), 44100, why, tooLarge)) << why;
    EXPECT_FALSE(readEffect(edge(kMaxEffectDecodedBytes / 4 + 1), 44100, why, tooLarge));
    EXPECT_TRUE(tooLarge);
    EXPECT_FALSE(readEffect((dir / "missing.wav").string(), 44100, why, tooLarge));
    EXPECT_FALSE(tooLarge) << "nor is a missing one";
    std::filesystem::remove_all(dir);
}

TEST(EffectFile, LengthsOfLongSoundsDoNotOverflow) {
    // 100 s of stereo 16-bit frames at 44.1 kHz: 17 640 000 bytes.
    EXPECT_EQ(mixedLengthMs(17'640'000, 44100), 100'000);
    EXPECT_EQ(mixedLengthMs(0xFFFFFFFCu, 44100), 24'347'887);
}

TEST(WaveReader, OurOwnSoundsReadBackAsWritten) {
    auto beep = beepWave(44100);
    std::string why;
    auto parsed = WaveFile::parse(beep, why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_EQ(parsed->channels, 1);
    EXPECT_EQ(parsed->sampleRate, 44100);
    EXPECT_GE(parsed->lengthMs(), 80);
    EXPECT_LE(parsed->lengthMs(), 300);
    EXPECT_EQ(le32(&beep[4]), beep.size() - 8) << "the form's length";
    auto chime = defaultSoundWave(44100);
    EXPECT_TRUE(WaveFile::parse(chime, why));
    const std::int16_t samples[] = {1000, -1000, 0x1234};
    auto made = monoWaveBytes(samples, 8000);
    EXPECT_EQ(WaveFile::parse(made, why)->frames(), 3);
    EXPECT_EQ(std::vector(made.end() - 6, made.end()), (std::vector<std::uint8_t>{0xE8, 0x03, 0x18, 0xFC, 0x34, 0x12}));
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
