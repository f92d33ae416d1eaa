#pragma once

#include <string_view>

#include "runtime/color.h"
#include "runtime/font_desc.h"
#include "runtime/label.h"

namespace vantorix {

enum class ControlKind { Window, Timer, PictureArea, Label };

struct StoredFont {
    std::string_view name{};
    double points = 0;
    bool bold = false;
    bool italic = false;
    Charset charset = Charset::Ansi;
};

// One control of a stored window, with the properties that differ from its kind's
// defaults. Sizes and positions are twips, as the designer saved them.
struct StoredControl {
    ControlKind kind;
    std::string_view name{};
    std::string_view container{};  // empty for the window itself
    int index = -1;
    int left = 0, top = 0, width = 0, height = 0;
    std::string_view caption{};
    StoredFont font{};
    Rgb foreColor{};
    Rgb backColor{};
    Alignment alignment = Alignment::Left;
    bool visible = true;
    bool enabled = true;
    int interval = 0;
};

constexpr int kTwipsPerPixel = 15;

// The window's frame as designed: the client area starts this far inside the
// outer corner, and the outer size includes both sides and the bottom.
constexpr int kFrameSidePixels = 3;
constexpr int kFrameTopPixels = 22;
constexpr int kFrameBottomPixels = 3;

}  // namespace vantorix
