#pragma once

#include <cstdint>
#include <memory>

#include "media/cls_midi.h"
#include "runtime/control_array.h"
#include "runtime/field.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/program.h"
#include "runtime/timer.h"

namespace vantorix {

// The game window: its state, and the handlers of its events and timers.
class FormVTX {
public:
    // Wires the handlers to a form built from the game window's description.
    FormVTX(Form& form, Program& app);

    // Lifecycle.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();

    // Keyboard and ship.
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift);

    // Attract mode and key polling.
    void TimeEvent_Timer();
    void TimePushX_Timer();
    void pushXkey();

    void gameStart();
    void TimeBeam_Timer();
    void TimeEnemy_Timer();
    void gameOver();
    void gameClere();

    // The game state, shared by every handler.
    bool gamePlaying = false;
    bool zKeyDown = false;
    bool xKeyDown = false;
    bool beamFlying = false;
    std::int16_t shipRow = 0;
    std::uint8_t beamRow = 0;
    std::int64_t score = 0;
    std::int64_t hiScore = 0;
    std::int16_t highRest = 0;
    std::uint8_t pushOffset = 0;
    std::shared_ptr<clsMIDI> midiPlayer;
    // Kept by single handlers from one call to the next.
    bool blinkOn = false;
    std::uint8_t spawnRow = 0;

    // The controls, under the names the handlers use.
    Field& Window;
    ControlArray& Enemy;
    Label& Beam;
    Label& Myship;
    Label& txtEvent;
    Label& txtTitle;
    Label& txtInfo;
    Label& txtScore;
    Label& txtHighScore;
    Label& txtHisc;
    Label& Bgtxt;
    Label& txtRest;
    Timer& TimePushX;
    Timer& TimeEvent;
    Timer& TimeEnemy;
    Timer& TimeBeam;

private:
    // The music player, made on first use.
    clsMIDI& player();
    void playSound(const char* name, std::uint32_t flags);
    void parkEnemies();
    void parkBeam();
    // Stops the play timers and hands over to the attract mode.
    void stopPlayTimers();
    void raiseHighScore();

    Form& form_;
    Program& App;
};

// Colours and places the handlers share.
constexpr Rgb kFieldBlue = RGB(0, 0, 192);
constexpr Rgb kFlashWhite = RGB(255, 255, 255);
constexpr float kLaneHeight = 32;
constexpr float kShipLeft = 8;
constexpr float kBeamParkLeft = 0, kBeamParkTop = 168;
constexpr float kEnemyParkLeft = 328;
constexpr const char* kAttractHelp = "Start:Z     Quit:X";

}  // namespace vantorix
