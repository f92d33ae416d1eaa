// Every text the game shows fits its box on one line, and the figures have their pictures.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <vector>

#include "playfield/form.h"
#include "playfield/sdl/field_painter.h"
#include "playfield/sdl/font_finder.h"
#include "playfield/symbol_glyphs.h"
#include "support/fakes.h"

namespace vantorix {
namespace {

using testing::CountingHost;
using testing::ManualClock;
using testing::QueuedInput;

// Every text each label shows in a game.
const std::map<std::string, std::vector<std::string>>& gameTexts() {
    static const std::map<std::string, std::vector<std::string>> texts = {
        {"Beam", {"*>"}},
        {"txtEvent", {"Push Z or X"}},
        {"txtTitle",
         {"Vantorix", "Dekopin!!", "Mayday!!", "Game Over", "Perfect!!!", "Mission Over!!"}},
        {"txtInfo", {"Start:Z     Quit:X", "Mssl:Z      High:X"}},
        {"txtScore", {"0", "19900", "30000", "99999"}},
        {"txtHighScore", {"HighScore:"}},
        {"txtHisc", {"10000", "30000", "99999"}},
        {"txtRest", {"0", "1", "2", "3"}},
        {"Bgtxt", {"J", "B", "L", "U", "P"}},
    };
    return texts;
}

class TextFit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0);
        std::string why;
        auto found = findFontFiles(why);
        ASSERT_TRUE(found) << why;
        files = *found;
        surface = SDL_CreateRGBSurfaceWithFormat(0, 264, 165, 32, SDL_PIXELFORMAT_RGBA32);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_TRUE(renderer);
    }
    void TearDown() override {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
        TTF_Quit();
    }
    FontFiles files;
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
};

TEST_F(TextFit, EveryTextTheGameShowsFitsItsBox) {
    ManualClock clock;
    QueuedInput input(clock);
    CountingHost host;
    Form form(formVTXDescription(), clock, input, host);
    const auto& texts = gameTexts();
    for (int scale : {1, 2}) {
        FieldPainter painter(renderer, files, scale);
        for (const auto& [name, captions] : texts) {
            const Label& label = form.label(name);
            for (const auto& text : captions) {
                int pixels = painter.fittedPixelSize(label, text);
                EXPECT_LE(painter.textWidth(label, text, pixels), label.width() * scale)
                    << name << " \"" << text << "\" at scale " << scale;
                // Shrinking is a last resort, never more than a fifth.
                EXPECT_GE(pixels * 5, label.font().pixelSize() * scale * 4) << name << " " << text;
            }
        }
    }
}

TEST_F(TextFit, TextsThatFitKeepTheirDesignedSize) {
    ManualClock clock;
    QueuedInput input(clock);
    CountingHost host;
    Form form(formVTXDescription(), clock, input, host);
    FieldPainter painter(renderer, files, 1);
    EXPECT_EQ(painter.fittedPixelSize(form.label("txtTitle"), "Vantorix"), 29);
    EXPECT_EQ(painter.fittedPixelSize(form.label("txtHisc"), "10000"), 15);
    EXPECT_EQ(painter.fittedPixelSize(form.label("Bgtxt"), symbolText("J")), 96);
}

TEST_F(TextFit, EveryTextLooksTheSameWhateverSizesWereDrawnBefore) {
    ManualClock clock;
    QueuedInput input(clock);
    CountingHost host;
    Form form(formVTXDescription(), clock, input, host);
    form.label("Bgtxt").setVisible(true);
    form.label("Beam").move(40, 64);
    // One painter draws every screen in turn, its fonts changing size and style
    // as it goes; a new one draws each screen from scratch.
    FieldPainter reused(renderer, files, 1);
    auto pixelsDrawnBy = [&](FieldPainter& painter) {
        painter.draw(form.field());
        const auto* p = static_cast<const Uint8*>(surface->pixels);
        return std::vector<Uint8>(p, p + surface->pitch * surface->h);
    };
    for (const auto& [name, captions] : gameTexts())
        for (const auto& text : captions) {
            form.label(name).setCaption(text);
            auto drawn = pixelsDrawnBy(reused);
            FieldPainter fresh(renderer, files, 1);
            EXPECT_EQ(drawn, pixelsDrawnBy(fresh)) << name << " \"" << text << "\"";
        }
}

TEST_F(TextFit, TheSymbolFontHasEveryFigure) {
    TTF_Font* font = TTF_OpenFont(files.symbol.c_str(), 37);
    ASSERT_TRUE(font);
    for (Uint32 c : {0x1F44Cu, 0x2707u, 0x263Au, 0x2620u, 0x2639u, 0x1F546u, 0x1F3F1u})
        EXPECT_TRUE(TTF_GlyphIsProvided32(font, c)) << std::hex << c;
    TTF_CloseFont(font);
    EXPECT_EQ(symbolText("B>J"), "\U0001F44C\u2707\u263A");
    EXPECT_EQ(symbolText("*"), "*");
}

}  // namespace
}  // namespace vantorix
