// The remembered window: where it lives, how it reads and how it is replaced.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "desktop/settings.h"

namespace vantorix {
namespace {

namespace fs = std::filesystem;

Settings windowOnly(int scale, bool fullscreen) {
    Settings settings;
    settings.window = {scale, fullscreen};
    return settings;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vantorix-settings.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    void put(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    fs::path dir;
};

TEST(SettingsPath, FollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(settingsFile("/x/conf", "/home/p"), fs::path("/x/conf/vantorix/settings"));
    EXPECT_EQ(settingsFile(nullptr, "/home/p"), fs::path("/home/p/.config/vantorix/settings"));
    EXPECT_EQ(settingsFile("", "/home/p"), fs::path("/home/p/.config/vantorix/settings"));
    EXPECT_EQ(settingsFile("relative/conf", "/home/p"), fs::path("/home/p/.config/vantorix/settings"))
        << "a relative XDG_CONFIG_HOME is to be ignored";
    EXPECT_EQ(settingsFile(nullptr, nullptr), fs::path());
}

TEST(SettingsText, ReadsWhatAPersonWrites) {
    std::string why;
    auto read = parseSettings("# mine\n\n  scale=5 \r\nfullscreen = yes\nvolume = 3\n", why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->window, (WindowSettings{5, true})) << "an unknown key is passed over";
    EXPECT_EQ(*parseSettings("", why), Settings{});
    for (WindowSettings w : {WindowSettings{3, false}, WindowSettings{1, true}, WindowSettings{}}) {
        Settings s;
        s.window = w;
        EXPECT_EQ(parseSettings(formatSettings(s), why), s) << formatSettings(s);
    }

    for (const char* bad : {"scale = 0\n", "scale = big\n", "scale = 3x\n", "fullscreen = maybe\n",
                            "just words\n", "= 3\n", "scale = 99999999999\n"}) {
        why.clear();
        EXPECT_EQ(parseSettings(bad, why), Settings{}) << bad;
        EXPECT_NE(why.find("line 1"), std::string::npos) << why;
    }
}

TEST_F(SettingsFile, AMissingFileIsAFirstRunAndABrokenOneIsSaidOnce) {
    auto missing = readSettings(dir / "vantorix/settings");
    EXPECT_EQ(missing.warning, "");
    EXPECT_EQ(missing.settings, Settings{});

    put(dir / "broken/settings", "scale = 3\nfullscreen = sideways\n");
    auto broken = readSettings(dir / "broken/settings");
    EXPECT_EQ(broken.settings.window, (WindowSettings{3, false})) << "the good lines of a broken file still count";
    EXPECT_NE(broken.warning.find("line 2"), std::string::npos) << broken.warning;
    EXPECT_EQ(broken.warning.find('\n'), std::string::npos);

    fs::create_directories(dir / "folder/settings");
    EXPECT_NE(readSettings(dir / "folder/settings").warning, "");
    put(dir / "huge/settings", std::string(1 << 20, '#'));
    EXPECT_NE(readSettings(dir / "huge/settings").warning, "");
}

TEST_F(SettingsFile, WritingReplacesTheFileWholeAndLeavesNothingBehind) {
    fs::path file = dir / "new/deeper/vantorix/settings";
    std::string why;
    ASSERT_TRUE(writeSettings(file, windowOnly(2, false), why)) << why;
    ASSERT_TRUE(writeSettings(file, windowOnly(4, true), why)) << why;
    auto read = readSettings(file);
    EXPECT_EQ(read.warning, "");
    EXPECT_EQ(read.settings.window, (WindowSettings{4, true}));
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file is left beside it";
}

TEST_F(SettingsFile, AFolderThatCannotBeMadeIsSaidAndTheOldFileKept) {
    put(dir / "blocked", "a file where a folder should be");
    std::string why;
    EXPECT_FALSE(writeSettings(dir / "blocked/vantorix/settings", windowOnly(2, false), why));
    EXPECT_NE(why.find("blocked"), std::string::npos) << why;

    // The rename is what fails here: the settings path is a folder with something in it.
    fs::create_directories(dir / "taken/settings/inside");
    EXPECT_FALSE(writeSettings(dir / "taken/settings", windowOnly(2, false), why));
    EXPECT_TRUE(fs::exists(dir / "taken/settings/inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "taken"), fs::directory_iterator()), 1)
        << "the new file is removed when it cannot take the old one's place";
}

TEST(SettingsText, EachLineNotUnderstoodIsNamedAndTheRestStillCounts) {
    std::string why;
    auto read = parseSettings("\xEF\xBB\xBFscale = 3\nfulscreen = yes\nfullscreen = yes\n", why);
    EXPECT_EQ(read->window, (WindowSettings{3, true})) << "the byte-order mark is not part of the first key";
    EXPECT_EQ(why, "line 2: no setting is called \"fulscreen\"");

    std::string many;
    for (int i = 0; i < 8; ++i) many += "colour = blue\n";
    parseSettings(many + "scale = 2\n", why);
    EXPECT_EQ(std::count(why.begin(), why.end(), '\n'), 5) << why;
    EXPECT_TRUE(why.ends_with("3 more lines not understood")) << why;

    parseSettings(std::string(65000, 'k') + " = 1\n", why);
    EXPECT_LT(why.size(), 140u) << "a long key is cut short";
    parseSettings("scale = \t2x\n", why);
    EXPECT_EQ(why.find('\t'), std::string::npos) << why;
}

TEST(SettingsText, AFileThatIsNoTextIsOneComplaint) {
    std::string why;
    for (std::string junk : {std::string("scale = 2\n\x01\x02\n"), std::string("scale = \xC0\xAF\n"),
                             std::string("\xFF\xFE s\0c\0a\0l\0e\0", 12)}) {
        EXPECT_FALSE(parseSettings(junk, why));
        EXPECT_EQ(why, "not a text file");
    }
    EXPECT_TRUE(parseSettings("# écran\nscale = 2\n", why)) << "UTF-8 comments are text";
}

TEST_F(SettingsFile, ALinkStaysALinkAndItsTargetIsReplaced) {
    put(dir / "dotfiles/vantorix", "scale = 2\n");
    fs::create_directories(dir / "config/vantorix");
    fs::create_symlink(dir / "dotfiles/vantorix", dir / "config/vantorix/settings");
    std::string why;
    ASSERT_TRUE(writeSettings(dir / "config/vantorix/settings", windowOnly(5, true), why)) << why;
    EXPECT_TRUE(fs::is_symlink(dir / "config/vantorix/settings"));
    EXPECT_EQ(readSettings(dir / "dotfiles/vantorix").settings.window, (WindowSettings{5, true}));
}

}  // namespace
}  // namespace vantorix
