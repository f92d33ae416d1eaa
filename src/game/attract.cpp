#include "game/form_vtx.h"
#include "media/module1.h"

namespace vantorix {

void FormVTX::TimeEvent_Timer() {
    if (!gamePlaying) pushXkey();
}

void FormVTX::pushXkey() {
    App.randomize();
    // Written on every blink because a game start empties it.
    txtEvent.setCaption("Push Z or X");
    if (blinkOn)
        txtEvent.setVisible(false);
    else
        txtEvent.setVisible(true);
    blinkOn = !blinkOn;
}

void FormVTX::TimePushX_Timer() {
    if (!gamePlaying) {
        if (zKeyDown) {
            playSound("\\start.wav", Module1::SND_NODEFAULT);
            gameStart();
        }
        // Not a second look at gamePlaying: Z and X together start, then quit.
        if (xKeyDown) {
            playSound("\\end.wav", Module1::SND_NODEFAULT);
            form_.unload();
        }
    }
    if (zKeyDown && gamePlaying && !beamFlying) {
        float left = Myship.left();
        float top = Myship.top();
        Beam.move(left, top);
        beamRow = static_cast<std::uint8_t>(shipRow);
        beamFlying = true;
    }
}

}  // namespace vantorix
