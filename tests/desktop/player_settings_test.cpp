// The player's own settings: volumes, the flash, pause on focus loss and the
// keys, from the command line and from the settings file.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/key_names.h"
#include "desktop/options.h"
#include "desktop/settings.h"

namespace vantorix {
namespace {

ParsedOptions parse(std::vector<const char*> words) { return parseOptions(words); }

TEST(PlayerOptions, VolumesAndTheFlashFromTheCommandLine) {
    auto parsed = parse({"--music-volume=0", "--effects-vol", "55", "--flash", "dim"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.musicVolume, 0);
    EXPECT_EQ(parsed.options.effectsVolume, 55);
    EXPECT_EQ(parsed.options.flash, Flash::Dim);
    EXPECT_EQ(parse({"--music-volume", "101"}).error, "invalid volume '101': a whole number from 0 to 100 is needed");
    EXPECT_EQ(parse({"--effects-volume=-1"}).error, "invalid volume '-1': a whole number from 0 to 100 is needed");
    EXPECT_EQ(parse({"--flash=bright"}).error, "invalid flash 'bright': full, dim or off is needed");
}

TEST(PlayerSettings, EachValueReadAndABadOneCostsALineAndKeepsItsDefault) {
    std::string why;
    auto read = parseSettings(
        "music-volume = 40\neffects-volume = 0\nmusic = no\nflash = off\npause-on-focus-loss = no\n", why);
    ASSERT_TRUE(read);
    EXPECT_EQ(why, "");
    EXPECT_EQ(read->musicVolume, 40);
    EXPECT_EQ(read->effectsVolume, 0);
    EXPECT_FALSE(read->musicOn);
    EXPECT_EQ(read->flash, Flash::Off);
    EXPECT_FALSE(read->pauseOnFocusLoss);
    EXPECT_EQ(parseSettings(formatSettings(*read), why), read) << "what is written reads back the same";

    read = parseSettings("music-volume = loud\nflash = strobe\npause-on-focus-loss = sometimes\n", why);
    EXPECT_EQ(*read, Settings{});
    EXPECT_EQ(std::count(why.begin(), why.end(), '\n'), 2) << why;
    EXPECT_NE(why.find("line 2: flash must be full, dim or off"), std::string::npos) << why;
}

TEST(PlayerSettings, KeysAreBoundByNameAndABadBindingKeepsTheDefault) {
    std::string why;
    auto read = parseSettings("fire = space\nup = W\ndown = kp2\nhigh = lshift\n", why);
    EXPECT_EQ(why, "");
    EXPECT_EQ(read->keys[Action::Fire], ' ');
    EXPECT_EQ(read->keys[Action::Up], 'W');
    EXPECT_EQ(read->keys[Action::Down], *keyNamed("kp2"));
    EXPECT_EQ(parseSettings(formatSettings(*read), why)->keys, read->keys);

    read = parseSettings("fire = x\nhigh = z\n", why);
    EXPECT_EQ(why, "") << "a swap is no clash";
    EXPECT_EQ(read->keys[Action::Fire], 'X');

    read = parseSettings("fire = banana\nup = m\ndown = F11\nhigh = p\n", why);
    EXPECT_EQ(read->keys, KeyBindings{}) << why;
    EXPECT_EQ(std::count(why.begin(), why.end(), '\n'), 3) << why;
    EXPECT_NE(why.find("line 1: no key is called \"banana\""), std::string::npos) << why;
    EXPECT_NE(why.find("line 2: \"m\" belongs to the window"), std::string::npos) << why;

    read = parseSettings("up = w\ndown = w\n", why);
    EXPECT_EQ(read->keys[Action::Up], 'W');
    EXPECT_EQ(read->keys[Action::Down], KeyBindings{}[Action::Down]) << "the later of two on one key";
    EXPECT_EQ(why, "line 2: \"w\" already sends up");
    read = parseSettings("fire = x\n", why);
    EXPECT_EQ(read->keys[Action::Fire], 'Z') << "X still sends the High";
    EXPECT_EQ(why, "line 1: \"x\" already sends high");
}

}  // namespace
}  // namespace vantorix
