// Levels of stretches of a capture from SDL's disk audio driver (raw stereo
// signed 16-bit little-endian frames at 44100 Hz).
//
//   levels FILE FROM_S TO_S [FROM_S TO_S ...]
//
// prints for each stretch one line: RMS in dBFS, peak in dBFS, and how many
// samples sit at full scale (clipped). 0 dBFS is full scale; a full-scale sine
// has an RMS of -3 dBFS.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

constexpr int kRate = 44100;

double dbfs(double level) { return level > 0 ? 20 * std::log10(level / 32768.0) : -999.0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: levels FILE FROM_S TO_S [FROM_S TO_S ...]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::int16_t> samples(raw.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[2 * i]) |
                                               (static_cast<std::uint8_t>(raw[2 * i + 1]) << 8));
    for (int a = 2; a + 1 < argc; a += 2) {
        auto from = static_cast<std::size_t>(std::atof(argv[a]) * kRate) * 2;
        auto to = std::min(samples.size(), static_cast<std::size_t>(std::atof(argv[a + 1]) * kRate) * 2);
        double sum = 0;
        int peak = 0;
        long clipped = 0;
        for (std::size_t i = from; i < to; ++i) {
            int s = samples[i];
            sum += static_cast<double>(s) * s;
            peak = std::max(peak, std::abs(s));
            if (s >= 32767 || s <= -32768) ++clipped;
        }
        double rms = to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
        std::printf("%.1f %.1f %ld\n", dbfs(rms), dbfs(peak), clipped);
    }
    return 0;
}
