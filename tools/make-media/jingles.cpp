#include "effects.h"

#include "mastering.h"

namespace media {
namespace {

// A narrow pulse for the tune, soft triangles underneath: the classic
// home-console colour that matches the songs' square and saw leads.
constexpr Voice kLead{.shape = Waveform::square, .duty = 0.25, .gain = 0.5,
                      .decaySeconds = 0.25, .sustain = 0.55, .releaseShare = 0.3, .vibratoDepth = 0.006};
constexpr Voice kHarmony{.shape = Waveform::triangle, .duty = 0.5, .gain = 0.28,
                         .decaySeconds = 0.5, .sustain = 0.7, .releaseShare = 0.3, .vibratoDepth = 0.0};
constexpr Voice kBass{.shape = Waveform::triangle, .duty = 0.5, .gain = 0.5,
                      .decaySeconds = 0.6, .sustain = 0.6, .releaseShare = 0.3, .vibratoDepth = 0.0};

Samples render(double seconds, const std::vector<Note>& lead, const std::vector<Note>& harmony,
               const std::vector<Note>& bass)
{
    Samples out(sampleCount(seconds));
    play(out, kLead, lead);
    play(out, kHarmony, harmony);
    play(out, kBass, bass);
    master(out);
    return out;
}

} // namespace

Samples gameStartJingle()
{
    // G4 C5 E5 G5 climbing into a held C6 over a C major chord.
    return render(1.0,
                  {{0.00, 0.11, 67}, {0.09, 0.11, 72}, {0.18, 0.11, 76}, {0.27, 0.11, 79},
                   {0.36, 0.12, 84}, {0.48, 0.52, 88}},
                  {{0.36, 0.64, 76}, {0.36, 0.64, 79}},
                  {{0.00, 0.36, 55}, {0.36, 0.64, 60}});
}

Samples goodbyePhrase()
{
    // C6 G5 E5 settling on C5, the last note over a soft C chord.
    return render(1.0,
                  {{0.00, 0.18, 84}, {0.18, 0.18, 79}, {0.36, 0.18, 76}, {0.54, 0.46, 72}},
                  {{0.54, 0.46, 64}, {0.54, 0.46, 67}},
                  {{0.00, 0.54, 55}, {0.54, 0.46, 48}});
}

Samples gameOverJingle()
{
    // E5 D5 C5 B4 stepping down to a long A4: Am, F, E, Am underneath.
    return render(2.5,
                  {{0.00, 0.30, 76}, {0.30, 0.30, 74}, {0.60, 0.30, 72}, {0.90, 0.30, 71}, {1.20, 1.30, 69}},
                  {{0.00, 0.60, 60}, {0.00, 0.60, 64}, {0.60, 0.30, 60}, {0.60, 0.30, 65},
                   {0.90, 0.30, 59}, {0.90, 0.30, 64}, {1.20, 1.30, 60}, {1.20, 1.30, 64}},
                  {{0.00, 0.60, 45}, {0.60, 0.30, 41}, {0.90, 0.30, 40}, {1.20, 1.30, 45}});
}

Samples stageClearFanfare()
{
    // A quick C major pickup, a call on G5, then F and G leading to a held C6.
    return render(2.5,
                  {{0.00, 0.11, 67}, {0.11, 0.11, 72}, {0.22, 0.11, 76}, {0.33, 0.33, 79}, {0.66, 0.16, 76},
                   {0.82, 0.16, 79}, {0.98, 0.16, 81}, {1.14, 0.16, 83}, {1.30, 1.20, 84}},
                  {{0.33, 0.65, 64}, {0.33, 0.65, 67}, {0.98, 0.16, 65}, {0.98, 0.16, 69},
                   {1.14, 0.16, 67}, {1.14, 0.16, 71}, {1.30, 1.20, 64}, {1.30, 1.20, 67}, {1.30, 1.20, 72}},
                  {{0.00, 0.98, 48}, {0.98, 0.16, 41}, {1.14, 0.16, 43}, {1.30, 1.20, 48}});
}

} // namespace media
