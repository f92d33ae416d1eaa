#include "song.h"

#include "midi_writer.h"
#include "notation.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace media {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr std::uint32_t kSixteenth = kTicksPerQuarter / 4;
constexpr int kStepsPerBar = 16;
constexpr std::uint32_t kBarTicks = kSixteenth * kStepsPerBar;

// A little air between notes keeps repeated pitches distinct without
// making the line sound staccato.
constexpr std::uint32_t kGap = kSixteenth / 8;

constexpr int kLeadChannel = 0;
constexpr int kBassChannel = 1;
constexpr int kHarmonyChannel = 2;
constexpr int kDrumChannel = 9;

constexpr int kVolumeController = 7;
constexpr int kPanController = 10;
constexpr int kReverbController = 91;

// Bass roots sit in C2..B2; chord tones are folded into G3..F#4, which gives
// close voicings that move smoothly from chord to chord.
constexpr int kBassLowestRoot = 36;
constexpr int kHarmonyLowest = 55;

struct Part {
    MidiTrack track;
    int channel;
    int velocity;
};

Part startPart(std::string_view name, int channel, const Instrument& instrument, bool percussion)
{
    Part part{{}, channel, instrument.velocity};
    part.track.trackName(name);
    if (!percussion) {
        part.track.programChange(channel, instrument.program);
    }
    part.track.controlChange(channel, kVolumeController, instrument.volume);
    part.track.controlChange(channel, kPanController, instrument.pan);
    part.track.controlChange(channel, kReverbController, instrument.reverb);
    return part;
}

std::vector<Token> barTokens(std::string_view text, std::size_t barIndex)
{
    std::vector<Token> tokens = parseTokens(text);
    if (totalSixteenths(tokens) != kStepsPerBar) {
        throw std::invalid_argument("bar " + std::to_string(barIndex + 1) + " does not fill 16 steps: '" +
                                    std::string(text) + "'");
    }
    return tokens;
}

// Calls play(symbol, start, length) for every non-rest token of a bar.
template <typename Play>
void walkBar(std::string_view text, std::size_t barIndex, Play play)
{
    std::uint32_t start = static_cast<std::uint32_t>(barIndex) * kBarTicks;
    for (const Token& token : barTokens(text, barIndex)) {
        const std::uint32_t length = static_cast<std::uint32_t>(token.sixteenths) * kSixteenth;
        if (token.symbol != kRest) {
            play(token.symbol, start, length - kGap);
        }
        start += length;
    }
}

int bassInterval(std::string_view degree, const Chord& chord)
{
    if (degree == "1") return 0;
    if (degree == "3") return chord.minor ? 3 : 4;
    if (degree == "5") return 7;
    if (degree == "8") return 12;
    throw std::invalid_argument("unknown bass degree '" + std::string(degree) + "'");
}

std::vector<int> harmonyKeys(const Chord& chord)
{
    std::vector<int> keys;
    for (const int interval : {0, chord.minor ? 3 : 4, 7}) {
        const int pitch = (chord.root + interval) % 12;
        keys.push_back(kHarmonyLowest + (pitch - kHarmonyLowest % 12 + 12) % 12);
    }
    return keys;
}

int drumVelocity(char hit, int normal)
{
    switch (hit) {
    case 'X': return normal + 20;
    case 'x': return normal;
    case 'o': return normal - 35;
    case '.': return 0;
    default: throw std::invalid_argument(std::string("unknown drum hit '") + hit + "'");
    }
}

void writeDrums(Part& part, const DrumBar& bar, std::size_t barIndex)
{
    const std::uint32_t barStart = static_cast<std::uint32_t>(barIndex) * kBarTicks;
    for (const DrumLane& lane : bar) {
        if (lane.hits.size() != kStepsPerBar) {
            throw std::invalid_argument("drum lane in bar " + std::to_string(barIndex + 1) + " is not 16 steps");
        }
        for (std::size_t step = 0; step < lane.hits.size(); ++step) {
            const int velocity = drumVelocity(lane.hits[step], part.velocity);
            if (velocity > 0) {
                part.track.note(kDrumChannel, lane.key, velocity,
                                barStart + static_cast<std::uint32_t>(step) * kSixteenth, kSixteenth / 2);
            }
        }
    }
}

} // namespace

Bytes renderSong(const Song& song)
{
    const std::uint32_t end = static_cast<std::uint32_t>(song.bars.size()) * kBarTicks;

    MidiTrack conductor;
    conductor.trackName(song.name);
    conductor.timeSignature(4, 2);
    conductor.tempo(song.beatsPerMinute);

    Part lead = startPart("Lead", kLeadChannel, song.lead, false);
    Part bass = startPart("Bass", kBassChannel, song.bass, false);
    Part harmony = startPart("Harmony", kHarmonyChannel, song.harmony, false);
    Part drums = startPart("Drums", kDrumChannel, song.drums, true);

    for (std::size_t index = 0; index < song.bars.size(); ++index) {
        const Bar& bar = song.bars[index];
        const Chord chord = parseChord(bar.chord);

        walkBar(bar.melody, index, [&](std::string_view note, std::uint32_t start, std::uint32_t length) {
            lead.track.note(lead.channel, parseNoteName(note), lead.velocity, start, length);
        });
        walkBar(song.bassRhythm, index, [&](std::string_view degree, std::uint32_t start, std::uint32_t length) {
            const int key = kBassLowestRoot + chord.root + bassInterval(degree, chord);
            bass.track.note(bass.channel, key, bass.velocity, start, length);
        });
        walkBar(song.harmonyRhythm, index, [&](std::string_view hit, std::uint32_t start, std::uint32_t length) {
            if (hit != "x") {
                throw std::invalid_argument("unknown harmony hit '" + std::string(hit) + "'");
            }
            for (const int key : harmonyKeys(chord)) {
                harmony.track.note(harmony.channel, key, harmony.velocity, start, length);
            }
        });
        writeDrums(drums, *bar.drums, index);
    }

    std::vector<MidiTrack> tracks{conductor, lead.track, bass.track, harmony.track, drums.track};
    for (MidiTrack& track : tracks) {
        track.endAt(end);
    }
    return encodeMidiFile(kTicksPerQuarter, tracks);
}

} // namespace media
