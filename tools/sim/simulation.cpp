#include "simulation.h"

#include <filesystem>

#include "field_png.h"
#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "media/mci_device.h"
#include "media/module1.h"
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

}  // namespace

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
    Program app(options.mediaDir, machine.gameClock, [&] { machine.sounds.beep(); });
    Module1::install({&machine.media, &machine.sounds, nullptr, nullptr});
    form.onEnd = [] { Module1::shutDown(); };

    try {
        FormVTX game(form, app);
        gamePtr = &game;
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
