#include "playfield/sdl/font_finder.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <initializer_list>
#include <memory>

namespace vantorix {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

// The closest stand-ins first: proportional Japanese Gothic faces, then plain sans.
constexpr std::initializer_list<const char*> kTextFamilies = {
    "IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "DejaVu Sans", "Liberation Sans"};
constexpr std::initializer_list<const char*> kSymbolFamilies = {
    "Symbola", "Noto Sans Symbols2", "Noto Sans Symbols", "Noto Emoji"};

constexpr std::initializer_list<FcChar32> kTextChars = {'A', 'z', '0', '9', '*', '>', ':', '!'};
constexpr std::initializer_list<FcChar32> kSymbolChars = {0x1F44C, 0x2707,  0x263A, 0x2620,
                                                          0x2639,  0x1F546, 0x1F3F1};

bool hasAll(FcPattern* font, std::initializer_list<FcChar32> chars) {
    FcCharSet* set = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch || !set) return false;
    for (FcChar32 c : chars)
        if (!FcCharSetHasChar(set, c)) return false;
    return true;
}

// The best-ranked installed font, by the family list, that has every character.
std::optional<std::string> findFont(std::initializer_list<const char*> families,
                                    std::initializer_list<FcChar32> chars) {
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    for (const char* family : families)
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result;
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!fonts) return std::nullopt;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* file = nullptr;
        if (!hasAll(font, chars)) continue;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        std::string path = reinterpret_cast<const char*>(file);
        // SDL_ttf reads TrueType and OpenType outlines, not bitmap or Type 1 fonts;
        // and fontconfig's cache may still name a file that has gone.
        bool outline = path.ends_with(".ttf") || path.ends_with(".otf") || path.ends_with(".ttc");
        if (outline && access(path.c_str(), R_OK) == 0) return path;
    }
    return std::nullopt;
}

}  // namespace

std::optional<FontFiles> findFontFiles(std::string& whyNot) {
    if (!FcInit()) {
        whyNot = "fontconfig could not be initialised";
        return std::nullopt;
    }
    auto text = findFont(kTextFamilies, kTextChars);
    auto symbol = text ? findFont(kSymbolFamilies, kSymbolChars) : std::nullopt;
    // The two files are all the game asks of fontconfig: its configuration and
    // caches go now, before the music's memory comes.
    FcFini();
    if (!text) {
        whyNot = "no text font found; install the Debian package fonts-ipafont-gothic";
        return std::nullopt;
    }
    if (!symbol) {
        whyNot = "no font with the game's symbols found; install the Debian package fonts-symbola";
        return std::nullopt;
    }
    return FontFiles{*text, *symbol};
}

}  // namespace vantorix
