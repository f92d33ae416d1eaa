#pragma once

#include <nlohmann/json.hpp>

#include "game/form_vtx.h"
#include "runtime/form.h"

namespace vantorix::sim {

struct AudioLog {
    std::vector<std::string> mci{};
    std::vector<std::pair<std::string, std::uint32_t>> sounds{};
    int beeps = 0;
    std::string musicFile{};
    std::string musicMode{};
};

// The game's state as one JSON object: flags, numbers, labels, timers and audio.
nlohmann::ordered_json stateDump(std::int64_t t, bool ended, const FormVTX& game, const Form& form,
                         const AudioLog& audio);

}  // namespace vantorix::sim
