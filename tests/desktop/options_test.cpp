// The command line: what each form of each option sets, and what is refused.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/options.h"
#include "desktop/settings.h"
#include "desktop/window_choice.h"

namespace vantorix {
namespace {

ParsedOptions parse(std::vector<const char*> arguments) { return parseOptions(arguments); }

TEST(Options, LongOptionsInEveryGnuForm) {
    auto parsed = parse({"--scale=3", "--fullscreen", "--soundfont", "/tmp/a b.sf2", "--mute"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.scale, 3);
    EXPECT_EQ(parsed.options.fullscreen, true);
    EXPECT_EQ(parsed.options.soundFont, "/tmp/a b.sf2");
    EXPECT_TRUE(parsed.options.mute);

    parsed = parse({"--sc", "2", "--full", "--win"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.scale, 2) << "an unambiguous beginning names the option";
    EXPECT_EQ(parsed.options.fullscreen, false) << "the last of --fullscreen and --window wins";

    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
    EXPECT_EQ(parse({"--soundfont=--odd.sf2"}).options.soundFont, "--odd.sf2");
    EXPECT_EQ(parse({}).error, "");
    EXPECT_FALSE(parse({}).options.fullscreen.has_value());
}

TEST(Options, MisuseNamesWhatWasWrong) {
    struct Case {
        std::vector<const char*> arguments;
        const char* error;
    };
    const Case cases[] = {
        {{"--bogus"}, "unrecognized option '--bogus'"},
        {{"-x"}, "unrecognized option '-x'"},
        {{"game.mid"}, "unexpected argument 'game.mid'"},
        {{"--", "extra"}, "unexpected argument 'extra'"},
        {{"--s", "2"}, "ambiguous option '--s'"},
        {{"--scale"}, "option '--scale' needs a value"},
        {{"--scale=0"}, "invalid scale '0': a whole number from 1 to 64 is needed"},
        {{"--scale", "2.5"}, "invalid scale '2.5': a whole number from 1 to 64 is needed"},
        {{"--scale", "-1"}, "invalid scale '-1': a whole number from 1 to 64 is needed"},
        {{"--scale=99999999999"}, "invalid scale '99999999999': a whole number from 1 to 64 is needed"},
        {{"--mute=yes"}, "option '--mute' takes no value"},
        {{"--soundfont="}, "option '--soundfont' needs a file name"},
        {{"--help", "--bogus"}, "unrecognized option '--bogus'"},
    };
    for (const Case& c : cases) EXPECT_EQ(parse(c.arguments).error, c.error) << c.arguments[0];
}

TEST(Options, EachCallStartsAfresh) {
    // "-xh" is refused at its x, halfway through the word; the next command line
    // must be read from its own beginning, not from that h.
    EXPECT_EQ(parse({"-xh"}).error, "unrecognized option '-x'");
    auto parsed = parse({"--mute"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.options.help);
    EXPECT_EQ(parse({"-hx"}).error, "unrecognized option '-x'") << "short options may share a word";
    EXPECT_EQ(parse({"--help=x"}).error, "option '--help' takes no value") << "-h's long form";
}

TEST(Options, TheCommandLineWinsOverWhatWasRemembered) {
    WindowSettings remembered{4, true};
    Options none;
    EXPECT_EQ(startingWindow(none, remembered, 2), remembered);
    EXPECT_EQ(startingWindow(none, WindowSettings{}, 2), (WindowSettings{2, false}))
        << "with nothing remembered, the desktop's own scale";
    Options given;
    given.scale = 1;
    given.fullscreen = false;
    EXPECT_EQ(startingWindow(given, remembered, 2), (WindowSettings{1, false}));
}

TEST(Options, ReplaysAreListedWatchedAndVerified) {
    EXPECT_TRUE(parse({"--replays"}).options.listReplays);
    EXPECT_EQ(parse({"--replay", "best"}).options.replay, "best");
    EXPECT_EQ(parse({"--replay=/tmp/a game.vtxreplay"}).options.replay, "/tmp/a game.vtxreplay");
    EXPECT_EQ(parse({"--replay="}).error, "option '--replay' needs a file name, best or last");

    auto parsed = parse({"--verify-replay", "a.vtxreplay", "b.vtxreplay"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.replaysToVerify, (std::vector<std::string>{"a.vtxreplay", "b.vtxreplay"}));
    EXPECT_EQ(parse({"--verify-replay"}).error, "option '--verify-replay' needs the replay files to verify");
    EXPECT_EQ(parse({"--replays", "x"}).error, "unexpected argument 'x'") << "only the files to verify may follow";
    EXPECT_EQ(parse({"--repl"}).error, "ambiguous option '--repl'");
}

}  // namespace
}  // namespace vantorix
