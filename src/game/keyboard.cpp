#include <string>

#include "game/form_vtx.h"
#include "media/module1.h"
#include "runtime/key_codes.h"

namespace vantorix {

void FormVTX::Form_KeyDown(std::int16_t KeyCode, std::int16_t) {
    switch (KeyCode) {
        case vbKeyUp:
            if (shipRow > 0 && gamePlaying) {
                Myship.move(kShipLeft, Myship.top() - kLaneHeight);
                shipRow = static_cast<std::int16_t>(shipRow - 1);
            }
            break;
        case vbKeyDown:
            if (shipRow < 4 && gamePlaying) {
                Myship.move(kShipLeft, Myship.top() + kLaneHeight);
                shipRow = static_cast<std::int16_t>(shipRow + 1);
            }
            break;
        case vbKeyX:
            xKeyDown = true;
            if (gamePlaying && highRest > 0) {
                // The field stays white until X is released.
                Window.setBackColor(kFlashWhite);
                playSound("\\high.wav", Module1::SND_NODEFAULT);
                // Each enemy takes the offset drawn for the one before it (the
                // first, the last High's): intended, as the game has always played.
                for (std::int16_t i = 0; i <= 4; ++i) {
                    Enemy(i).setLeft(Window.width() + 32 * pushOffset);
                    pushOffset = static_cast<std::uint8_t>(roundHalfEven(App.rnd() * 5 + 1));
                }
                score += 500;
                txtScore.setCaption(std::to_string(score));
                highRest = static_cast<std::int16_t>(highRest - 1);
                txtRest.setCaption(std::to_string(highRest));
            }
            break;
        case vbKeyZ:
            zKeyDown = true;
            break;
        default:
            break;
    }
}

void FormVTX::Form_KeyUp(std::int16_t KeyCode, std::int16_t) {
    switch (KeyCode) {
        case vbKeyX:
            xKeyDown = false;
            Window.setBackColor(kFieldBlue);
            break;
        case vbKeyZ:
            zKeyDown = false;
            break;
        default:
            break;
    }
}

}  // namespace vantorix
