// The fonts found are remembered between runs, for as long as what the search
// rested on stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "platform/window/font_cache.h"
#include "platform/window/font_finder.h"

namespace vantorix {
namespace {

namespace fs = std::filesystem;

class FontCache : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("vantorix-font-cache-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "fonts");
        fonts = {write("fonts/text.ttf"), write("fonts/symbol.ttf")};
        watched = {write("fonts.conf"), (folder / "fonts").string()};
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string write(const std::string& name) {
        std::ofstream(folder / name) << "x";
        return (folder / name).string();
    }
    // A later time on `path`, as an edit or a font added would give it.
    void touch(const std::string& path) {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    }
    static std::string read(const fs::path& file) {
        std::ostringstream text;
        text << std::ifstream(file).rdbuf();
        return text.str();
    }
    fs::path folder;
    FontFiles fonts;
    std::vector<std::string> watched;
};

TEST_F(FontCache, HoldsUntilAnythingTheSearchReadChanges) {
    std::string text = fontCacheText(fonts, watched);
    auto kept = fontsFromCache(text);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, fonts.text);
    EXPECT_EQ(kept->symbol, fonts.symbol);

    touch(watched[0]);
    EXPECT_FALSE(fontsFromCache(text)) << "the configuration was edited";
    text = fontCacheText(fonts, watched);
    write("fonts/new.ttf");
    touch(watched[1]);
    EXPECT_FALSE(fontsFromCache(text)) << "a font was added";
    text = fontCacheText(fonts, watched);
    fs::remove(fonts.symbol);
    EXPECT_FALSE(fontsFromCache(text)) << "a font it names is gone";
}

TEST_F(FontCache, AnythingButAWholeCacheIsNotOne) {
    std::string text = fontCacheText(fonts, watched);
    EXPECT_FALSE(fontsFromCache(text.substr(0, text.size() - 1))) << "cut short";
    EXPECT_FALSE(fontsFromCache("vantorix font cache 2" + text.substr(text.find('\n'))));
    EXPECT_FALSE(fontsFromCache(text + "fonts\t/x\n"));
    EXPECT_FALSE(fontsFromCache("vantorix font cache 1\ntext\t" + fonts.text + "\n")) << "no symbol font";
    std::string badTime = text;
    badTime.replace(badTime.find("watch\t") + 6, 1, "x");
    EXPECT_FALSE(fontsFromCache(badTime));
    EXPECT_FALSE(fontsFromCache(""));
}

// The real search: the first start writes what it found; a later one reads it
// back without searching (the cache below names files fontconfig never would).
TEST_F(FontCache, AStartAfterTheFirstTakesTheRememberedFonts) {
    fs::path cache = folder / "cache" / "fonts";
    std::string why;
    auto searched = findFontFilesRemembered(cache, why);
    ASSERT_TRUE(searched) << why;
    auto written = fontsFromCache(read(cache));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->text, searched->text);

    std::ofstream(cache) << fontCacheText(fonts, watched);
    auto remembered = findFontFilesRemembered(cache, why);
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->text, fonts.text);

    fs::remove(fonts.text);
    auto again = findFontFilesRemembered(cache, why);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, searched->text) << "a remembered font gone: searched again";
    EXPECT_EQ(fontsFromCache(read(cache))->text, searched->text);
}

}  // namespace
}  // namespace vantorix
