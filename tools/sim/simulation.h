#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace vantorix::sim {

struct Options {
    std::string mediaDir;                       // stands for the program's folder
    std::int64_t clockTimeOfDayMs = 12 * 3600 * 1000;  // the time of day at start
    std::string recordTo;  // where each finished game's replay goes: the last one stays
};

// Runs the game on the script's clock and input, writing a JSON line per dump.
// Returns the exit status: 0, 1 when a picture cannot be written, 2 for a bad script line.
int runSimulation(const Options& options, std::istream& script, std::ostream& out,
                  std::ostream& err);

// Plays a replay file through the rules and prints the state it ends in as a
// dump. 0 when every recorded check matched, 1 naming the first that did not.
int runReplay(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace vantorix::sim
