#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "ArenaLayout.h"
#include "physics/Ball.h"
#include "physics/MatchRandom.h"

namespace {

const Rect kBallSprite{51, 43, 65, 57};

class BallTest : public ::testing::Test {
protected:
    // A seed whose first two draws leave these residues, in this order.
    static unsigned seedFor(int offset, int side) {
        for (unsigned seed = 1; seed < 1000000; ++seed) {
            MatchRandom draws;
            draws.seed(seed);
            const int o = draws.draw() % 64;
            const int s = draws.draw() % 4;
            if (o == offset && s == side) return seed;
        }
        ADD_FAILURE() << "no seed gives " << offset << ", " << side;
        return 1;
    }

    ArenaLayout arena;
};

TEST_F(BallTest, ServedFromTheMiddleOfTheArenaWithoutItsOffset) {
    Ball shipped(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    EXPECT_EQ(200.0, shipped.getPos().x);
    EXPECT_EQ(200.0, shipped.getPos().y);
    EXPECT_EQ(7.0, shipped.getRadius());
    EXPECT_EQ(0.3, shipped.getSpeed());
    EXPECT_EQ(0.2, shipped.getRamp());
    EXPECT_EQ(-1, shipped.getLastPaddle());
    EXPECT_EQ(-1, shipped.getLastHit());

    Ball shifted(nullptr, kBallSprite, Rect{10, 10, 411, 411}, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    EXPECT_EQ(200.0, shifted.getPos().x);
    EXPECT_EQ(200.0, shifted.getPos().y);
}

TEST_F(BallTest, LaunchDirectionComesFromTwoDrawsInOrder) {
    arena.random.seed(seedFor(0, 0));
    Ball first(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    // -32 degrees: towards red, turned upwards.
    EXPECT_NEAR(-0.5585053606222222, first.getAngle(), 1e-15);
    EXPECT_GT(first.getVel().x, 0.0);
    EXPECT_LT(first.getVel().y, 0.0);

    arena.random.seed(seedFor(63, 3));
    Ball last(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    // 301 degrees.
    EXPECT_NEAR(5.253441048352778, last.getAngle(), 1e-15);
    EXPECT_NEAR(0.3, std::hypot(last.getVel().x, last.getVel().y), 1e-15);
}

TEST_F(BallTest, FrameWithoutTimeChangesNothing) {
    Ball ball(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    arena.dwFrameTime = 0;
    Vector2 pos{-1.0, -1.0};
    Vector2 next{-2.0, -2.0};
    ball.predict(pos, next);
    EXPECT_EQ(-1.0, pos.x);
    EXPECT_EQ(-2.0, next.y);
    EXPECT_EQ(1, ball.update(arena.paddles, arena.walls, 1000000));
    EXPECT_EQ(200.0, ball.getPos().x);
    EXPECT_EQ(0.2, ball.getRamp());
    EXPECT_EQ(0.3, ball.getSpeed());
}

TEST_F(BallTest, PredictionUsesTheFullVelocity) {
    Ball ball(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    ball.place(Vector2{200.0, 200.0}, 0.0);
    arena.dwFrameTime = 10;
    Vector2 pos;
    Vector2 next;
    ball.predict(pos, next);
    EXPECT_EQ(200.0, pos.x);
    EXPECT_DOUBLE_EQ(203.0, next.x);
    // ...while the free move is slowed by the start-up ramp, now 0.21.
    ball.update(arena.paddles, arena.walls, 0);
    EXPECT_DOUBLE_EQ(200.0 + 3.0 * 0.21, ball.getPos().x);
}

TEST_F(BallTest, FirstSpeedUpComesMoreThanOneAndAHalfSecondsAfterTheServe) {
    Ball ball(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 5000);
    arena.dwFrameTime = 1;
    const Vector2 velocity = ball.getVel();
    ball.update(arena.paddles, arena.walls, 6500);
    EXPECT_EQ(0.3, ball.getSpeed());
    ball.update(arena.paddles, arena.walls, 6501);
    EXPECT_DOUBLE_EQ(0.305, ball.getSpeed());
    // The ball keeps its velocity until it next bounces.
    EXPECT_EQ(velocity.x, ball.getVel().x);
    EXPECT_EQ(velocity.y, ball.getVel().y);
}

TEST_F(BallTest, SpeedAndRampStopAtTheirCaps) {
    Ball ball(nullptr, kBallSprite, arena.rcBack, arena.scoreLabels, arena.dwFrameTime, arena.random, 0);
    arena.dwFrameTime = 1;
    std::uint32_t now = 0;
    for (int frame = 0; frame < 100; ++frame) {
        now += 1501;
        ASSERT_EQ(1, ball.update(arena.paddles, arena.walls, now));
    }
    EXPECT_EQ(0.5000000000000001, ball.getSpeed());
    EXPECT_EQ(1.0000000000000007, ball.getRamp());
}

}  // namespace
