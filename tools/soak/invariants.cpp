#include "invariants.h"

#include <cmath>

namespace vantorix::soak {

namespace {

bool onGrid(float left) {
    float k = (left - 8) / 32;
    return k == std::floor(k);
}

std::string where(const char* what, float left, float top) {
    return std::string(what) + " at (" + std::to_string(left) + ", " + std::to_string(top) + ")";
}

}  // namespace

std::string Invariants::check(const FormVTX& game) {
    const Label& beam = game.Beam;
    bool parked = beam.left() == 0 && beam.top() == 168;
    if (!game.beamFlying && !parked) return where("a shot not in flight is not parked", beam.left(), beam.top());
    // A shot left flying by a game's end travels below the field from Left 0.
    bool carriedOver = beam.top() == 168 && std::fmod(beam.left(), 32.0f) == 0;
    if (game.beamFlying && !carriedOver &&
        (!onGrid(beam.left()) || std::fmod(beam.top(), 32.0f) != 0 || beam.top() > 128))
        return where("a fired shot off its lane's grid", beam.left(), beam.top());

    for (std::int16_t i = 0; i <= 4; ++i) {
        const Label& e = game.Enemy(i);
        if (e.visible() && e.top() < 167 && (e.top() != 32 * i || !onGrid(e.left())))
            return where(("enemy " + std::to_string(i) + " off its lane's grid").c_str(), e.left(),
                         e.top());
    }

    const Label& ship = game.Myship;
    if (game.gamePlaying &&
        (game.shipRow < 0 || game.shipRow > 4 || ship.left() != 8 || ship.top() != 32 * game.shipRow))
        return where("the ship off its lanes", ship.left(), ship.top());

    int interval = game.TimeEnemy.interval();
    if (interval < 250 || interval > 1000) return "enemy interval " + std::to_string(interval);

    // The score starts each game at 0 and rises by a hit, a High or the clear bonus.
    if (game.gamePlaying && !wasPlaying_) {
        ++games_;
        if (game.score != 0) return "a game started at " + std::to_string(game.score);
        lastScore_ = 0;
    }
    std::int64_t rise = game.score - lastScore_;
    if (rise == 100) {
        ++hits_;
    } else if (rise == 500) {
        ++highs_;
    } else if (rise == 1000 + 3000 * game.highRest && wasPlaying_ && !game.gamePlaying) {
        ++clears_;
    } else if (rise != 0 && !(game.gamePlaying && !wasPlaying_)) {
        return "the score rose by " + std::to_string(rise) + " to " + std::to_string(game.score);
    }
    lastScore_ = game.score;
    wasPlaying_ = game.gamePlaying;
    return {};
}

}  // namespace vantorix::soak
