// How the form delivers input and timer ticks: order, deadlines, no made-up ticks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/form_vtx_description.h"
#include "runtime/form.h"
#include "support/fakes.h"

namespace vantorix {
namespace {

using testing::CountingHost;
using testing::ManualClock;
using testing::QueuedInput;

class Dispatch : public ::testing::Test {
protected:
    Dispatch() : input(clock), form(formVTXDescription(), clock, input, host) {
        for (Timer* t : form.timers()) t->onTick = [this, t] { log.push_back(t->name()); };
        form.onKeyDown = [this](std::int16_t key, std::int16_t) {
            log.push_back("down " + std::to_string(key));
        };
        form.onKeyUp = [this](std::int16_t key, std::int16_t) {
            log.push_back("up " + std::to_string(key));
        };
    }
    void runTo(std::int64_t t) {
        clock.now = t;
        form.doEvents();
    }
    std::vector<std::string> ticksOf(const std::string& name) const {
        std::vector<std::string> out;
        for (const auto& entry : log)
            if (entry == name) out.push_back(entry);
        return out;
    }

    ManualClock clock;
    QueuedInput input;
    CountingHost host;
    Form form;
    std::vector<std::string> log;
};

TEST_F(Dispatch, InputGoesBeforeTheTicksOfTheSameMoment) {
    input.events.push_back({InputEvent::Kind::KeyDown, 90});
    input.events.push_back({InputEvent::Kind::KeyUp, 90});
    runTo(250);
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "down 90");
    EXPECT_EQ(log[1], "up 90");
    EXPECT_EQ(log[2], "TimePushX");
    EXPECT_EQ(log[3], "TimeEvent");
}

TEST_F(Dispatch, DueTimersTickInContainmentOrder) {
    form.timer("TimeBeam").setEnabled(true);
    form.timer("TimeEnemy").setEnabled(true);
    runTo(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"TimePushX", "TimeEvent", "TimeEnemy", "TimeBeam"}));
}

TEST_F(Dispatch, MissedTicksAreNotMadeUpAndTheGridHolds) {
    runTo(35);  // three pushX deadlines passed: one tick
    EXPECT_EQ(ticksOf("TimePushX").size(), 1u);
    runTo(39);
    EXPECT_EQ(ticksOf("TimePushX").size(), 1u);
    runTo(40);  // the next grid point after 35, not 45
    EXPECT_EQ(ticksOf("TimePushX").size(), 2u);
    EXPECT_EQ(*form.timer("TimePushX").deadline(), 50);
}

TEST_F(Dispatch, NoTickBeforeItsDeadline) {
    runTo(9);
    EXPECT_TRUE(log.empty());
    runTo(10);
    EXPECT_EQ(log, std::vector<std::string>{"TimePushX"});
}

TEST_F(Dispatch, EnablingStartsAFullPeriodFromNow) {
    clock.now = 333;
    Timer& beam = form.timer("TimeBeam");
    beam.setEnabled(true);
    EXPECT_EQ(*beam.deadline(), 433);
    clock.now = 400;
    beam.setEnabled(true);  // already running: the period goes on
    EXPECT_EQ(*beam.deadline(), 433);
    beam.setEnabled(false);
    EXPECT_FALSE(beam.deadline());
}

TEST_F(Dispatch, ANewIntervalRestartsThePeriodFromNow) {
    Timer& enemy = form.timer("TimeEnemy");
    enemy.setEnabled(true);
    runTo(700);
    enemy.setInterval(995);
    EXPECT_EQ(*enemy.deadline(), 1695);
    runTo(1000);
    EXPECT_TRUE(ticksOf("TimeEnemy").empty());
    runTo(1695);
    EXPECT_EQ(ticksOf("TimeEnemy").size(), 1u);
}

TEST_F(Dispatch, ATimerDisabledByAnEarlierTickOfTheSamePassDoesNotTick) {
    form.timer("TimePushX").onTick = [this] { form.timer("TimeEvent").setEnabled(false); };
    runTo(250);
    EXPECT_TRUE(ticksOf("TimeEvent").empty());
}

