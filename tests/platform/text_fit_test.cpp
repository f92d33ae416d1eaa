// Every text the game shows fits its box on one line, the figures have their pictures,
// and a field drawn frame after frame looks as drawn anew.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "game/form_vtx_description.h"
#include "game/symbol_glyphs.h"
#include "platform/window/field_painter.h"
#include "platform/window/font_finder.h"
#include "platform/window/text_fonts.h"
#include "runtime/form.h"
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
        fonts = std::make_unique<TextFonts>(files);
        ASSERT_TRUE(fonts->ok()) << fonts->error();
    }
    void TearDown() override {
        fonts.reset();
        TTF_Quit();
    }
    ManualClock clock;
    QueuedInput input{clock};
    CountingHost host;
    Form form{formVTXDescription(), clock, input, host};
    FontFiles files;
    std::unique_ptr<TextFonts> fonts;
};

TEST_F(TextFit, EveryTextTheGameShowsFitsItsBox) {
    const auto& texts = gameTexts();
    for (int scale : {1, 2}) {
        FieldPainter painter(*fonts, scale);
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
    FieldPainter painter(*fonts, 1);
    EXPECT_EQ(painter.fittedPixelSize(form.label("txtTitle"), "Vantorix"), 29);
    EXPECT_EQ(painter.fittedPixelSize(form.label("txtHisc"), "10000"), 15);
    EXPECT_EQ(painter.fittedPixelSize(form.label("Bgtxt"), symbolText("J")), 96);
}

TEST_F(TextFit, EveryTextLooksAsFromAFontOpenedAtItsOwnSize) {
    FieldPainter painter(*fonts, 1);
    auto pixelsOf = [](SDL_Surface* s) {
        std::vector<Uint8> bytes;
        for (int y = 0; y < s->h; ++y) {
            const auto* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
            bytes.insert(bytes.end(), row, row + s->w * 4);
        }
        SDL_FreeSurface(s);
        return bytes;
    };
    // The painter's two fonts go through every size and style the game uses,
    // in turn; each text must come out as a font opened for it alone makes it.
    const SDL_Color color{128, 128, 255, 255};
    for (const auto& [name, captions] : gameTexts())
        for (const auto& caption : captions) {
            const Label& label = form.label(name);
            std::string text = label.font().isSymbol() ? symbolText(caption) : caption;
            int pixels = painter.fittedPixelSize(label, text);
            int style = (label.font().bold ? TTF_STYLE_BOLD : 0) | (label.font().italic ? TTF_STYLE_ITALIC : 0);
            TTF_Font* shared = fonts->at(label.font().isSymbol(), pixels, style);
            TTF_Font* own = TTF_OpenFont((label.font().isSymbol() ? files.symbol : files.text).c_str(), pixels);
            ASSERT_TRUE(shared && own) << name;
            TTF_SetFontStyle(own, style);
            EXPECT_EQ(pixelsOf(TTF_RenderUTF8_Blended(shared, text.c_str(), color)),
                      pixelsOf(TTF_RenderUTF8_Blended(own, text.c_str(), color)))
                << name << " \"" << caption << "\"";
            TTF_CloseFont(own);
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

// Frame after frame, the painter paints only where something changed; each
// frame must still look exactly as the same field painted by a fresh painter.
TEST_F(TextFit, AFieldChangedFrameAfterFrameLooksAsDrawnAnew) {
    auto screen = [] { return SDL_CreateRGBSurfaceWithFormat(0, 270, 170, 32, SDL_PIXELFORMAT_RGB888); };
    SDL_Surface* kept = screen();
    SDL_Surface* fresh = screen();
    const SDL_Rect area{3, 2, 264, 165};
    FieldPainter painter(*fonts, 1);
    Field& field = form.field();
    std::vector<Label*> labels = field.stackingOrder();
    const std::vector<std::string> captions = {"J", "B", "L", ">", "*>", "0", "19900", "Game Over", ""};
    const std::vector<Rgb> backs = {{0, 0, 0}, {255, 255, 255}, {0, 0, 128}};
    std::mt19937 random(7);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int frame = 0; frame < 300; ++frame) {
        // A few changes a frame, as the game makes: figures moved, shown, hidden,
        // retitled, brought forward, and now and then the field's colour.
        for (std::size_t change = pick(4); change > 0; --change) {
            Label& label = *labels[pick(labels.size())];
            switch (pick(6)) {
                case 0: label.move(static_cast<float>(pick(300)) - 30, static_cast<float>(pick(200)) - 30); break;
                case 1: label.move(label.left() + 32, label.top()); break;
                case 2: label.setVisible(!label.visible()); break;
                case 3: label.setCaption(captions[pick(captions.size())]); break;
                case 4: field.bringToFront(label); break;
                default: if (pick(4) == 0) field.setBackColor(backs[pick(backs.size())]); break;
            }
        }
        std::vector<SDL_Rect> changed = painter.draw(kept, area, field);
        FieldPainter anew(*fonts, 1);
        SDL_FillRect(fresh, nullptr, 0);
        anew.draw(fresh, area, field);
        ASSERT_EQ(std::memcmp(kept->pixels, fresh->pixels, static_cast<std::size_t>(kept->pitch) * kept->h), 0)
            << "frame " << frame;
        for (const SDL_Rect& r : changed) {
            SDL_Rect inside;
            EXPECT_TRUE(SDL_IntersectRect(&r, &area, &inside) && SDL_RectEquals(&r, &inside))
                << "only the field's area is painted";
        }
    }
    SDL_FreeSurface(kept);
    SDL_FreeSurface(fresh);
}

}  // namespace
}  // namespace vantorix
