#include "game/form_vtx.h"

namespace vantorix {

void FormVTX::TimeEnemy_Timer() {
    spawnRow = static_cast<std::uint8_t>(roundHalfEven(App.rnd() * 4));
    Label& spawned = Enemy(spawnRow);
    if (!spawned.visible()) {
        spawned.move(264, kLaneHeight * spawnRow);
        spawned.setVisible(true);
    }
    // A loss ends the game from inside this loop and the loop runs on: the
    // enemies after it still step, and start the next game a column nearer. Intended.
    for (std::int16_t i = 0; i <= 4; ++i) {
        Label& enemy = Enemy(i);
        enemy.setLeft(enemy.left() - 32);
        if (enemy.left() == Myship.left() && enemy.top() == Myship.top()) {
            Myship.setCaption("N");
            Bgtxt.setCaption("B");
            txtTitle.setCaption("Dekopin!!");
            gameOver();
        }
        // Top below 167 marks a live enemy; destroyed ones drift under the field.
        if (Myship.left() - 32 > enemy.left() && enemy.top() < 167) {
            Bgtxt.setCaption("L");
            txtTitle.setCaption("Mayday!!");
            gameOver();
        }
    }
    if (score >= 20000) gameClere();
}

}  // namespace vantorix
