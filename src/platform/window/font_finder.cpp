#include "platform/window/font_finder.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "desktop/user_files.h"
#include "media/file_bytes.h"
#include "platform/window/font_cache.h"

#include "platform/dynamic_library.h"

// The calls of fontconfig the search makes. The library is opened for the
// search and closed after it: nothing else in the game asks fontconfig anything.
#define VANTORIX_FONTCONFIG_CALLS(X) \
    X(FcInit)                        \
    X(FcFini)                        \
    X(FcPatternCreate)               \
    X(FcPatternDestroy)              \
    X(FcPatternAddString)            \
    X(FcPatternAddInteger)           \
    X(FcPatternGetString)            \
    X(FcPatternGetCharSet)           \
    X(FcCharSetHasChar)              \
    X(FcConfigSubstitute)            \
    X(FcDefaultSubstitute)           \
    X(FcFontSort)                    \
    X(FcFontSetDestroy)              \
    X(FcConfigGetConfigFiles)        \
    X(FcConfigGetFontDirs)           \
    X(FcStrListNext)                 \
    X(FcStrListDone)

namespace vantorix {

namespace {

struct Fontconfig {
    VANTORIX_LIBRARY_CALLS(VANTORIX_FONTCONFIG_CALLS)
};

// The closest stand-ins first: proportional Japanese Gothic faces, then plain sans.
constexpr std::initializer_list<const char*> kTextFamilies = {
    "IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "DejaVu Sans", "Liberation Sans"};
constexpr std::initializer_list<const char*> kSymbolFamilies = {
    "Symbola", "Noto Sans Symbols2", "Noto Sans Symbols", "Noto Emoji"};

constexpr std::initializer_list<FcChar32> kTextChars = {'A', 'z', '0', '9', '*', '>', ':', '!'};
constexpr std::initializer_list<FcChar32> kSymbolChars = {0x1F44C, 0x2707,  0x263A, 0x2620,
                                                          0x2639,  0x1F546, 0x1F3F1};

bool hasAll(const Fontconfig& fc, FcPattern* font, std::initializer_list<FcChar32> chars) {
    FcCharSet* set = nullptr;
    if (fc.FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch || !set) return false;
    for (FcChar32 c : chars)
        if (!fc.FcCharSetHasChar(set, c)) return false;
    return true;
}

// The best-ranked installed font, by the family list, that has every character.
std::optional<std::string> findFont(const Fontconfig& fc, std::initializer_list<const char*> families,
                                    std::initializer_list<FcChar32> chars) {
    std::unique_ptr<FcPattern, decltype(fc.FcPatternDestroy)> pattern(fc.FcPatternCreate(), fc.FcPatternDestroy);
    for (const char* family : families)
        fc.FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    fc.FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
    fc.FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    fc.FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    fc.FcDefaultSubstitute(pattern.get());
    FcResult result;
    std::unique_ptr<FcFontSet, decltype(fc.FcFontSetDestroy)> fonts(
        fc.FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result), fc.FcFontSetDestroy);
    if (!fonts) return std::nullopt;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* file = nullptr;
        if (!hasAll(fc, font, chars)) continue;
        if (fc.FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        std::string path = reinterpret_cast<const char*>(file);
        // SDL_ttf reads TrueType and OpenType outlines, not bitmap or Type 1 fonts;
        // and fontconfig's cache may still name a file that has gone.
        bool outline = path.ends_with(".ttf") || path.ends_with(".otf") || path.ends_with(".ttc");
        if (outline && access(path.c_str(), R_OK) == 0) return path;
    }
    return std::nullopt;
}

// Every name in a fontconfig list, added to `names`.
void addAll(const Fontconfig& fc, FcStrList* list, std::vector<std::string>& names) {
    if (!list) return;
    while (FcChar8* name = fc.FcStrListNext(list)) names.emplace_back(reinterpret_cast<const char*>(name));
    fc.FcStrListDone(list);
}

// The search; `read` is told every configuration file and font folder it rests on.
std::optional<FontFiles> search(std::string& whyNot, std::vector<std::string>* read) {
    DynamicLibrary library("libfontconfig.so.1");
    Fontconfig fc;
    if (!library.findAll(fc) || !fc.FcInit()) {
        whyNot = "fontconfig could not be initialised";
        return std::nullopt;
    }
    auto text = findFont(fc, kTextFamilies, kTextChars);
    auto symbol = text ? findFont(fc, kSymbolFamilies, kSymbolChars) : std::nullopt;
    if (read) {
        addAll(fc, fc.FcConfigGetConfigFiles(nullptr), *read);
        addAll(fc, fc.FcConfigGetFontDirs(nullptr), *read);
    }
    // The two files are all the game asks of fontconfig: its configuration,
    // its caches and its code go now, before the music's memory comes.
    fc.FcFini();
    library.close();
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

}  // namespace

std::optional<FontFiles> findFontFiles(std::string& whyNot) { return search(whyNot, nullptr); }

std::optional<FontFiles> findFontFilesRemembered(const std::filesystem::path& cache, std::string& whyNot) {
    constexpr std::size_t kLargestCache = 1 << 20;
    std::string unread;
    if (auto bytes = readFileCapped(cache.string(), kLargestCache, unread))
        if (auto kept = fontsFromCache(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())))
            return kept;
    std::vector<std::string> read;
    auto found = search(whyNot, &read);
    // A cache that cannot be written costs the next start the search, nothing more.
    std::string text = found ? fontCacheText(*found, read) : std::string();
    std::string unwritten;
    if (!text.empty() && !cache.empty()) writeFileAtomically(cache, text, unwritten);
    return found;
}

}  // namespace vantorix
