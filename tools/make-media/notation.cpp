#include "notation.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

namespace media {
namespace {

[[noreturn]] void reject(std::string_view what, std::string_view text)
{
    throw std::invalid_argument(std::string(what) + " '" + std::string(text) + "'");
}

int parseNumber(std::string_view text, std::string_view context)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        reject("bad number in", context);
    }
    return value;
}

int pitchClassOf(char letter)
{
    switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
    }
}

// Reads the letter and optional accidental, leaving the rest of the text.
// Not wrapped to 0..11, so "Cb4" lands on B3 as written.
int takePitchClass(std::string_view& text, std::string_view context)
{
    if (text.empty() || pitchClassOf(text.front()) < 0) {
        reject("bad pitch", context);
    }
    int pitch = pitchClassOf(text.front());
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '#' || text.front() == 'b')) {
        pitch += text.front() == '#' ? 1 : -1;
        text.remove_prefix(1);
    }
    return pitch;
}

} // namespace

std::vector<Token> parseTokens(std::string_view text)
{
    std::vector<Token> tokens;
    std::size_t position = 0;
    while ((position = text.find_first_not_of(' ', position)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find(' ', position), text.size());
        const std::string_view word = text.substr(position, end - position);
        const std::size_t colon = word.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            reject("expected symbol:length, got", word);
        }
        const int length = parseNumber(word.substr(colon + 1), word);
        if (length <= 0) {
            reject("length must be positive in", word);
        }
        tokens.push_back({word.substr(0, colon), length});
        position = end;
    }
    return tokens;
}

int totalSixteenths(const std::vector<Token>& tokens)
{
    int total = 0;
    for (const Token& token : tokens) {
        total += token.sixteenths;
    }
    return total;
}

int parseNoteName(std::string_view name)
{
    std::string_view rest = name;
    const int pitch = takePitchClass(rest, name);
    const int key = 12 * (parseNumber(rest, name) + 1) + pitch;
    if (key < 0 || key > 127) {
        reject("note out of MIDI range", name);
    }
    return key;
}

Chord parseChord(std::string_view name)
{
    std::string_view rest = name;
    const int root = takePitchClass(rest, name);
    if (rest != "" && rest != "m") {
        reject("unsupported chord", name);
    }
    return {(root + 12) % 12, rest == "m"};
}

} // namespace media
