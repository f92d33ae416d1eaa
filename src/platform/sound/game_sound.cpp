#include "platform/sound/game_sound.h"

#include "media/module1.h"

namespace vantorix {

GameSound::GameSound(SoundChoice choice, FluidMusic& music, MciDevice& device,
                     std::function<void()> beforeBlockingSound, std::function<void(const std::string&)> tell)
    : choice_(std::move(choice)),
      music_(music),
      device_(device),
      beforeBlockingSound_(std::move(beforeBlockingSound)),
      tell_(std::move(tell)) {
    device_.onRefused = tell_;
    Module1::install({&device_, nullptr, beforeBlockingSound_, tell_});
}

GameSound::~GameSound() {
    if (synthesizer_.joinable()) synthesizer_.join();
    if (mixer_) mixer_->setMusic(nullptr);
}

void GameSound::start() {
    mixer_.emplace(choice_.mute, tell_);
    if (!mixer_->warning().empty()) tell_(mixer_->warning());
    mixer_->setVolumes(choice_.musicVolume, choice_.effectsVolume);
    mixer_->setMusicOn(choice_.musicOn);
    mixer_->setHeld(held_);
    sounds_.emplace(*mixer_, tell_);
    mixer_->setMusic(&music_);
    Module1::install({&device_, &*sounds_, beforeBlockingSound_, tell_});
    // Muted, it plays without a SoundFont: silent, at the same pace.
    if (choice_.mute) {
        music_.start({});
        return;
    }
    std::string soundFont = choice_.soundFont.empty() ? defaultSoundFont() : choice_.soundFont;
    synthesizer_ = std::thread([this, soundFont] {
        music_.start(soundFont);
        if (auto warning = music_.warning(); !warning.empty()) tell_(warning);
    });
}

void GameSound::beep() {
    if (sounds_) sounds_->beep();
}

void GameSound::setMusicOn(bool on) {
    choice_.musicOn = on;
    if (mixer_) mixer_->setMusicOn(on);
}

void GameSound::hold(bool held) {
    held_ = held;
    if (mixer_) mixer_->setHeld(held);
}

}  // namespace vantorix
