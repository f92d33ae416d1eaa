#include "game/form_vtx.h"
#include "media/module1.h"

namespace vantorix {

FormVTX::FormVTX(Form& form, Program& app)
    : Window(form.field()),
      Enemy(form.controlArray("Enemy")),
      Beam(form.label("Beam")),
      Myship(form.label("Myship")),
      txtEvent(form.label("txtEvent")),
      txtTitle(form.label("txtTitle")),
      txtInfo(form.label("txtInfo")),
      txtScore(form.label("txtScore")),
      txtHighScore(form.label("txtHighScore")),
      txtHisc(form.label("txtHisc")),
      Bgtxt(form.label("Bgtxt")),
      txtRest(form.label("txtRest")),
      TimePushX(form.timer("TimePushX")),
      TimeEvent(form.timer("TimeEvent")),
      TimeEnemy(form.timer("TimeEnemy")),
      TimeBeam(form.timer("TimeBeam")),
      form_(form),
      App(app) {
    form.onActivate = [this] { Form_Activate(); };
    form.onUnload = [this] { Form_Unload(); };
    form.onKeyDown = [this](std::int16_t key, std::int16_t shift) { Form_KeyDown(key, shift); };
    form.onKeyUp = [this](std::int16_t key, std::int16_t shift) { Form_KeyUp(key, shift); };
    TimePushX.onTick = [this] { TimePushX_Timer(); };
    TimeEvent.onTick = [this] { TimeEvent_Timer(); };
    TimeEnemy.onTick = [this] { TimeEnemy_Timer(); };
    TimeBeam.onTick = [this] { TimeBeam_Timer(); };
}

clsMIDI& FormVTX::player() {
    if (!midiPlayer) midiPlayer = std::make_shared<clsMIDI>(form_);
    return *midiPlayer;
}

void FormVTX::playSound(const char* name, std::uint32_t flags) {
    Module1::sndPlaySoundA(App.appFile(name).c_str(), flags);
}

void FormVTX::Form_Load() {
    xKeyDown = false;
    form_.setWidthTwips(4050);
    form_.setHeightTwips(2850);
    Window.setHeight(165);
    Window.setWidth(264);
    player().FileName(App.appFile("\\title.mid"));
    hiScore = 10000;
    Enemy(0).move(264, 0);
    for (std::int16_t i = 1; i <= 5; ++i) {
        Enemy.load(i);
        Window.bringToFront(Enemy(i));
        Enemy(i).setCaption(Enemy(0).caption());
        Enemy(i).move(264, kLaneHeight * i);
    }
    gamePlaying = false;
}

void FormVTX::Form_Activate() { player().PlayLoop(); }

void FormVTX::Form_Unload() {
    player().StopM();
    // A running music loop still holds the player; it goes with the program.
    midiPlayer.reset();
    form_.end();
}

}  // namespace vantorix
