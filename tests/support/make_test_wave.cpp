// Writes a sine wave file for the real-window tests:
//   make-test-wave pcm16|pcm24|float32 SECONDS OUT
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/wave_bytes.h"

int main(int argc, char** argv) {
    using vantorix::testing::sineWave;
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-test-wave pcm16|pcm24|float32 SECONDS OUT\n");
        return 2;
    }
    std::string kind = argv[1];
    double seconds = std::atof(argv[2]);
    vantorix::testing::Bytes bytes;
    if (kind == "pcm16") bytes = sineWave(16, false, 1, 44100, seconds, 440);
    else if (kind == "pcm24") bytes = sineWave(24, false, 2, 48000, seconds, 660);
    else if (kind == "float32") bytes = sineWave(32, true, 1, 22050, seconds, 880);
    else return 2;
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
