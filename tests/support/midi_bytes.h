#pragma once

// Standard MIDI Files written byte by byte for the tests, and songs with the
// oddities that tolerant players accept.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/wave_bytes.h"

namespace vantorix::testing {

using Midi = std::vector<std::uint8_t>;

inline Midi join(std::initializer_list<Midi> parts) {
    Midi out;
    for (const Midi& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An event: its delta time, then its bytes as written.
inline Midi ev(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
    Midi out;
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = delta & 0x7F;
        delta >>= 7;
    } while (delta != 0);
    while (n-- > 0) out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
    out.insert(out.end(), bytes);
    return out;
}

inline Midi chunk(const char* tag, const Midi& body) {
    Midi out(tag, tag + 4);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(body.size() >> shift));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Midi header(int format, int tracks, int division) {
    return chunk("MThd", {0, static_cast<std::uint8_t>(format), static_cast<std::uint8_t>(tracks >> 8),
                          static_cast<std::uint8_t>(tracks), static_cast<std::uint8_t>(division >> 8),
                          static_cast<std::uint8_t>(division)});
}

inline Midi endOfTrack(std::uint32_t delta) { return ev(delta, {0xFF, 0x2F, 0x00}); }

// Format 0 at 480 ticks a quarter and 120 beats a minute: piano middle C for a
// quarter note, the song a second long. `before` comes right before the note.
inline Midi oneNote(const Midi& before, const Midi& after = {}) {
    Midi track = join({ev(0, {0xC0, 0x00}), before, ev(0, {0x90, 0x3C, 0x64}),
                       ev(480, {0x80, 0x3C, 0x40}), after, endOfTrack(480)});
    return join({header(0, 1, 480), chunk("MTrk", track)});
}

struct OddSong {
    std::string what;
    Midi bytes;
    std::int64_t lengthMs;
};

// Songs that other players play, each with one thing a strict reader refuses.
inline std::vector<OddSong> oddSongs() {
    std::vector<OddSong> songs;
    for (std::uint8_t status : {0xF4, 0xF5, 0xF9, 0xFD, 0xF8, 0xFE})
        songs.push_back({"system byte " + std::to_string(status), oneNote(ev(0, {status})), 1000});
    songs.push_back({"song position", oneNote(ev(0, {0xF2, 0x00, 0x00})), 1000});
    songs.push_back({"SysEx continuation", oneNote(ev(0, {0xF7, 0x02, 0x01, 0x02})), 1000});
    for (std::uint8_t mode : {124, 125, 126, 127})
        songs.push_back({"channel mode " + std::to_string(mode), oneNote(ev(0, {0xB0, mode, 0})), 1000});
    songs.push_back({"channel pressure", oneNote(ev(0, {0xD0, 0x40})), 1000});
    songs.push_back({"short time signature", oneNote(ev(0, {0xFF, 0x58, 0x02, 0x04, 0x02})), 1000});
    songs.push_back({"short key signature", oneNote(ev(0, {0xFF, 0x59, 0x01, 0x00})), 1000});
    songs.push_back({"long SMPTE offset", oneNote(ev(0, {0xFF, 0x54, 0x06, 0, 0, 0, 0, 0, 0})), 1000});
    songs.push_back({"tempo of zero", oneNote(ev(0, {0xFF, 0x51, 0x03, 0, 0, 0})), 1000});
    songs.push_back({"short tempo", oneNote(ev(0, {0xFF, 0x51, 0x02, 0x07, 0xA1})), 1000});
    songs.push_back({"song select and time code before any channel",
                     join({header(0, 1, 480),
                           chunk("MTrk", join({ev(0, {0xF3, 0x01}), ev(0, {0xF1, 0x02}), ev(0, {0x90, 0x3C, 0x64}),
                                               ev(480, {0x80, 0x3C, 0x40}), endOfTrack(480)}))}),
                     1000});
    songs.push_back({"running status across a meta event",
                     join({header(0, 1, 480),
                           chunk("MTrk", join({ev(0, {0x90, 0x3C, 0x64}), ev(0, {0xFF, 0x01, 0x01, 'x'}),
                                               ev(480, {0x3C, 0x00}), endOfTrack(480)}))}),
                     1000});
    Midi track = join({ev(0, {0x90, 0x3C, 0x64}), ev(480, {0x80, 0x3C, 0x40}), endOfTrack(480)});
    songs.push_back({"unknown chunks beside the track",
                     join({header(1, 1, 480), chunk("XFIH", {1, 2, 3}), chunk("MTrk", track),
                           chunk("junk", {})}),
                     1000});
    songs.push_back({"fewer tracks than the header says",
                     join({header(1, 3, 480), chunk("MTrk", track)}), 1000});
    songs.push_back({"no end of track", join({header(0, 1, 480),
                                              chunk("MTrk", join({ev(0, {0x90, 0x3C, 0x64}),
                                                                  ev(960, {0x80, 0x3C, 0x40})}))}),
                     1000});
    songs.push_back({"a tune request last, no end of track",
                     join({header(0, 1, 480), chunk("MTrk", join({ev(0, {0x90, 0x3C, 0x64}), ev(480, {0x80, 0x3C, 0x40}),
                                                                  ev(480, {0xF6})}))}),
                     1000});
    songs.push_back({"garbage after the notes",
                     join({header(0, 1, 480), chunk("MTrk", join({ev(0, {0x90, 0x3C, 0x64}),
                                                                  ev(960, {0x80, 0x3C, 0x40}),
                                                                  {0x81, 0x82, 0x83, 0x84, 0x85}}))}),
                     1000});
    // 25 frames a second of 40 ticks: 1000 ticks a second, whatever the tempo says.
    songs.push_back({"time code", join({chunk("MThd", {0, 0, 0, 1, 0xE7, 40}),
                                        chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}),
                                                            ev(0, {0x90, 0x3C, 0x64}),
                                                            ev(500, {0x80, 0x3C, 0x40}),
                                                            endOfTrack(1000)}))}),
                     1500});
    return songs;
}

}  // namespace vantorix::testing

