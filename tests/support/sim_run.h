#pragma once

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "simulation.h"

namespace vantorix::testing {

using Json = nlohmann::ordered_json;

struct SimRun {
    int status = 0;
    std::vector<Json> dumps;
    std::string errors;
};

// Runs the game in-process on a script, as vantorix-sim does.
inline SimRun simulate(const std::string& script, const std::string& media = VANTORIX_MEDIA_DIR,
                       std::int64_t timeOfDayMs = 12 * 3600 * 1000) {
    std::istringstream in(script);
    std::ostringstream out, err;
    SimRun run;
    sim::Options options;
    options.mediaDir = media;
    options.clockTimeOfDayMs = timeOfDayMs;
    run.status = sim::runSimulation(options, in, out, err);
    run.errors = err.str();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) run.dumps.push_back(Json::parse(line));
    return run;
}

inline const Json& label(const Json& dump, const std::string& name) {
    return dump.at("labels").at(name);
}

inline double leftOf(const Json& dump, int enemy) {
    return label(dump, "Enemy(" + std::to_string(enemy) + ")").at("left").get<double>();
}

}  // namespace vantorix::testing
