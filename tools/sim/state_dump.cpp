#include "state_dump.h"

#include <cmath>

namespace vantorix::sim {

namespace {

// Whole numbers print without a fraction.
nlohmann::ordered_json number(float value) {
    if (std::floor(value) == value && std::fabs(value) < 1e9) return static_cast<long long>(value);
    return value;
}

nlohmann::ordered_json labelJson(const Label& l) {
    return {{"left", number(l.left())},     {"top", number(l.top())},
            {"width", number(l.width())},   {"height", number(l.height())},
            {"visible", l.visible()},       {"caption", l.caption()}};
}

}  // namespace

nlohmann::ordered_json stateDump(std::int64_t t, bool ended, const FormVTX& game, const Form& form,
                         const AudioLog& audio) {
    nlohmann::ordered_json labels = nlohmann::ordered_json::object();
    for (std::int16_t i = 0; i <= 5; ++i)
        if (game.Enemy.exists(i))
            labels["Enemy(" + std::to_string(i) + ")"] = labelJson(game.Enemy(i));
    for (const char* name : {"Beam", "Myship", "txtEvent", "txtTitle", "txtInfo", "txtScore",
                             "txtHighScore", "txtHisc", "Bgtxt", "txtRest"})
        labels[name] = labelJson(form.label(name));

    nlohmann::ordered_json timers = nlohmann::ordered_json::object();
    for (const Timer* timer : form.timers())
        timers[timer->name()] = {{"enabled", timer->enabled()}, {"interval", timer->interval()}};

    nlohmann::ordered_json sounds = nlohmann::ordered_json::array();
    for (const auto& [file, flags] : audio.sounds) sounds.push_back({file, flags});

    Rgb back = form.field().backColor();
    return {{"t", t},
            {"ended", ended},
            {"gamePlaying", game.gamePlaying},
            {"zKeyDown", game.zKeyDown},
            {"xKeyDown", game.xKeyDown},
            {"beamFlying", game.beamFlying},
            {"blinkOn", game.blinkOn},
            {"shipRow", game.shipRow},
            {"beamRow", game.beamRow},
            {"score", game.score},
            {"hiScore", game.hiScore},
            {"highRest", game.highRest},
            {"pushOffset", game.pushOffset},
            {"spawnRow", game.spawnRow},
            {"backColor", {back.r, back.g, back.b}},
            {"labels", labels},
            {"timers", timers},
            {"mci", audio.mci},
            {"sounds", sounds},
            {"beeps", audio.beeps},
            {"music", {{"file", audio.musicFile}, {"mode", audio.musicMode}}}};
}

}  // namespace vantorix::sim
