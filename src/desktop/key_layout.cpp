#include "desktop/key_layout.h"

#include <locale.h>
#include <wctype.h>

namespace vantorix {

namespace {

bool inLatinBlock(char32_t c) {
    return c < 0x2B0 ||                    // Basic Latin to IPA extensions
           (c >= 0x1D00 && c < 0x1DC0) ||  // phonetic extensions
           (c >= 0x1E00 && c < 0x1F00) ||  // Latin extended additional
           (c >= 0x2C60 && c < 0x2C80) || (c >= 0xA720 && c < 0xA800) ||
           (c >= 0xAB30 && c < 0xAB70) || (c >= 0xFF21 && c < 0xFF5B);  // full-width Latin
}

// A letter of any script, as Unicode classifies it; the C.UTF-8 locale carries
// the whole table without touching the process's own locale.
bool isLetter(char32_t c) {
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return unicode && iswalpha_l(static_cast<wint_t>(c), unicode);
}

}  // namespace

std::optional<std::int16_t> letterKey(char32_t typed, char usLetter) {
    if (typed >= 'a' && typed <= 'z') return static_cast<std::int16_t>(typed - 'a' + 'A');
    if (typed >= 'A' && typed <= 'Z') return static_cast<std::int16_t>(typed);
    bool byPlace = typed == 0 || (!inLatinBlock(typed) && isLetter(typed));
    if (byPlace && usLetter >= 'A' && usLetter <= 'Z') return static_cast<std::int16_t>(usLetter);
    return std::nullopt;
}

}  // namespace vantorix
