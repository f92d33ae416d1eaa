// A replay file as --replay and --verify-replay read it: our reader, then,
// for what it takes, the rules played through with its state and events.
// Random bytes almost never carry the right checksum, so a second reading
// puts the right one in first, to reach what lies behind it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "replay/bytes.h"
#include "replay/replay_file.h"
#include "replay/verify.h"

namespace {

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "replay_fuzz: %s\n", why);
    std::abort();
}

void readAndPlay(std::span<const std::uint8_t> bytes) {
    std::string whyNot;
    auto replay = vantorix::decodeReplay(bytes, whyNot);
    if (!replay) {
        if (whyNot.empty()) fail("refused without a reason");
        return;
    }
    // What was read writes back as a file that reads as the same game.
    std::string again = vantorix::encodeReplay(*replay);
    auto reread = vantorix::decodeReplay({reinterpret_cast<const std::uint8_t*>(again.data()), again.size()}, whyNot);
    if (!reread || !(*reread == *replay)) fail("a replay written back does not read as itself");
    vantorix::verifyReplay(*replay);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    readAndPlay(bytes);
    if (size < 8) return 0;
    std::vector<std::uint8_t> mended(data, data + size);
    std::uint64_t sum = vantorix::fnv1a(std::span(mended).first(size - 8));
    for (int i = 0; i < 8; ++i) mended[size - 8 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    readAndPlay(mended);
    return 0;
}
