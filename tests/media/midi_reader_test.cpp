// The MIDI reader: tolerant of what other players accept, exact with our own songs.
#include <gtest/gtest.h>

#include <algorithm>

#include "media/file_bytes.h"
#include "media/midi_file.h"
#include "support/midi_bytes.h"

namespace vantorix {
namespace {

using testing::Midi;

bool holds(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> run) {
    return std::search(bytes.begin(), bytes.end(), run.begin(), run.end()) != bytes.end();
}

TEST(MidiReader, SongsWithOdditiesOthersPlayAreReadWhole) {
    for (const auto& song : testing::oddSongs()) {
        std::string why;
        auto parsed = MidiFile::parse(song.bytes, why);
        ASSERT_TRUE(parsed) << song.what << ": " << why;
        EXPECT_EQ(parsed->lengthMs(), song.lengthMs) << song.what;
        EXPECT_TRUE(holds(parsed->playable(), {0x90, 0x3C, 0x64})) << song.what << ": the note";
        // What the synthesizer gets reads back as itself.
        auto again = MidiFile::parse(parsed->playable(), why);
        ASSERT_TRUE(again) << song.what << ": " << why;
        EXPECT_EQ(again->playable(), parsed->playable()) << song.what;
        EXPECT_EQ(again->lengthMs(), song.lengthMs) << song.what;
    }
}

TEST(MidiReader, WhatTheSynthesizerRefusesIsLeftOut) {
    for (const auto& song : testing::oddSongs()) {
        std::string why;
        auto parsed = MidiFile::parse(song.bytes, why);
        const auto& played = parsed->playable();
        for (std::uint8_t status : {0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF7, 0xF8, 0xF9, 0xFD})
            EXPECT_FALSE(holds(played, {0x00, status})) << song.what;
        using Meta = std::pair<std::uint8_t, std::uint8_t>;  // type and a length it cannot have
        for (auto [type, length] : {Meta{0x58, 0x02}, {0x59, 0x01}, {0x54, 0x06}, {0x51, 0x02}})
            EXPECT_FALSE(holds(played, {0xFF, type, length})) << song.what;
        EXPECT_FALSE(holds(played, {0xFF, 0x51, 0x03, 0, 0, 0})) << song.what;
        EXPECT_FALSE(holds(played, {0x02, 0x01, 0x02})) << song.what << ": a SysEx continuation";
        for (std::uint8_t mode : {124, 125, 126, 127}) EXPECT_FALSE(holds(played, {0xB0, mode}));
        EXPECT_EQ(played[7], 6) << song.what << ": the header is six bytes";
    }
    std::string why;
    using testing::ev;
    auto modes = MidiFile::parse(testing::oneNote(testing::join({ev(0, {0xB1, 126, 0}), ev(0, {0xB0, 0x80, 0})})), why);
    EXPECT_TRUE(holds(modes->playable(), {0xB1, 0x7B, 0x00})) << "mono on still stops the notes";
    EXPECT_TRUE(holds(modes->playable(), {0xB0, 0x80, 0x00})) << "a byte past the controllers is no mode";
    auto proper = MidiFile::parse(testing::oneNote(testing::join({ev(0, {0xFF, 0x59, 0x02, 0, 0}),
                                                                  ev(0, {0xFF, 0x54, 0x05, 0x60, 0, 0, 0, 0})})),
                                  why);
    EXPECT_TRUE(holds(proper->playable(), {0xFF, 0x59, 0x02})) << "a key signature of the right length stays";
    EXPECT_TRUE(holds(proper->playable(), {0xFF, 0x54, 0x05})) << "so does a SMPTE offset";
    auto timeCode = MidiFile::parse(testing::oddSongs().back().bytes, why);
    EXPECT_EQ(timeCode->playable()[12] * 256 + timeCode->playable()[13], 1000)
        << "time code becomes 1000 ticks a one-second quarter note";
}

TEST(MidiReader, SongsBeyondOurOwnReportTheirLength) {
    for (const auto& song : testing::songsBeyondOurOwn()) {
        std::string why;
        auto parsed = MidiFile::parse(song.bytes, why);
        ASSERT_TRUE(parsed) << song.what << ": " << why;
        EXPECT_EQ(parsed->lengthMs(), song.lengthMs) << song.what;
    }
}

TEST(MidiReader, OnlyAFileWithoutUsableHeaderOrTrackIsRefusedSayingWhy) {
    using testing::chunk, testing::ev, testing::header, testing::join, testing::riffChunk, testing::riffForm;
    auto track = chunk("MTrk", testing::endOfTrack(0));
    // A chunk whose length, top bit set, runs far past the file.
    Midi past = join({{'J', 'U', 'N', 'K', 0x10, 0, 0, 0x80}, Midi(16, 0)});
    struct Refused {
        const char* what;
        Midi bytes;
        const char* why;
    };
    for (const auto& [what, bytes, reason] : {
             Refused{"no tracks", header(0, 0, 480), "no usable track"},
             {"format 3", join({header(3, 1, 480), track}), "unsupported MIDI header"},
             {"division 0", join({header(0, 1, 0), track}), "unsupported MIDI header"},
             {"an empty track", join({header(0, 1, 480), chunk("MTrk", {})}), "no usable track"},
             {"data with no status", join({header(0, 1, 480), chunk("MTrk", ev(0, {0x3C, 0x40}))}),
              "no usable track"},
             {"a header of four bytes", join({chunk("MThd", {0, 0, 0, 1}), track}), "bad MIDI header"},
             {"a header past the file", Midi{'M', 'T', 'h', 'd', 0, 0, 0, 100, 0, 0, 0, 1, 1, 0xE0}, "bad MIDI header"},
             {"RIFF without data", riffForm({}), "not a MIDI file"},
             {"RIFF with an empty chunk only", riffForm({riffChunk("JUNK", {})}), "not a MIDI file"},
             {"RIFF ending in an odd chunk without its pad", riffForm({Midi{'J', 'U', 'N', 'K', 3, 0, 0, 0, 1, 2, 3}}),
              "not a MIDI file"},
             {"RIFF with a chunk past the file first", riffForm({past, riffChunk("data", testing::oneNote({}))}),
              "not a MIDI file"},
         }) {
        std::string why;
        EXPECT_FALSE(MidiFile::parse(bytes, why)) << what;
        EXPECT_EQ(why, reason) << what;
    }
}

TEST(MidiReader, HeadersAndWrappersOthersWriteAreRead) {
    using testing::chunk, testing::ev, testing::join, testing::riffChunk;
    auto song = testing::oneNote({});
    Midi cutData = join({{'d', 'a', 't', 'a'}, Midi(4, 0), song});
    testing::Bytes length;
    testing::putLe(length, static_cast<std::uint32_t>(song.size() + 1000), 4);
    std::copy(length.begin(), length.end(), cutData.begin() + 4);
    Midi note = join({ev(0, {0x90, 0x3C, 0x64}), ev(1, {0x80, 0x3C, 0x40}), testing::endOfTrack(1)});
    for (const auto& [what, bytes] : {
             std::pair{"RIFF with an odd-sized list first and its data cut short",
                       testing::riffForm({riffChunk("LIST", Midi(0x012345, 'i')), cutData})},
             {"a header of eight bytes",
              join({chunk("MThd", {0, 0, 0, 1, 1, 0xE0, 0x12, 0x34}), Midi(song.begin() + 14, song.end())})},
             {"one tick a quarter note", join({testing::header(0, 1, 1), chunk("MTrk", note)})},
             {"format 2", join({testing::header(2, 1, 1), chunk("MTrk", note)})},
             {"a track of over 64 KB", testing::oneNote(join({{0x00, 0xF0, 0x84, 0xA2, 0x70}, Midi(69999, 1), {0xF7}}))},
             {"two tracks setting the tempo at once: the later counts",
              join({testing::header(1, 2, 1), chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}),
                                                                  testing::endOfTrack(0)})),
                    chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}), note}))})},
             {"pauses of more than 65 535 ticks, at 480 beats a minute",
              join({testing::header(0, 1, 0x7FFF),
                    chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x01, 0xE8, 0x48}), ev(0, {0x90, 0x3C, 0x64}),
                                        ev(1000, {0x80, 0x3C, 0x40}), ev(69000, {0xFF, 0x01, 0x01, 'x'}),
                                        testing::endOfTrack(8 * 0x7FFF - 70000)}))})},
             {"a SysEx a tick in, and one cut short last",
              join({testing::header(0, 1, 1),
                    chunk("MTrk", join({ev(1, {0xF0, 0x01, 0xF7}), ev(0, {0x90, 0x3C, 0x64}), ev(1, {0x80, 0x3C, 0x40}),
                                        ev(0, {0xF0, 0x05, 0x7E})}))})},
             {"a track past the count the header gives",
              join({testing::header(0, 1, 1), chunk("MTrk", note), chunk("MTrk", testing::endOfTrack(8))})},
             {"time code of one frame a second, two ticks a frame",
              join({chunk("MThd", {0, 0, 0, 1, 0xFF, 2}), chunk("MTrk", note)})},
         }) {
        std::string why;
        auto parsed = MidiFile::parse(bytes, why);
        ASSERT_TRUE(parsed) << what << ": " << why;
        EXPECT_EQ(parsed->lengthMs(), 1000) << what;
        EXPECT_EQ(MidiFile::parse(parsed->playable(), why)->lengthMs(), 1000) << what << ", as played";
    }
    std::string why;
    auto bare = MidiFile::parse(join({testing::header(1, 3, 1), chunk("MTrk", note), chunk("MTrk", ev(0, {0xF0, 0x01, 0xF7})),
                                      chunk("MTrk", ev(0, {0xF8}))}),
                                why);
    EXPECT_EQ(bare->trackCount(), 3) << "a track of only a SysEx or a clock byte, with no end, is still read";
    Midi many = testing::header(1, 128, 480);
    for (int i = 0; i < 128; ++i) many = join({many, chunk("MTrk", testing::endOfTrack(0))});
    auto kept = MidiFile::parse(many, why);
    EXPECT_EQ(kept->trackCount(), 127) << "as many tracks as the synthesizer reads";
    EXPECT_EQ(kept->lengthMs(), 0);
    // Past the last tick the reader counts, the track ends: no length overflows.
    constexpr std::uint32_t kLastTick = (1u << 28) - 1;
    auto endless = MidiFile::parse(join({testing::header(0, 1, 480),
                                         chunk("MTrk", join({ev(kLastTick, {0x90, 0x3C, 0x64}), ev(1, {0x80, 0x3C, 0x40})}))}),
                                   why);
    EXPECT_EQ(endless->totalTicks(), kLastTick);
    // One tick of 1001 us: a part of a millisecond counts as a whole one.
    auto brief = MidiFile::parse(join({testing::header(0, 1, 1),
                                       chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x00, 0x03, 0xE9}),
                                                           testing::endOfTrack(1)}))}),
                                 why);
    EXPECT_EQ(brief->lengthMs(), 2);
}

