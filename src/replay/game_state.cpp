#include "replay/game_state.h"

#include "game/form_vtx.h"
#include "runtime/form.h"

namespace vantorix {

GameState captureState(const FormVTX& game, const Form& form) {
    GameState s;
    s.gamePlaying = game.gamePlaying;
    s.zKeyDown = game.zKeyDown;
    s.xKeyDown = game.xKeyDown;
    s.beamFlying = game.beamFlying;
    s.blinkOn = game.blinkOn;
    s.shipRow = game.shipRow;
    s.highRest = game.highRest;
    s.beamRow = game.beamRow;
    s.pushOffset = game.pushOffset;
    s.spawnRow = game.spawnRow;
    s.score = game.score;
    s.hiScore = game.hiScore;
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
    game.gamePlaying = s.gamePlaying;
    game.zKeyDown = s.zKeyDown;
    game.xKeyDown = s.xKeyDown;
    game.beamFlying = s.beamFlying;
    game.blinkOn = s.blinkOn;
    game.shipRow = s.shipRow;
    game.highRest = s.highRest;
    game.beamRow = s.beamRow;
    game.pushOffset = s.pushOffset;
    game.spawnRow = s.spawnRow;
    game.score = s.score;
    game.hiScore = s.hiScore;
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
