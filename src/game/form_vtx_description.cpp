#include "game/form_vtx_description.h"

#include <array>

namespace vantorix {

namespace {

// The Japanese Gothic face, its name kept in Shift-JIS as the designer stored it.
constexpr std::string_view kGothic = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr std::string_view kWingdings = "Wingdings";

constexpr StoredFont wingdings(double points) {
    return {kWingdings, points, true, false, Charset::Symbol};
}
constexpr StoredFont gothic(double points, bool bold, bool italic = false) {
    return {kGothic, points, bold, italic, Charset::ShiftJis};
}

constexpr Rgb kCyan = RGB(0, 255, 255);
constexpr Rgb kLavender = RGB(128, 128, 255);
constexpr Rgb kLightGrey = RGB(192, 192, 192);

constexpr auto kDescription = std::to_array<StoredControl>({
    {.kind = ControlKind::Window, .name = "FormVTX", .width = 3960, .height = 3705,
     .caption = "Vantorix"},
    {.kind = ControlKind::Timer, .name = "TimePushX", .container = "FormVTX", .interval = 10},
    {.kind = ControlKind::Timer, .name = "TimeEvent", .container = "FormVTX", .interval = 250},
    {.kind = ControlKind::Timer, .name = "TimeEnemy", .container = "FormVTX", .enabled = false,
     .interval = 1000},
    {.kind = ControlKind::PictureArea, .name = "Window", .container = "FormVTX", .width = 3975,
     .height = 3015, .foreColor = RGB(128, 128, 128), .backColor = RGB(0, 0, 192),
     .enabled = false},
    {.kind = ControlKind::Label, .name = "Enemy", .container = "Window", .index = 0, .left = 3480,
     .top = 0, .width = 495, .height = 495, .caption = "B", .font = wingdings(27.75),
     .foreColor = kCyan, .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "Beam", .container = "Window", .left = 0, .top = 2520,
     .width = 495, .height = 495, .caption = "*>", .font = gothic(24, true), .foreColor = kCyan,
     .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "Myship", .container = "Window", .left = 120, .top = 960,
     .width = 495, .height = 495, .caption = ">", .font = wingdings(27.75), .foreColor = kCyan,
     .alignment = Alignment::Center, .visible = false},
    {.kind = ControlKind::Label, .name = "txtEvent", .container = "Window", .left = 720,
     .top = 1800, .width = 2415, .height = 495, .caption = "Push Z or X",
     .font = gothic(21.75, true), .foreColor = kLavender, .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "txtTitle", .container = "Window", .left = 0, .top = 480,
     .width = 3975, .height = 495, .caption = "Vantorix", .font = gothic(21.75, true, true),
     .foreColor = kLavender, .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "txtInfo", .container = "Window", .left = 720,
     .top = 2160, .width = 2415, .height = 375, .caption = "Start:Z     Quit:X",
     .font = gothic(14.25, true), .foreColor = kLavender, .backColor = kLightGrey,
     .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "txtScore", .container = "Window", .left = 0, .top = 0,
     .width = 2295, .height = 495, .font = gothic(21.75, false), .foreColor = kLavender,
     .backColor = kLightGrey},
    {.kind = ControlKind::Label, .name = "txtHighScore", .container = "Window", .left = 2160,
     .top = 0, .width = 1095, .height = 255, .caption = "HighScore:", .font = gothic(11.25, false),
     .foreColor = kLavender},
    {.kind = ControlKind::Label, .name = "txtHisc", .container = "Window", .left = 3120, .top = 0,
     .width = 735, .height = 255, .caption = "10000", .font = gothic(11.25, false),
     .foreColor = kLavender, .alignment = Alignment::Right},
    {.kind = ControlKind::Label, .name = "Bgtxt", .container = "Window", .left = 720, .top = 480,
     .width = 2415, .height = 1455, .caption = "J", .font = wingdings(72),
     .foreColor = RGB(0, 0, 128), .alignment = Alignment::Center},
    {.kind = ControlKind::Label, .name = "txtRest", .container = "Window", .left = 0, .top = 2040,
     .width = 495, .height = 495, .font = gothic(21.75, false), .foreColor = kLavender,
     .backColor = kLightGrey},
    {.kind = ControlKind::Timer, .name = "TimeBeam", .container = "FormVTX", .enabled = false,
     .interval = 100},
});

}  // namespace

std::span<const StoredControl> formVTXDescription() { return kDescription; }

}  // namespace vantorix
