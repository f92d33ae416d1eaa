// The replay file: what it keeps, and every way a file is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "games.h"
#include "replay/bytes.h"

namespace vantorix {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A changed file with its checksum made right again: only the change is wrong.
Bytes resummed(Bytes bytes) {
    std::uint64_t sum = fnv1a(std::span(bytes).first(bytes.size() - 8));
    for (int i = 0; i < 8; ++i) bytes[bytes.size() - 8 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    return bytes;
}

std::string refusal(const Bytes& bytes) {
    std::string whyNot;
    EXPECT_FALSE(decodeReplay(bytes, whyNot));
    return whyNot;
}

TEST(ReplayFile, WhatIsReadWritesBackByteForByte) {
    Bytes file = bytesOf(testing::game("perfect.vtxreplay"));
    std::string whyNot;
    auto replay = decodeReplay(file, whyNot);
    ASSERT_TRUE(replay) << whyNot;
    std::string again = encodeReplay(*replay);
    EXPECT_EQ(Bytes(again.begin(), again.end()), file);
}

TEST(ReplayFile, DamagedForeignAndOtherVersionsAreRefusedWithTheReason) {
    Bytes good = bytesOf(testing::game("mayday.vtxreplay"));
    EXPECT_EQ(refusal({}), "not a Vantorix replay");
    EXPECT_EQ(refusal(Bytes{'M', 'T', 'h', 'd'}), "not a Vantorix replay");
    EXPECT_EQ(refusal(Bytes(good.begin(), good.begin() + 12)), "damaged: it ends too soon");

    Bytes flipped = good;
    flipped[flipped.size() / 2] ^= 0x20;
    EXPECT_EQ(refusal(flipped), "damaged: its checksum does not match");
    Bytes cut(good.begin(), good.end() - 20);
    EXPECT_EQ(refusal(cut), "damaged: its checksum does not match");

    Bytes newer = good;
    newer[9] = 2;
    EXPECT_EQ(refusal(resummed(newer)), "a replay of version 2, and this game reads version 1");

    // Whatever a file's inside says, with a right checksum it is refused, not followed.
    for (std::size_t at = 10; at < good.size() - 8; ++at) {
        for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            Bytes changed = good;
            changed[at] = value;
            std::string whyNot;
            if (!decodeReplay(resummed(changed), whyNot)) {
                EXPECT_EQ(whyNot.rfind("damaged: ", 0), 0u) << whyNot;
            }
        }
    }
}

TEST(ReplayFile, AFileMustEndWithACheckOfTheFinalState) {
    Replay replay = testing::readGame("dekopin.vtxreplay");
    replay.checks.pop_back();
    std::string file = encodeReplay(replay);
    EXPECT_EQ(refusal(Bytes(file.begin(), file.end())), "damaged: it does not end with a check of the final state");
}

TEST(ReplayFile, AFileFarTooLargeIsNotRead) {
    auto path = std::filesystem::temp_directory_path() / "replay_file_test_large.vtxreplay";
    std::ofstream(path).close();
    std::filesystem::resize_file(path, kMaxReplayBytes + 1);
    std::string whyNot;
    EXPECT_FALSE(readReplay(path, whyNot));
    EXPECT_NE(whyNot, "");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vantorix
