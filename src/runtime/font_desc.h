#pragma once

#include <string>

namespace vantorix {

// Character sets a stored font can ask for; the symbol set means the caption's
// letters pick pictures from a symbol font, not letters.
enum class Charset { Ansi = 0, Symbol = 2, ShiftJis = 128 };

struct FontDesc {
    std::string name;  // as stored: "Wingdings", or the Gothic face in Shift-JIS bytes
    double points = 9.0;
    bool bold = false;
    bool italic = false;
    Charset charset = Charset::Ansi;

    // The em in pixels at the 96 dpi the window was designed at.
    int pixelSize() const;
    bool isSymbol() const { return charset == Charset::Symbol; }
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

}  // namespace vantorix
