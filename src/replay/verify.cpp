#include "replay/verify.h"

#include <cstdio>
#include <exception>

#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "media/module1.h"
#include "replay/seed_clock.h"
#include "runtime/form.h"
#include "runtime/key_codes.h"
#include "runtime/program.h"

namespace vantorix {

namespace {

class SetClock : public Clock {
public:
    std::int64_t nowMs() override { return now_; }
    std::int64_t timeOfDayMs() override { return 0; }
    void set(std::int64_t ms) { now_ = ms; }

private:
    std::int64_t now_ = 0;
};

class OneAtATime : public QueuedInputSource {
public:
    void waitUntil(std::int64_t) override {}
    void push(const InputEvent& event) { queue_.push_back(event); }
};

std::string keyName(std::int16_t key) {
    switch (key) {
        case vbKeyZ: return "Z";
        case vbKeyX: return "X";
        case vbKeyUp: return "Up";
        case vbKeyDown: return "Down";
        default: return "key " + std::to_string(key);
    }
}

std::string clockText(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace

std::string describeEvent(const Replay& replay, const ReplayEvent& e) {
    std::string what;
    switch (e.event.kind) {
        case InputEvent::Kind::Tick: what = "the tick of " + replay.timers.at(e.event.timer); break;
        case InputEvent::Kind::KeyDown: what = keyName(e.event.keyCode) + " down"; break;
        case InputEvent::Kind::KeyUp: what = keyName(e.event.keyCode) + " up"; break;
        case InputEvent::Kind::Close: what = "the window's close"; break;
    }
    return what + " at " + clockText(e.atMs);
}

std::optional<std::string> verifyReplay(const Replay& replay,
                                        const std::function<void(const FormVTX&, const Form&)>& atEnd) {
    SetClock clock;
    SeedClock seeds(clock);
    seeds.feed(replay.seeds);
    NoWindow window;
    OneAtATime input;
    Form form(formVTXDescription(), clock, input, window);
    for (std::size_t i = 0; i < form.timers().size() && i < replay.timers.size(); ++i)
        if (form.timers()[i]->name() != replay.timers[i]) return "its timers are not this game's";
    if (form.timers().size() != replay.timers.size()) return "its timers are not this game's";
    Program app(programFolder(), seeds, {});
    // No music and no sound: the rules never wait for them here.
    Module1::install({});
    FormVTX game(form, app);
    game.Form_Load();
    // Shown, but without the music loop that would run the game on its own.
    form.onActivate = nullptr;
    form.show();
    std::string whyNot;
    if (!applyState(replay.start, game, form, whyNot)) return whyNot;
    form.tickTimersFromInput();

    auto check = replay.checks.begin();
    for (std::size_t i = 0; i < replay.events.size(); ++i) {
        const ReplayEvent& e = replay.events[i];
        clock.set(e.atMs);
        input.push(e.event);
        try {
            form.doEvents();
        } catch (const std::exception& error) {
            return "event " + std::to_string(i + 1) + " (" + describeEvent(replay, e) +
                   "): the rules stopped with \"" + error.what() + "\"";
        }
        for (; check != replay.checks.end() && check->afterEvents == i + 1; ++check) {
            std::string differs;
            if (game.score != check->score)
                differs = "the score is " + std::to_string(game.score) + " where the replay has " +
                          std::to_string(check->score);
            else if (stateHash(captureState(game, form)) != check->stateHash)
                differs = "the game's state differs from the replay's";
            if (!differs.empty())
                return "event " + std::to_string(i + 1) + " (" + describeEvent(replay, e) + "): " + differs;
        }
    }
    if (atEnd) atEnd(game, form);
    return std::nullopt;
}

}  // namespace vantorix
