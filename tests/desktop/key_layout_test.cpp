// Keyboard layouts: Latin letters by what the layout types, others by place.
#include <gtest/gtest.h>

#include "desktop/key_layout.h"

namespace vantorix {
namespace {

TEST(KeyLayout, LatinLayoutsKeepTheirOwnLetters) {
    EXPECT_EQ(letterKey(U'z', 'Z'), 'Z');
    EXPECT_EQ(letterKey(U'z', 'W'), 'Z') << "AZERTY's Z sits where a US keyboard has W";
    EXPECT_EQ(letterKey(U'w', 'Z'), 'W') << "and the key under a US Z types W there";
    EXPECT_EQ(letterKey(U'y', 'Z'), 'Y') << "QWERTZ";
    EXPECT_EQ(letterKey(U'X', 'X'), 'X');
    EXPECT_EQ(letterKey(U'\u00f6', 0), std::nullopt) << "a Latin letter off the A-Z keys";
    EXPECT_EQ(letterKey(U'\u0131', 'I'), std::nullopt)
        << "a Latin letter the game has no key for is not another's by place";
    EXPECT_EQ(letterKey(U';', 'Z'), std::nullopt) << "Dvorak's key under a US Z is not Z";
}

TEST(KeyLayout, OtherScriptsGoByPlace) {
    EXPECT_EQ(letterKey(U'\u044f', 'Z'), 'Z') << "Russian";
    EXPECT_EQ(letterKey(U'\u0447', 'X'), 'X') << "Russian";
    EXPECT_EQ(letterKey(U'\u03b6', 'Z'), 'Z') << "Greek";
    EXPECT_EQ(letterKey(U'\u05d6', 'Z'), 'Z') << "Hebrew";
    EXPECT_EQ(letterKey(U'\u0626', 'Z'), 'Z') << "Arabic";
    EXPECT_EQ(letterKey(0, 'Z'), 'Z') << "a key that types nothing";
    EXPECT_EQ(letterKey(U'\u044f', 0), std::nullopt) << "off the letter block there is no place to go by";
}

}  // namespace
}  // namespace vantorix
