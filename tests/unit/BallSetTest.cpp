#include <gtest/gtest.h>

#include "ArenaLayout.h"
#include "physics/Ball.h"

namespace {

class BallSetTest : public ::testing::Test {
protected:
    ArenaLayout arena;
};

TEST_F(BallSetTest, ServesBallsOfTheLayoutsSizeInOrder) {
    EXPECT_EQ(0, arena.balls.count());
    arena.balls.addBall(arena.dwFrameTime);
    arena.balls.addBall(arena.dwFrameTime);
    ASSERT_EQ(2, arena.balls.count());
    EXPECT_EQ(7.0, arena.balls.ballRadius(1));
    EXPECT_EQ(200.0, arena.balls.ballPos(1).x);
    EXPECT_EQ(-1, arena.balls.ballLastPaddle(0));
}

TEST_F(BallSetTest, BallsStayPutWhileOthersComeAndGo) {
    for (int i = 0; i < 3; ++i) arena.balls.addBall(arena.dwFrameTime);
    Ball* second = arena.balls.ball(1);
    Ball* third = arena.balls.ball(2);
    for (int i = 0; i < 100; ++i) arena.balls.addBall(arena.dwFrameTime);
    EXPECT_EQ(second, arena.balls.ball(1));
    arena.balls.removeBall(0);
    EXPECT_EQ(second, arena.balls.ball(0));
    EXPECT_EQ(third, arena.balls.ball(1));
    EXPECT_EQ(102, arena.balls.count());
}

TEST_F(BallSetTest, RemovingTheFirstOfThreeStillUpdatesTheOtherTwo) {
    for (int i = 0; i < 3; ++i) arena.balls.addBall(arena.dwFrameTime);
    arena.balls.ball(0)->place(Vector2{-5.0, 200.0}, kPi);
    EXPECT_EQ(1, arena.balls.updateAll());
    ASSERT_EQ(2, arena.balls.count());
    EXPECT_DOUBLE_EQ(0.21, arena.balls.ball(0)->getRamp());
    EXPECT_DOUBLE_EQ(0.21, arena.balls.ball(1)->getRamp());
    EXPECT_EQ(-1, arena.score(kGreen));

    arena.balls.ball(0)->place(Vector2{200.0, 405.0}, 0.0);
    arena.balls.ball(1)->place(Vector2{200.0, -5.0}, 0.0);
    EXPECT_EQ(0, arena.balls.updateAll());
    EXPECT_EQ(0, arena.balls.count());
    EXPECT_EQ(-1, arena.score(kYellow));
    EXPECT_EQ(-1, arena.score(kBlue));
}

TEST_F(BallSetTest, ResetAllRelaunchesEveryBall) {
    arena.balls.addBall(arena.dwFrameTime);
    arena.balls.addBall(arena.dwFrameTime);
    arena.balls.ball(1)->place(Vector2{100.0, 120.0}, 1.0);
    arena.balls.updateAll();
    arena.balls.resetAll();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(200.0, arena.balls.ballPos(i).y);
        EXPECT_EQ(0.2, arena.balls.ball(i)->getRamp());
    }
}

TEST_F(BallSetTest, ServedBallSpeedsUpOneAndAHalfSecondsLater) {
    arena.dwNow = 70000;
    arena.balls.addBall(arena.dwFrameTime);
    arena.dwNow = 71500;
    arena.balls.updateAll();
    EXPECT_EQ(0.3, arena.balls.ball(0)->getSpeed());
    arena.dwNow = 71501;
    arena.balls.updateAll();
    EXPECT_DOUBLE_EQ(0.305, arena.balls.ball(0)->getSpeed());
}

TEST_F(BallSetTest, OutOfRangeAndUnloadedAreHarmless) {
    arena.balls.addBall(arena.dwFrameTime);
    Vector2 pos{-1.0, -1.0};
    Vector2 next{-1.0, -1.0};
    arena.balls.predictBall(-1, pos, next);
    EXPECT_EQ(-1.0, pos.x);
    EXPECT_EQ(nullptr, arena.balls.ball(1));
    EXPECT_EQ(-1, arena.balls.ballLastPaddle(5));
    arena.balls.removeBall(1);
    EXPECT_EQ(1, arena.balls.count());

    BallSet unloaded;
    std::uint32_t frameTime = 16;
    unloaded.addBall(frameTime);
    unloaded.drawAll();
    EXPECT_EQ(0, unloaded.count());
    EXPECT_EQ(0, unloaded.updateAll());
}

}  // namespace
