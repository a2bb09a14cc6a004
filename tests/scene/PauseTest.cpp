#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/Application.h"
#include "app/GameClock.h"
#include "combat/Combat.h"
#include "graphics/DisplayDevice.h"
#include "physics/BallSet.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// The players' pause, on a set clock.
namespace {

struct Moment {
    double x = 0, y = 0;
    std::uint32_t frameTime = 0;
    std::int32_t ballsLeft = 0;
    bool operator==(const Moment& other) const {
        return x == other.x && y == other.y && frameTime == other.frameTime && ballsLeft == other.ballsLeft;
    }
};

class PauseTest : public RunningGame {
protected:
    void pressP() {
        pushed::tap(SDLK_p, SDL_SCANCODE_P);
        drainMessages();
    }

    // Where the first ball is, frame after frame.
    std::vector<Moment> record(int count) {
        std::vector<Moment> moments;
        for (int i = 0; i < count && app().isMatchRunning(); ++i) {
            frames(1, 13);
            const Combat& combat = *app().combat();
            Moment moment;
            if (combat.ballSet().count() > 0) {
                moment.x = combat.ballSet().ballPos(0).x;
                moment.y = combat.ballSet().ballPos(0).y;
            }
            moment.frameTime = combat.frameTime();
            moment.ballsLeft = combat.ballsLeft();
            moments.push_back(moment);
        }
        return moments;
    }
};

TEST_F(PauseTest, ALongPauseCostsTheMatchNoTimeAndPlayGoesOnAsIfThereWasNone) {
    startMatch();
    const std::vector<Moment> before = record(400);
    pressP();
    ASSERT_TRUE(app().isPaused());
    const std::uint32_t stopped = app().clock().now();
    // Ten minutes away, the window moved and repainted meanwhile.
    for (int minute = 0; minute < 10; ++minute) {
        platform::testing::advanceTickCount(60000);
        pushed::windowEvent(minute % 2 ? SDL_WINDOWEVENT_MOVED : SDL_WINDOWEVENT_EXPOSED);
        drainMessages();
    }
    EXPECT_TRUE(app().isPaused());
    EXPECT_FALSE(app().wantsFrames());
    EXPECT_EQ(stopped, app().clock().now());
    pressP();
    ASSERT_FALSE(app().isPaused());
    const std::vector<Moment> after = record(600);

    restart();
    startMatch();
    EXPECT_EQ(before, record(400));
    EXPECT_EQ(after, record(600));
}

TEST_F(PauseTest, TheNoteIsShownOverThePictureAndEscapeStillLeaves) {
    startMatch();
    frames(200);
    std::uint8_t r = 0, g = 0, b = 0;
    ASSERT_TRUE(app().display()->readBackBufferPixel(200, 200, r, g, b));
    pushed::tap(SDLK_PAUSE, SDL_SCANCODE_PAUSE);
    drainMessages();
    ASSERT_TRUE(app().isPaused());
    // Coming back to the front does not end the players' pause.
    pushed::windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushed::windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    drainMessages();
    EXPECT_TRUE(app().isPaused());
    EXPECT_TRUE(app().clock().isPaused());
    platform::ScreenOverlay& overlay = app().display()->overlay();
    ASSERT_FALSE(overlay.note().empty());
    EXPECT_EQ("Paused", overlay.note()[0]);
    // Nothing of it went into the match's own picture.
    std::uint8_t r2 = 0, g2 = 0, b2 = 0;
    ASSERT_TRUE(app().display()->readBackBufferPixel(200, 200, r2, g2, b2));
    EXPECT_EQ(r, r2);
    EXPECT_EQ(g, g2);
    EXPECT_EQ(b, b2);

    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    ASSERT_NE(nullptr, app().menu());
    EXPECT_FALSE(app().isPaused());
    EXPECT_TRUE(overlay.note().empty());
    EXPECT_FALSE(app().clock().isPaused());
    // P means nothing in the menu.
    pressP();
    EXPECT_FALSE(app().isPaused());
}

}  // namespace
