#include <string>

#include "game/form_vtx.h"

namespace vantorix {

void FormVTX::gameStart() {
    // First, so the Z press that starts the game does not also fire.
    zKeyDown = false;
    App.randomize();
    score = 0;
    highRest = 3;
    shipRow = 2;
    beamRow = 2;
    Myship.setVisible(true);
    Myship.move(kShipLeft, kLaneHeight * 2);
    if (hiScore == 30000)
        Myship.setCaption("J");
    else
        Myship.setCaption(">");
    Bgtxt.setCaption("J");
    txtScore.setCaption(std::to_string(score));
    txtRest.setCaption(std::to_string(highRest));
    txtInfo.setCaption("Mssl:Z      High:X");
    txtEvent.setCaption("");
    txtTitle.setCaption("");
    gamePlaying = true;
    TimeEvent.setEnabled(false);
    TimeEnemy.setEnabled(true);
    TimeBeam.setEnabled(true);
    for (std::int16_t i = 0; i <= 4; ++i) Enemy(i).setVisible(true);
    player().FileName(App.appFile("\\bgm.mid"));
    player().Position(std::to_string(1));
    player().ResumeM();
    form_.show();
}

}  // namespace vantorix
