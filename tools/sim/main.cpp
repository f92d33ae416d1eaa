#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <regex>

#include "runtime/program.h"
#include "simulation.h"

namespace {

int usage() {
    std::cerr << "usage: vantorix-sim [--media DIR] [--clock HH:MM:SS] [--record FILE] [SCRIPT]\n"
                 "       vantorix-sim --replay FILE\n";
    return 2;
}

bool parseClock(const std::string& text, std::int64_t& ms) {
    std::smatch m;
    static const std::regex form(R"((\d{1,2}):(\d{2}):(\d{2}))");
    if (!std::regex_match(text, m, form)) return false;
    int h = std::stoi(m[1]), min = std::stoi(m[2]), s = std::stoi(m[3]);
    if (h > 23 || min > 59 || s > 59) return false;
    ms = ((h * 60 + min) * 60 + s) * 1000LL;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    vantorix::sim::Options options;
    options.mediaDir = vantorix::programFolder();
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--media" && i + 1 < argc) {
            options.mediaDir = argv[++i];
        } else if (arg == "--record" && i + 1 < argc) {
            options.recordTo = argv[++i];
        } else if (arg == "--replay" && i + 1 == argc - 1) {
            return vantorix::sim::runReplay(argv[i + 1], std::cout, std::cerr);
        } else if (arg == "--clock" && i + 1 < argc) {
            if (!parseClock(argv[++i], options.clockTimeOfDayMs)) {
                std::cerr << "vantorix-sim: --clock wants HH:MM:SS\n";
                return 2;
            }
        } else if (arg.starts_with("--") || !scriptPath.empty()) {
            return usage();
        } else {
            scriptPath = arg;
        }
    }
    std::ifstream file;
    if (!scriptPath.empty()) {
        file.open(scriptPath);
        if (!file) {
            std::cerr << "vantorix-sim: cannot read " << scriptPath << '\n';
            return 2;
        }
    }
    int status = vantorix::sim::runSimulation(options, scriptPath.empty() ? std::cin : file,
                                              std::cout, std::cerr);
    SDL_Quit();
    return status;
}
