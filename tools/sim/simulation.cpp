#include "simulation.h"

#include <filesystem>
#include <fstream>

#include "field_png.h"
#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "media/mci_device.h"
#include "media/module1.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "replay/seed_clock.h"
#include "replay/verify.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "script.h"
#include "script_clock.h"
#include "script_input.h"
#include "sim_audio.h"
#include "sim_machine.h"
#include "state_dump.h"

namespace vantorix::sim {

namespace {

// A picture that cannot be written ends the run.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::int64_t kSimulatedDay = 1767225600;

}  // namespace

int runReplay(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string whyNot;
    auto replay = readReplay(path, whyNot);
    if (!replay) {
        err << "vantorix-sim: " << path << ": " << whyNot << '\n';
        return 1;
    }
    auto atEnd = [&](const FormVTX& game, const Form& form) {
        out << stateDump(replay->events.back().atMs, form.ended(), game, form, AudioLog{}).dump() << '\n';
    };
    if (auto differs = verifyReplay(*replay, atEnd)) {
        err << "vantorix-sim: " << path << ": " << *differs << '\n';
        return 1;
    }
    return 0;
}

int runSimulation(const Options& options, std::istream& scriptIn, std::ostream& out,
                  std::ostream& err) {
    Machine machine(options.clockTimeOfDayMs);
    ScriptReader script(scriptIn);
    NoWindow window;
    Form* formPtr = nullptr;
    FormVTX* gamePtr = nullptr;

    auto output = [&](const Command& c) {
        if (c.kind == Command::Kind::Dump) {
            out << stateDump(machine.clock.nowMs(), formPtr->ended(), *gamePtr, *formPtr,
                             machine.takeLog())
                       .dump()
                << '\n'
                << std::flush;
        } else {
            std::string whyNot;
            if (!writeFieldPng(formPtr->field(), c.file, whyNot))
                throw PictureError("line " + std::to_string(c.line) + ": " + whyNot);
        }
    };
    ScriptInput input(machine.clock, machine.gameClock, script, output, [&] { formPtr->end(); });
    Form form(formVTXDescription(), machine.gameClock, input, window);
    formPtr = &form;
    SeedClock seeds(machine.gameClock);
    Program app(options.mediaDir, seeds, [&] { machine.sounds.beep(); });
    Module1::install({&machine.media, &machine.sounds, nullptr, nullptr});
    form.onEnd = [] { Module1::shutDown(); };

    try {
        FormVTX game(form, app);
        gamePtr = &game;
        std::optional<Recorder> recorder;
        if (!options.recordTo.empty()) {
            // A date of its own for each game: 1 January 2026 at the script's time of day.
            auto date = [&] { return kSimulatedDay + (options.clockTimeOfDayMs + machine.clock.nowMs()) / 1000; };
            recorder.emplace(form, game, machine.gameClock, seeds, date,
                             [&](const ReplayHeader&, std::string file) {
                                 std::ofstream(options.recordTo, std::ios::binary) << file;
                             });
        }
        game.Form_Load();
        form.show();
        // The program has ended; what remains of the script sees its final state.
        while (const Command* next = script.peek()) {
            Command c = *next;
            script.pop();
            machine.clock.advanceTo(c.at);
            if (c.kind == Command::Kind::Dump || c.kind == Command::Kind::Png) output(c);
        }
    } catch (const ScriptError& error) {
        Module1::shutDown();
        err << "vantorix-sim: " << error.what() << '\n';
        return 2;
    } catch (const PictureError& error) {
        Module1::shutDown();
        err << "vantorix-sim: " << error.what() << '\n';
        return 1;
    }
    Module1::shutDown();
    return 0;
}

}  // namespace vantorix::sim
