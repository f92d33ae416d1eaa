#include "runtime/form.h"

#include <algorithm>
#include <stdexcept>

namespace vantorix {

namespace {

constexpr int kFrameWidthPixels = 2 * kFrameSidePixels;
constexpr int kFrameHeightPixels = kFrameTopPixels + kFrameBottomPixels;

float pixels(int twips) { return static_cast<float>(twips) / kTwipsPerPixel; }

Label::Design labelDesign(const StoredControl& c) {
    FontDesc font{std::string(c.font.name), c.font.points, c.font.bold, c.font.italic,
                  c.font.charset};
    return Label::Design{std::string(c.name), c.index,     std::string(c.caption), font,
                         c.foreColor,         pixels(c.left), pixels(c.top),       pixels(c.width),
                         pixels(c.height),    c.alignment, c.visible};
}

}  // namespace

Form::Form(std::span<const StoredControl> description, Clock& clock, InputSource& input,
           WindowHost& host)
    : clock_(clock), input_(input), host_(host) {
    for (const StoredControl& c : description) {
        switch (c.kind) {
            case ControlKind::Window:
                caption_ = std::string(c.caption);
                outerWidthTwips_ = c.width + kFrameWidthPixels * kTwipsPerPixel;
                outerHeightTwips_ = c.height + kFrameHeightPixels * kTwipsPerPixel;
                break;
            case ControlKind::Timer:
                timers_.push_back(
                    std::make_unique<Timer>(std::string(c.name), c.interval, c.enabled, clock_));
                timerOrder_.push_back(timers_.back().get());
                break;
            case ControlKind::PictureArea:
                field_ = std::make_unique<Field>(pixels(c.width), pixels(c.height), c.backColor);
                break;
            case ControlKind::Label:
                if (!field_) throw std::logic_error("a label must follow its picture area");
                field_->addAtBack(labelDesign(c));
                break;
        }
    }
    if (!field_) throw std::logic_error("the window description has no play field");
    host_.setClientSize(clientWidth(), clientHeight());
}

Label& Form::label(const std::string& name) const {
    if (Label* found = field_->find(name)) return *found;
    throw std::out_of_range("no label named " + name);
}

ControlArray& Form::controlArray(const std::string& name) {
    auto& slot = arrays_[name];
    if (!slot) slot = std::make_unique<ControlArray>(*field_, name);
    return *slot;
}

Timer& Form::timer(const std::string& name) const {
    for (Timer* t : timerOrder_)
        if (t->name() == name) return *t;
    throw std::out_of_range("no timer named " + name);
}

void Form::setWidthTwips(int twips) {
    outerWidthTwips_ = twips;
    host_.setClientSize(clientWidth(), clientHeight());
}

void Form::setHeightTwips(int twips) {
    outerHeightTwips_ = twips;
    host_.setClientSize(clientWidth(), clientHeight());
}

int Form::clientWidth() const {
    return std::max(0, outerWidthTwips_ / kTwipsPerPixel - kFrameWidthPixels);
}

int Form::clientHeight() const {
    return std::max(0, outerHeightTwips_ / kTwipsPerPixel - kFrameHeightPixels);
}

void Form::show() {
    if (unloaded_) return;
    if (!shown_) {
        shown_ = true;
        present();
        host_.show();
    }
    // The window becomes active once, the first time it is shown.
    if (!activated_) {
        activated_ = true;
        if (onActivate) onActivate();
    }
}

void Form::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (onUnload) onUnload();
    host_.hide();
    shown_ = false;
}

void Form::end() {
    if (ended_) return;
    ended_ = true;
    if (onEnd) onEnd();
}

void Form::waitForWork() {
    std::int64_t deadline = clock_.nowMs() + kMaxWaitMs;
    for (const Timer* t : timerOrder_)
        if (auto due = t->deadline()) deadline = std::min(deadline, *due);
    input_.waitUntil(deadline);
}

void Form::doEvents() {
    while (!ended_) {
        auto event = input_.take();
        if (!event) break;
        if (beforeEvent) beforeEvent(*event);
        deliver(*event);
        if (afterEvent) afterEvent();
    }
    tickDueTimers();
    if (!ended_ && field_->takeChanged()) host_.present(*field_);
}

void Form::present() {
    field_->takeChanged();
    host_.present(*field_);
}

void Form::deliver(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::KeyDown:
            if (onKeyDown) onKeyDown(event.keyCode, event.shift);
            break;
        case InputEvent::Kind::KeyUp:
            if (onKeyUp) onKeyUp(event.keyCode, event.shift);
            break;
        case InputEvent::Kind::Close:
            unload();
            break;
        case InputEvent::Kind::Tick:
            if (event.timer < timerOrder_.size() && timerOrder_[event.timer]->onTick)
                timerOrder_[event.timer]->onTick();
            break;
    }
}

void Form::tickDueTimers() {
    if (timersFromInput_) return;
    for (std::size_t i = 0; i < timerOrder_.size(); ++i) {
        Timer* t = timerOrder_[i];
        if (ended_) return;
        if (!t->takeTick(clock_.nowMs())) continue;
        if (beforeEvent) beforeEvent({InputEvent::Kind::Tick, 0, 0, static_cast<std::uint8_t>(i)});
        if (t->onTick) t->onTick();
        if (afterEvent) afterEvent();
    }
}

}  // namespace vantorix
