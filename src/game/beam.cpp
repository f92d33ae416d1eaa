#include <string>

#include "game/form_vtx.h"
#include "media/module1.h"

namespace vantorix {

void FormVTX::TimeBeam_Timer() {
    if (beamFlying) Beam.setLeft(Beam.left() + 32);
    if (Beam.left() > 265) {
        parkBeam();
        beamFlying = false;
    }
    // Only the enemy of the shot's own lane can be hit.
    Label& target = Enemy(beamRow);
    if (Beam.top() == target.top() && Beam.left() >= target.left() - 16) {
        playSound("\\hit.wav", Module1::SND_ASYNC);
        parkBeam();
        beamFlying = false;
        target.setVisible(false);
        target.move(0, 256);
        score += 100;
        txtScore.setCaption(std::to_string(score));
        App.beep();
        if (TimeEnemy.interval() >= 255) TimeEnemy.setInterval(TimeEnemy.interval() - 5);
    }
}

void FormVTX::parkBeam() { Beam.move(kBeamParkLeft, kBeamParkTop); }

}  // namespace vantorix