TEST(MidiReader, TheProgramsASongSelectsAreKnownFromEveryTrackAndChannel) {
    using testing::chunk, testing::ev, testing::header, testing::join;
    // Running status carries a program change; a program in a meta event's text
    // or a controller's value is none.
    auto first = join({ev(0, {0xC3, 80}), ev(10, {5}), ev(0, {0xFF, 0x01, 2, 0xC0, 7}),
                       ev(0, {0xB0, 0x07, 100}), testing::endOfTrack(0)});
    auto second = join({ev(0, {0xC9, 0}), ev(0, {0xC1, 127}), testing::endOfTrack(0)});
    std::string why;
    auto song = MidiFile::parse(join({header(1, 2, 480), chunk("MTrk", first), chunk("MTrk", second)}), why);
    ASSERT_TRUE(song) << why;
    std::bitset<128> expected;
    for (int program : {0, 5, 80, 127}) expected.set(program);
    EXPECT_EQ(song->programs(), expected);
}

// The synthesizer's voices are counted from these notes before a song plays.
TEST(MidiReader, TheNotesASongSoundsAtOnceAreCountedAsTheSynthesizerHoldsThem) {
    using testing::chunk, testing::endOfTrack, testing::ev, testing::header, testing::join;
    std::string why;
    // Three notes on one track, a fourth on another in the middle of them.
    auto chord = join({ev(0, {0x90, 60, 90}), ev(0, {0x90, 64, 90}), ev(0, {0x90, 67, 90}), ev(480, {0x80, 60, 0}),
                       ev(0, {0x80, 64, 0}), ev(0, {0x80, 67, 0}), endOfTrack(0)});
    auto bass = join({ev(240, {0x91, 40, 90}), ev(720, {0x81, 40, 0}), endOfTrack(0)});
    auto both = MidiFile::parse(join({header(1, 2, 480), chunk("MTrk", chord), chunk("MTrk", bass)}), why);
    ASSERT_TRUE(both) << why;
    EXPECT_EQ(both->mostNotesAtOnce(), 4);
    // A key struck again sounds once, velocity 0 lets it go; the pedal holds
    // let-go notes, through "all notes off" too, until it lifts; "all sound
    // off" ends them all. The most: 60, 64, 65, 66 and 67 under the pedal.
    auto track = join({ev(0, {0x90, 60, 90}),  ev(10, {0x90, 60, 90}), ev(10, {0x90, 62, 90}), ev(10, {0x90, 62, 0}),
                       ev(10, {0xB0, 64, 127}), ev(10, {0x90, 64, 90}), ev(10, {0x80, 64, 0}), ev(10, {0x90, 65, 90}),
                       ev(10, {0x80, 65, 0}),  ev(10, {0x90, 66, 90}), ev(10, {0xB0, 123, 0}), ev(10, {0x90, 67, 90}),
                       ev(10, {0xB0, 64, 0}),  ev(10, {0x90, 68, 90}), ev(10, {0x90, 69, 90}), ev(10, {0xB0, 120, 0}),
                       ev(10, {0x90, 70, 90}), ev(0, {0x90, 71, 90}),  ev(0, {0x90, 72, 90}),  ev(0, {0x90, 73, 90}),
                       endOfTrack(0)});
    auto held = MidiFile::parse(join({header(0, 1, 480), chunk("MTrk", track)}), why);
    ASSERT_TRUE(held) << why;
    EXPECT_EQ(held->mostNotesAtOnce(), 5);
}

TEST(MidiReader, OurSongsReachTheSynthesizerByteForByte) {
    for (const char* name : {"title.mid", "bgm.mid"}) {
        std::string why;
        auto bytes = readFileCapped(std::string(VANTORIX_MEDIA_DIR) + "/" + name, MidiFile::kMaxBytes, why);
        ASSERT_TRUE(bytes) << name << ": " << why;
        auto parsed = MidiFile::parse(*bytes, why);
        ASSERT_TRUE(parsed) << name << ": " << why;
        EXPECT_EQ(parsed->playable(), *bytes) << name;
    }
}

}  // namespace
}  // namespace vantorix
