#include "replay/game_state.h"

#include "game/form_vtx.h"
#include "runtime/form.h"

namespace vantorix {

namespace {

// Each of the game's variables beside its place in a state: one list for
// capturing and putting back, so neither can miss one the other has.
template <class Game, class State, class Each>
void eachVariable(Game& game, State& s, Each each) {
    each(game.gamePlaying, s.gamePlaying);
    each(game.zKeyDown, s.zKeyDown);
    each(game.xKeyDown, s.xKeyDown);
    each(game.beamFlying, s.beamFlying);
    each(game.blinkOn, s.blinkOn);
    each(game.shipRow, s.shipRow);
    each(game.highRest, s.highRest);
    each(game.beamRow, s.beamRow);
    each(game.pushOffset, s.pushOffset);
    each(game.spawnRow, s.spawnRow);
    each(game.score, s.score);
    each(game.hiScore, s.hiScore);
}

}  // namespace

GameState captureState(const FormVTX& game, const Form& form) {
    GameState s;
    eachVariable(game, s, [](const auto& variable, auto& kept) { kept = variable; });
    s.back = form.field().backColor();
    for (const Label* l : form.field().stackingOrder())
        s.labels.push_back({l->name(), l->index(), l->left(), l->top(), l->visible(), l->caption()});
    for (const Timer* t : form.timers()) s.timers.push_back({t->enabled(), t->interval()});
    return s;
}

bool applyState(const GameState& s, FormVTX& game, Form& form, std::string& whyNot) {
    if (s.timers.size() != form.timers().size()) {
        whyNot = "its timers are not this game's";
        return false;
    }
    for (const LabelState& l : s.labels) {
        if (!form.field().find(l.name, l.index)) {
            whyNot = "this game has no label " + l.name;
            return false;
        }
    }
    eachVariable(game, s, [](auto& variable, const auto& kept) { variable = kept; });
    form.field().setBackColor(s.back);
    for (const LabelState& l : s.labels) {
        Label& label = *form.field().find(l.name, l.index);
        label.move(l.left, l.top);
        label.setVisible(l.visible);
        label.setCaption(l.caption);
    }
    for (std::size_t i = 0; i < s.timers.size(); ++i) {
        Timer& timer = *form.timers()[i];
        // The interval first: setting it restarts the period, as enabling does.
        timer.setInterval(s.timers[i].interval);
        timer.setEnabled(s.timers[i].enabled);
    }
    return true;
}

}  // namespace vantorix
