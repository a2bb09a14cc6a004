#include <gtest/gtest.h>

#include "app/GameClock.h"
#include "platform/Ticks.h"
#include "support/PlatformFaults.h"

namespace {

using platform::testing::setTickCount;

class GameClockTest : public ::testing::Test {
protected:
    PlatformFaults faults;
};

TEST_F(GameClockTest, PauseIsLeftOutExactlyOnceEvenWhenAskedTwice) {
    setTickCount(1000);
    GameClock clock;
    const auto before = clock.now();
    setTickCount(3000);
    clock.setPaused(true);
    setTickCount(3500);
    clock.setPaused(true);  // minimising after deactivation asks again
    EXPECT_EQ(3000u, clock.now());
    setTickCount(8000);
    EXPECT_EQ(3000u, clock.now());
    clock.setPaused(false);
    clock.setPaused(false);  // and activation after restoring resumes again
    setTickCount(9000);
    EXPECT_EQ(3000u, clock.now() - before);  // 2000 before the pause, 1000 after
}

TEST_F(GameClockTest, ResumeWithoutPauseChangesNothing) {
    setTickCount(500);
    GameClock clock;
    clock.setPaused(false);
    EXPECT_EQ(500u, clock.now());
}

TEST_F(GameClockTest, ReadingsAcrossTheWrapDifferByTheTrueTime) {
    setTickCount(0xFFFFFF00u);
    GameClock clock;
    clock.setPaused(true);
    setTickCount(0xFFFFFFF0u);
    clock.setPaused(false);
    const auto before = clock.now();
    setTickCount(0x00000100u);
    EXPECT_EQ(0x110u, clock.now() - before);
}

}  // namespace

namespace {

TEST_F(GameClockTest, ThePlayersPauseOutlastsTheWindowComingBack) {
    setTickCount(1000);
    GameClock clock;
    clock.setPaused(GameClock::Reason::Player, true);
    setTickCount(2000);
    clock.setPaused(true);  // the window goes to the background...
    setTickCount(3000);
    clock.setPaused(false);  // ...and comes back
    EXPECT_TRUE(clock.isPaused());
    setTickCount(4000);
    EXPECT_EQ(1000u, clock.now());
    clock.setPaused(GameClock::Reason::Player, false);
    setTickCount(4500);
    EXPECT_EQ(1500u, clock.now());
}

}  // namespace
