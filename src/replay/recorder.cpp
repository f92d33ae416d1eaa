#include "replay/recorder.h"

#include "game/form_vtx.h"
#include "runtime/form.h"

namespace vantorix {

namespace {

// The ship's "N" stays from the collision that ended the game; the other
// ends say themselves in the title.
Ending endingOf(const FormVTX& game, bool closed) {
    if (closed && game.gamePlaying) return Ending::Closed;
    if (game.txtTitle.caption() == "Perfect!!!") return Ending::Perfect;
    if (game.txtTitle.caption() == "Mission Over!!") return Ending::MissionOver;
    if (game.Myship.caption() == "N") return Ending::Dekopin;
    return Ending::Mayday;
}

}  // namespace

Recorder::Recorder(Form& form, FormVTX& game, PausingClock& clock, SeedClock& seeds,
                   std::function<std::int64_t()> wallClock, Finished finished)
    : form_(form), game_(game), clock_(clock), wallClock_(std::move(wallClock)), finished_(std::move(finished)) {
    for (const Timer* t : form.timers()) timerNames_.push_back(t->name());
    form.beforeEvent = [this](const InputEvent& e) { before(e); };
    form.afterEvent = [this] { after(); };
    seeds.onReading = [this](std::int64_t reading) {
        if (candidate_ || recording_) seeds_.push_back(reading);
    };
}

void Recorder::before(const InputEvent& event) {
    if (recording_) {
        if (std::int64_t paused = clock_.behindMs() - behindMs_; paused > 0) {
            writer_.paused(paused);
            behindMs_ += paused;
        }
        writer_.event(sinceStart(), event);
        return;
    }
    // Only Z held between games can start one: the state is kept just then.
    candidate_.reset();
    if (game_.gamePlaying || !game_.zKeyDown) return;
    candidate_ = captureState(game_, form_);
    startEvent_ = event;
    startMs_ = clock_.nowMs();
    seeds_.clear();
}

void Recorder::after() {
    if (!recording_) {
        if (!candidate_ || !game_.gamePlaying) return;
        recording_ = true;
        writer_ = ReplayWriter();
        writer_.event(0, startEvent_);
        startedAt_ = wallClock_();
        behindMs_ = clock_.behindMs();
        lastCheckMs_ = 0;
    }
    if (!game_.gamePlaying || form_.ended()) {
        finish();
    } else if (sinceStart() - lastCheckMs_ >= kCheckEveryMs) {
        lastCheckMs_ = sinceStart();
        writer_.check(game_.score, stateHash(captureState(game_, form_)));
    }
}

void Recorder::finish() {
    writer_.check(game_.score, stateHash(captureState(game_, form_)));
    ReplayHeader header{startedAt_, game_.score, endingOf(game_, form_.ended()), sinceStart()};
    std::string file = writer_.finish(header, timerNames_, *candidate_, seeds_);
    recording_ = false;
    candidate_.reset();
    writer_ = ReplayWriter();
    finished_(header, std::move(file));
}

}  // namespace vantorix