TEST_F(Dispatch, WaitingStopsAtTheNextDeadlineOrTheCap) {
    form.timer("TimePushX").setEnabled(false);
    form.waitForWork();
    EXPECT_EQ(clock.now, Form::kMaxWaitMs);
    form.timer("TimePushX").setEnabled(true);
    form.waitForWork();
    EXPECT_EQ(clock.now, Form::kMaxWaitMs + 10);
}

TEST_F(Dispatch, RepaintsOnlyWhenSomethingChanged) {
    runTo(10);
    int after = host.presents;
    runTo(20);
    EXPECT_EQ(host.presents, after);
    form.label("txtTitle").setCaption("Game Over");
    runTo(30);
    EXPECT_EQ(host.presents, after + 1);
}

TEST_F(Dispatch, CloseUnloadsOnceAndEndStopsAllHandling) {
    int unloads = 0;
    form.onUnload = [&] {
        ++unloads;
        form.end();
    };
    input.events.push_back({InputEvent::Kind::Close});
    input.events.push_back({InputEvent::Kind::KeyDown, 88});
    runTo(10);
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(log.empty()) << "nothing is handled after the end";
    int presents = host.presents;
    form.label("txtTitle").setCaption("Game Over");
    runTo(20);
    EXPECT_EQ(host.presents, presents) << "nor drawn";
    form.unload();
    EXPECT_EQ(unloads, 1);
}

TEST_F(Dispatch, AFormWithoutHandlersTakesInputTicksAndClose) {
    clock.now = 5000;
    Form bare(formVTXDescription(), clock, input, host);
    EXPECT_EQ(*bare.timer("TimePushX").deadline(), 5010) << "its timers start when it loads";
    for (Timer* t : bare.timers()) t->setEnabled(true);
    bare.show();
    input.events.push_back({InputEvent::Kind::KeyDown, 90});
    input.events.push_back({InputEvent::Kind::KeyUp, 90});
    clock.now = 6000;
    bare.doEvents();
    input.events.push_back({InputEvent::Kind::Close});
    bare.doEvents();
    EXPECT_FALSE(host.shown);
}

TEST_F(Dispatch, AZeroIntervalStopsATimerAndOneMillisecondTicksEachMillisecond) {
    Timer& pushX = form.timer("TimePushX");
    pushX.setInterval(0);
    EXPECT_FALSE(pushX.deadline());
    runTo(100);
    EXPECT_TRUE(log.empty());
    pushX.setInterval(1);
    runTo(101);
    EXPECT_EQ(log, std::vector<std::string>{"TimePushX"});
}

TEST_F(Dispatch, ShowingActivatesOnceAndDrawsBeforeShowing) {
    int activations = 0;
    form.onActivate = [&] {
        ++activations;
        EXPECT_TRUE(host.shown);
        EXPECT_GE(host.presents, 1);
    };
    form.show();
    form.show();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(host.presentsWhenShown, 1) << "the window never shows an undrawn frame";
    form.doEvents();
    EXPECT_EQ(host.presents, 1) << "the frame shown is not drawn twice";
}

TEST_F(Dispatch, WatchersSeeEveryKeyAndTickAsItIsDelivered) {
    std::vector<InputEvent> seen;
    form.beforeEvent = [&](const InputEvent& e) { seen.push_back(e); };
    input.events.push_back({InputEvent::Kind::KeyDown, 90});
    runTo(10);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (InputEvent{InputEvent::Kind::KeyDown, 90}));
    EXPECT_EQ(seen[1], (InputEvent{InputEvent::Kind::Tick, 0, 0, 0})) << "TimePushX, the first timer";
}

TEST_F(Dispatch, TimersCanBeLeftToTheInputsTicks) {
    form.tickTimersFromInput();
    runTo(1000);
    EXPECT_TRUE(log.empty()) << "no timer ticks by itself";
    input.events.push_back({InputEvent::Kind::Tick, 0, 0, 1});
    input.events.push_back({InputEvent::Kind::Tick, 0, 0, 200});
    runTo(1001);
    EXPECT_EQ(log, std::vector<std::string>{"TimeEvent"}) << "a tick of no timer is nothing";
}

}  // namespace
}  // namespace vantorix