namespace vantorix::testing {

// A RIFF "RMID" form of the chunks given, as an .rmi file is.
inline Midi riffForm(std::initializer_list<Midi> chunks) {
    Midi body = {'R', 'M', 'I', 'D'};
    for (const Midi& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Midi out = {'R', 'I', 'F', 'F'};
    putLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Midi riffMidi(const Midi& smf) { return riffForm({riffChunk("data", smf)}); }

struct PlainSong {
    std::string what;
    Midi bytes;
    std::int64_t lengthMs;
    bool hasNotes = true;
};

// Songs as other programs write them, each showing one part of the format.
inline std::vector<PlainSong> songsBeyondOurOwn() {
    Midi note = join({ev(0, {0x90, 0x3C, 0x64}), ev(480, {0x80, 0x3C, 0x40})});
    return {
        {"format 0", oneNote({}), 1000},
        {"format 1 with a tempo track",
         join({header(1, 2, 480),
               chunk("MTrk", join({ev(0, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}), endOfTrack(0)})),
               chunk("MTrk", join({note, endOfTrack(480)}))}),
         2000},
        {"running status", join({header(0, 1, 480),
                                 chunk("MTrk", join({ev(0, {0x90, 0x3C, 0x64}), ev(0, {0x40, 0x64}),
                                                     ev(480, {0x3C, 0x00}), ev(0, {0x40, 0x00}),
                                                     endOfTrack(480)}))}),
         1000},
        // 120, then 60, then 240 beats a minute: 500 + 1000 + 250 ms.
        {"several tempo changes",
         join({header(0, 1, 480),
               chunk("MTrk", join({note, ev(0, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}),
                                   ev(480, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}), endOfTrack(480)}))}),
         1750},
        {"a General MIDI reset first",
         oneNote(ev(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})), 1000},
        {"a long silence at the end",
         join({header(0, 1, 480), chunk("MTrk", join({note, endOfTrack(4800)}))}), 5500},
        {"no notes", join({header(0, 1, 480), chunk("MTrk", join({ev(0, {0xC0, 0x05}), endOfTrack(960)}))}),
         1000, false},
        {"wrapped in RIFF", riffMidi(oneNote({})), 1000},
    };
}

}  // namespace vantorix::testing
