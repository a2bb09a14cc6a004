#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ArenaLayout.h"
#include "physics/Ball.h"

namespace {

// Paddles stand in the middle of their strips (167.5 to 232.5 along them).
// Green's face is x = 19, yellow's y = 381; the ball's radius is 7.
class CollisionTest : public ::testing::Test {
protected:
    Ball& serve(double x, double y, double degrees) {
        ball = std::make_unique<Ball>(nullptr, Rect{51, 43, 65, 57}, arena.rcBack, arena.scoreLabels,
                                      arena.dwFrameTime, arena.random, arena.dwNow);
        ball->place(Vector2{x, y}, degrees * kPi / 180);
        return *ball;
    }

    // One frame as the match plays it: predict, then update.
    int frame(std::uint32_t ms) {
        arena.dwFrameTime = ms;
        arena.dwNow += ms;
        Vector2 pos;
        Vector2 next;
        ball->predict(pos, next);
        return ball->update(arena.paddles, arena.walls, arena.dwNow);
    }

    ArenaLayout arena;
    std::unique_ptr<Ball> ball;
};

TEST_F(CollisionTest, MiddleOfAPaddleIsNudgedOffStraightBack) {
    Ball& b = serve(26.0, 200.0, 180.0);
    EXPECT_EQ(1, frame(16));
    EXPECT_EQ(0.01, b.getAngle());
    EXPECT_EQ(0, b.getLastPaddle());
    EXPECT_EQ(3, b.getLastHit());
    EXPECT_GT(b.getVel().x, 0.0);
    EXPECT_DOUBLE_EQ(b.getSpeed(), std::hypot(b.getVel().x, b.getVel().y));

    Ball& c = serve(200.0, 374.0, 90.0);
    frame(16);
    // -pi/2 of the game's ten-digit pi, nudged.
    EXPECT_DOUBLE_EQ(-1.57079632675 + 0.01, c.getAngle());
    EXPECT_EQ(1, c.getLastPaddle());
    EXPECT_EQ(0, c.getLastHit());
}

TEST_F(CollisionTest, TouchingBeyondAnEndTurnsFurther) {
    // Seven pixels above green's top end: t = -7/65, -79 degrees.
    Ball& b = serve(26.0, 160.5, 180.0);
    frame(16);
    EXPECT_NEAR(-1.3788101090361111, b.getAngle(), 1e-12);
    EXPECT_EQ(0, b.getLastPaddle());

    Ball& c = serve(26.0, 160.4, 180.0);
    frame(16);
    EXPECT_EQ(-1, c.getLastPaddle());
    EXPECT_NEAR(kPi, c.getAngle(), 1e-12);
}

TEST_F(CollisionTest, SamePaddleDoesNotBounceTheBallTwiceInARow) {
    Ball& b = serve(26.0, 200.0, 180.0);
    frame(16);
    b.place(Vector2{26.0, 190.0}, kPi);
    frame(16);
    EXPECT_NEAR(kPi, b.getAngle(), 1e-12);
    EXPECT_LT(b.getPos().x, 26.0);

    // Once a wall has bounced it in between, green bounces it again.
    b.place(Vector2{52.0, 347.0}, 135 * kPi / 180);
    frame(16);
    EXPECT_EQ(4, b.getLastHit());
    b.place(Vector2{26.0, 200.0}, kPi);
    frame(16);
    EXPECT_EQ(0.01, b.getAngle());
}

TEST_F(CollisionTest, PaddleIsTestedBeforeTheCornerWall) {
    // Green at the bottom of its strip; (26, 322) touches both its face and
    // the bottom-left wall's diagonal.
    arena.dwFrameTime = 1000;
    arena.paddles[kGreen].moveDown();
    Ball& b = serve(26.0, 322.0, 180.0);
    frame(16);
    EXPECT_EQ(3, b.getLastHit());
    EXPECT_EQ(0, b.getLastPaddle());
}

TEST_F(CollisionTest, CrossingAPaddleStopsOnItsFaceThenBounces) {
    Ball& b = serve(60.0, 200.0, 180.0);
    frame(200);
    EXPECT_DOUBLE_EQ(26.0, b.getPos().x);
    // Heading the ten-digit pi drifts it by a few billionths in y.
    EXPECT_NEAR(200.0, b.getPos().y, 1e-6);
    EXPECT_EQ(-1, b.getLastPaddle());
    frame(200);
    EXPECT_NEAR(0.01, b.getAngle(), 1e-9);
    EXPECT_EQ(0, b.getLastPaddle());

    // Its contact point outside the paddle's span plus the radius: flies on.
    Ball& c = serve(60.0, 245.0, 180.0);
    frame(200);
    EXPECT_DOUBLE_EQ(60.0 - 0.3 * 200 * 0.21, c.getPos().x);
}

TEST_F(CollisionTest, CornerWallMirrorsInItsDiagonal) {
    Ball& b = serve(52.0, 347.0, 135.0);
    frame(16);
    // 315 degrees: up and to the right.
    EXPECT_NEAR(5.497787143625, b.getAngle(), 1e-12);
    EXPECT_EQ(4, b.getLastHit());
    EXPECT_EQ(-1, b.getLastPaddle());
    EXPECT_GT(b.getVel().x, 0.0);
    EXPECT_LT(b.getVel().y, 0.0);
}

TEST_F(CollisionTest, BlockEndBeyondAPaddleFaceActsAsAFlatFace) {
    // Past green's face, on the wall's line beyond its end: moving down it
    // is turned straight up.
    Ball& b = serve(15.0, 312.0, 90.0);
    frame(16);
    EXPECT_NEAR(4.71238898025, b.getAngle(), 1e-12);
    EXPECT_EQ(4, b.getLastHit());
}

TEST_F(CollisionTest, QuarterIsChosenAroundOneNinetyNinePointFive) {
    // Heading right along y = 370 the bottom-right wall's line lies at
    // x = 332 - 7: that wall moves the ball onto it only when it is the wall
    // tested, which needs x above 199.5.
    Ball& beyond = serve(199.6, 370.0, 0.0);
    frame(1000);
    EXPECT_DOUBLE_EQ(325.0, beyond.getPos().x);

    Ball& onLine = serve(199.5, 370.0, 0.0);
    frame(1000);
    EXPECT_DOUBLE_EQ(199.5 + 0.3 * 1000 * 0.21, onLine.getPos().x);
}

TEST_F(CollisionTest, CentreOnTheEdgeIsInJustBeyondItHasLeft) {
    // The first ball measures one frame's step to the left from x = 0.
    Ball& probe = serve(0.0, 200.0, 180.0);
    EXPECT_EQ(0, frame(1));
    const double step = probe.getPos().x;
    ASSERT_LT(step, 0.0);
    EXPECT_EQ(-1, arena.score(kGreen));

    Ball& edge = serve(-step, 200.0, 180.0);
    EXPECT_EQ(1, frame(1));
    EXPECT_EQ(0.0, edge.getPos().x);

    serve(-step - 0.001, 200.0, 180.0);
    EXPECT_EQ(0, frame(1));
    EXPECT_EQ(-2, arena.score(kGreen));
    EXPECT_EQ(0, arena.score(kYellow));
}

TEST_F(CollisionTest, CornerGoalIsChargedLeftRightTopBottom) {
    serve(-5.0, 405.0, 90.0);
    EXPECT_EQ(0, frame(16));
    EXPECT_EQ(-1, arena.score(kGreen));
    EXPECT_EQ(0, arena.score(kYellow));

    serve(405.0, -5.0, 0.0);
    EXPECT_EQ(0, frame(16));
    EXPECT_EQ(-1, arena.score(kRed));
    EXPECT_EQ(0, arena.score(kBlue));
}

TEST_F(CollisionTest, GoalPaysTheLastPaddleEvenThroughItsOwnSide) {
    arena.paddles[kGreen].setPoints(2);
    Ball& b = serve(26.0, 200.0, 180.0);
    frame(16);
    b.place(Vector2{401.0, 200.0}, 0.0);
    EXPECT_EQ(0, frame(16));
    EXPECT_EQ(2, arena.score(kGreen));
    EXPECT_EQ(-1, arena.score(kRed));

    Ball& c = serve(26.0, 200.0, 180.0);
    frame(16);
    c.place(Vector2{-1.0, 200.0}, kPi);
    EXPECT_EQ(0, frame(16));
    EXPECT_EQ(2 + 2 - 1, arena.score(kGreen));
}

}  // namespace
