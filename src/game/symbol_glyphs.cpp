#include "game/symbol_glyphs.h"

namespace vantorix {

namespace {

const char* pictureFor(char letter) {
    switch (letter) {
        case 'B': return "\U0001F44C";  // OK hand
        case '>': return "\u2707";      // tape drive
        case 'J': return "\u263A";      // smiling face
        case 'N': return "\u2620";      // skull and crossbones
        case 'L': return "\u2639";      // frowning face
        case 'U': return "\U0001F546";  // Latin cross
        case 'P': return "\U0001F3F1";  // pennant
        default: return nullptr;
    }
}

}  // namespace

std::string symbolText(const std::string& letters) {
    std::string text;
    for (char c : letters) {
        if (const char* picture = pictureFor(c))
            text += picture;
        else
            text += c;
    }
    return text;
}

}  // namespace vantorix
