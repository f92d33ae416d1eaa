#pragma once

#include <cstdint>
#include <string>

#include "game/form_vtx.h"

namespace vantorix::soak {

// The rules that must hold after every event of any game, however it is played.
class Invariants {
public:
    // Checks the game as it stands; returns the first broken rule, or empty.
    std::string check(const FormVTX& game);

    long games() const { return games_; }
    long hits() const { return hits_; }
    long highs() const { return highs_; }
    long clears() const { return clears_; }

private:
    bool wasPlaying_ = false;
    std::int64_t lastScore_ = 0;
    long games_ = 0, hits_ = 0, highs_ = 0, clears_ = 0;
};

}  // namespace vantorix::soak
