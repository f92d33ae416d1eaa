#include <stdexcept>
#include <string>

#include "game/form_vtx.h"
#include "media/module1.h"

namespace vantorix {

namespace {

// The High bonus is a 16-bit product, as the counter it comes from.
std::int16_t highBonus(std::int16_t highsLeft) {
    int product = highsLeft * 3000;
    if (product < INT16_MIN || product > INT16_MAX) throw std::overflow_error("Overflow");
    return static_cast<std::int16_t>(product);
}

}  // namespace

void FormVTX::parkEnemies() {
    for (std::int16_t i = 0; i <= 4; ++i) Enemy(i).move(kEnemyParkLeft, kLaneHeight * i);
}

void FormVTX::stopPlayTimers() {
    TimeEnemy.setEnabled(false);
    TimeEnemy.setInterval(1000);
    TimeBeam.setEnabled(false);
    TimeEvent.setEnabled(true);
}

void FormVTX::raiseHighScore() {
    if (score > hiScore) {
        txtHisc.setCaption(std::to_string(score));
        hiScore = score;
    }
}

void FormVTX::gameOver() {
    playSound("\\miss.wav", Module1::SND_NODEFAULT);
    player().Pause();
    gamePlaying = false;
    parkEnemies();
    parkBeam();
    stopPlayTimers();
    raiseHighScore();
    Bgtxt.setCaption("U");
    txtInfo.setCaption(kAttractHelp);
    txtTitle.setCaption("Game Over");
    playSound("\\gameover.wav", Module1::SND_NODEFAULT);
}

void FormVTX::gameClere() {
    player().Pause();
    std::int16_t bonus = highBonus(highRest);
    gamePlaying = false;
    score = (score + bonus) + 1000;
    txtScore.setCaption(std::to_string(score));
    raiseHighScore();
    parkBeam();
    stopPlayTimers();
    Bgtxt.setCaption("P");
    txtInfo.setCaption(kAttractHelp);
    if (score == 30000) {
        txtTitle.setCaption("Perfect!!!");
        Myship.setCaption("J");
    } else {
        txtTitle.setCaption("Mission Over!!");
    }
    parkEnemies();
    playSound("\\clear.wav", Module1::SND_NODEFAULT);
}

}  // namespace vantorix
