#pragma once

#include <gtest/gtest.h>

#include <string>

#include "replay/replay_file.h"

namespace vantorix::testing {

inline std::string game(const std::string& name) { return std::string(VANTORIX_GAMES_DIR) + "/" + name; }

inline Replay readGame(const std::string& name) {
    std::string whyNot;
    auto replay = readReplay(game(name), whyNot);
    if (!replay) ADD_FAILURE() << name << ": " << whyNot;
    return replay.value_or(Replay{});
}

}  // namespace vantorix::testing
