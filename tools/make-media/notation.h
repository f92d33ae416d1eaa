#pragma once

#include <string_view>
#include <vector>

namespace media {

// One entry of a rhythm string such as "E5:4 -:2": a symbol held for a
// number of sixteenth notes. "-" is a rest.
struct Token {
    std::string_view symbol;
    int sixteenths;
};

struct Chord {
    int root; // pitch class, C = 0
    bool minor;
};

inline constexpr std::string_view kRest = "-";

std::vector<Token> parseTokens(std::string_view text);
int totalSixteenths(const std::vector<Token>& tokens);

// "F#4" -> 66, with middle C (C4) = 60.
int parseNoteName(std::string_view name);

// Plain triads only: "C", "Am", "Bb", "F#m".
Chord parseChord(std::string_view name);

} // namespace media
