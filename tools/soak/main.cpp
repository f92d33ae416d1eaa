// Plays the game for many simulated hours with random keys, checking the rules
// after every event, and reports what happened and how memory behaved.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "aim.h"
#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "invariants.h"
#include "media/module1.h"
#include "random_keys.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "sim_machine.h"

namespace {

using namespace vantorix;

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

struct Options {
    double hours = 1;
    std::uint32_t seed = 1;
    long maxGrowthKb = 4096;
    std::string media = programFolder();
};

int usage() {
    std::cerr << "usage: vantorix-soak [--hours H] [--seed N] [--max-growth-kb K] [--media DIR]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--hours") o.hours = std::atof(argv[i + 1]);
        else if (arg == "--seed") o.seed = static_cast<std::uint32_t>(std::atol(argv[i + 1]));
        else if (arg == "--max-growth-kb") o.maxGrowthKb = std::atol(argv[i + 1]);
        else if (arg == "--media") o.media = argv[i + 1];
        else return usage();
    }
    if (argc % 2 == 0 || !(o.hours > 0)) return usage();

    auto wallStart = std::chrono::steady_clock::now();
    const std::int64_t endMs = static_cast<std::int64_t>(o.hours * 3600 * 1000);
    sim::Machine machine(8 * 3600 * 1000 + o.seed);
    NoWindow window;
    FormVTX* gamePtr = nullptr;
    soak::RandomKeys keys(
        machine.clock, o.seed, [&] { return gamePtr && gamePtr->gamePlaying; },
        [&] { return gamePtr ? soak::helpfulKey(*gamePtr) : std::int16_t{0}; });
    Form form(formVTXDescription(), machine.clock, keys, window);
    Program app(o.media, machine.clock, [&] { machine.sounds.beep(); });
    Module1::install({&machine.device, &machine.sounds, nullptr, nullptr});
    form.onEnd = [] { Module1::shutDown(); };
    FormVTX game(form, app);
    gamePtr = &game;

    soak::Invariants rules;
    std::string broken;
    long checks = 0, baselineKb = 0, peakKb = 0;
    std::int64_t nextSample = 3600 * 1000;
    form.afterEvent = [&] {
        ++checks;
        if (std::string why = rules.check(game); !why.empty()) {
            broken = "at " + std::to_string(machine.clock.nowMs()) + " ms: " + why;
            form.end();
        }
        if (machine.clock.nowMs() >= nextSample) {
            nextSample += 3600 * 1000;
            machine.takeLog();
            long kb = residentKb();
            if (!baselineKb) baselineKb = kb;
            peakKb = std::max(peakKb, kb);
        }
        if (machine.clock.nowMs() >= endMs) form.end();
    };
    game.Form_Load();
    form.show();
    Module1::shutDown();

    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("simulated     %.2f h in %.1f s\n", machine.clock.nowMs() / 3.6e6, wall);
    std::printf("games         %ld (clears %ld)\n", rules.games(), rules.clears());
    std::printf("key events    %ld\n", keys.events());
    std::printf("checks        %ld\n", checks);
    std::printf("hits, highs   %ld, %ld\n", rules.hits(), rules.highs());
    std::printf("resident      %ld kB after the first hour, %ld kB at most\n", baselineKb, peakKb);
    if (!broken.empty()) {
        std::printf("BROKEN        %s\n", broken.c_str());
        return 1;
    }
    if (machine.clock.nowMs() < endMs) {
        std::printf("BROKEN        the program ended early\n");
        return 1;
    }
    if (baselineKb && peakKb - baselineKb > o.maxGrowthKb) {
        std::printf("BROKEN        memory grew by %ld kB\n", peakKb - baselineKb);
        return 1;
    }
    std::printf("ok\n");
    return 0;
}
