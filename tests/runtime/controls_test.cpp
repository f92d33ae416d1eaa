// The controls built from the window's description and the operations the game uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "game/form_vtx_description.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "runtime/random.h"
#include "support/fakes.h"

namespace vantorix {
namespace {

using testing::CountingHost;
using testing::ManualClock;
using testing::QueuedInput;

class Controls : public ::testing::Test {
protected:
    Controls() : input(clock), form(formVTXDescription(), clock, input, host) {}
    int stackIndex(const Label& label) const {
        const auto& order = form.field().stackingOrder();
        return static_cast<int>(std::find(order.begin(), order.end(), &label) - order.begin());
    }
    ManualClock clock;
    QueuedInput input;
    CountingHost host;
    Form form;
};

TEST_F(Controls, TheDescriptionGivesTheDesignedControls) {
    EXPECT_EQ(form.caption(), "Vantorix");
    EXPECT_EQ(host.width, 264);
    EXPECT_EQ(host.height, 247);
    EXPECT_EQ(form.field().width(), 265);
    EXPECT_EQ(form.field().height(), 201);
    EXPECT_EQ(form.field().backColor(), RGB(0, 0, 192));

    const Label& bg = form.label("Bgtxt");
    EXPECT_EQ(bg.caption(), "J");
    EXPECT_EQ(bg.font().pixelSize(), 96);
    EXPECT_TRUE(bg.font().isSymbol());
    EXPECT_EQ(bg.foreColor(), RGB(0, 0, 128));
    EXPECT_EQ(bg.left(), 48);
    EXPECT_EQ(bg.height(), 97);

    const Label& info = form.label("txtInfo");
    EXPECT_EQ(info.caption(), "Start:Z     Quit:X");
    EXPECT_EQ(info.font().pixelSize(), 19);
    EXPECT_EQ(info.alignment(), Alignment::Center);
    EXPECT_EQ(form.label("txtHisc").alignment(), Alignment::Right);
    EXPECT_FALSE(form.label("Myship").visible());
    EXPECT_EQ(form.label("Beam").top(), 168);
    EXPECT_TRUE(form.label("txtTitle").font().italic);
}

TEST_F(Controls, StackingFollowsTheStoredOrderFrontFirst) {
    const auto& order = form.field().stackingOrder();
    ASSERT_EQ(order.size(), 11u);
    EXPECT_EQ(order.front()->name(), "Enemy");
    EXPECT_EQ(order[1]->name(), "Beam");
    EXPECT_EQ(order[9]->name(), "Bgtxt");
    EXPECT_EQ(order.back()->name(), "txtRest");
}

TEST_F(Controls, TimersComeInContainmentOrderWithTheirSwitches) {
    std::vector<std::string> names;
    for (const Timer* t : form.timers()) names.push_back(t->name());
    EXPECT_EQ(names, (std::vector<std::string>{"TimePushX", "TimeEvent", "TimeEnemy", "TimeBeam"}));
    EXPECT_TRUE(form.timer("TimePushX").enabled());
    EXPECT_TRUE(form.timer("TimeEvent").enabled());
    EXPECT_FALSE(form.timer("TimeEnemy").enabled());
    EXPECT_EQ(form.timer("TimeEnemy").interval(), 1000);
    EXPECT_FALSE(form.timer("TimeBeam").enabled());
}

TEST_F(Controls, OuterSizeInTwipsGivesTheClientArea) {
    form.setWidthTwips(4050);
    form.setHeightTwips(2850);
    EXPECT_EQ(host.width, 264);
    EXPECT_EQ(host.height, 165);
    // Smaller than the frame: no client area at all.
    form.setWidthTwips(45);
    EXPECT_EQ(host.width, 0);
    form.setHeightTwips(300);
    EXPECT_EQ(host.height, 0);
}

TEST_F(Controls, ANewElementIsAHiddenCopyOfElementZeroAtTheFront) {
    ControlArray& enemy = form.controlArray("Enemy");
    enemy(0).move(100, 32);
    Label& made = enemy.load(3);
    EXPECT_FALSE(made.visible());
    EXPECT_EQ(made.caption(), "B");
    EXPECT_EQ(made.font(), enemy(0).font());
    EXPECT_EQ(made.foreColor(), enemy(0).foreColor());
    EXPECT_EQ(made.alignment(), Alignment::Center);
    EXPECT_EQ(made.left(), 100);
    EXPECT_EQ(made.top(), 32);
    EXPECT_EQ(made.width(), 33);
    EXPECT_EQ(made.index(), 3);
    EXPECT_EQ(stackIndex(made), 0);
    EXPECT_EQ(&form.controlArray("Enemy")(3), &made) << "one array per name";
    EXPECT_THROW(enemy.load(3), std::invalid_argument);
    EXPECT_THROW(enemy(4), std::out_of_range);
}

TEST_F(Controls, BringToFrontKeepsTheOthersInOrder) {
    Label& rest = form.label("txtRest");
    Label& beam = form.label("Beam");
    form.field().bringToFront(rest);
    EXPECT_EQ(stackIndex(rest), 0);
    EXPECT_EQ(stackIndex(beam), 2);
    EXPECT_EQ(form.field().stackingOrder().size(), 11u);
}

TEST_F(Controls, MovesKeepTheBoxSizeAndHiddenLabelsStillMove) {
    Label& ship = form.label("Myship");
    ship.move(8, 96);
    ship.setLeft(40);
    EXPECT_EQ(ship.left(), 40);
    EXPECT_EQ(ship.top(), 96);
    EXPECT_EQ(ship.width(), 33);
    EXPECT_EQ(ship.height(), 33);
    EXPECT_FALSE(ship.visible());
}

TEST(ProgramServices, TheMediaFolderIsTheProgramsOwnWhereverItIsStartedFrom) {
    EXPECT_TRUE(std::filesystem::equivalent(programFolder(), VANTORIX_MEDIA_DIR));
    ManualClock clock;
    Program(".", clock, nullptr).beep();  // no sound device: silence
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(5.5), 6);
    EXPECT_EQ(roundHalfEven(2.49), 2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
}

TEST(RandomNumbers, FractionsStayBelowOneAndReseedingRepeats) {
    Random a, b;
    a.reseed(43200000);
    b.reseed(43200000);
    for (int i = 0; i < 10000; ++i) {
        double x = a.next();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        ASSERT_EQ(x, b.next());
    }
}

}  // namespace
}  // namespace vantorix
