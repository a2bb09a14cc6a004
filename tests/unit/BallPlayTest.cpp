#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "ArenaLayout.h"
#include "physics/Ball.h"

// Whole rallies: balls served from the middle against four paddles that
// chase them, with frame times from 1 to 40 ms. Every goal must pay the
// last paddle its points and cost the side's guard one, and nothing else;
// a ball still in the set is always inside the arena and finite.
namespace {

// The test's own player: slide towards the nearest ball, no reaction time.
void chase(Paddle& paddle, const BallSet& balls) {
    const bool vertical = paddle.getType() != 0;
    double nearest = 1e9;
    double target = 200.0;
    for (std::int32_t i = 0; i < balls.count(); ++i) {
        const Vector2& p = balls.ballPos(i);
        const double distance = vertical ? std::fabs(p.x - paddle.getX()) : std::fabs(p.y - paddle.getY());
        if (distance < nearest) {
            nearest = distance;
            target = vertical ? p.y : p.x;
        }
    }
    const double centre = vertical ? paddle.getY() + paddle.getHeight() / 2 : paddle.getX() + paddle.getWidth() / 2;
    if (target > centre + 3) {
        vertical ? paddle.moveDown() : paddle.moveRight();
    } else if (target < centre - 3) {
        vertical ? paddle.moveUp() : paddle.moveLeft();
    }
}

// The colour guarding the side a centre has crossed; in a corner, the
// side tested first (left, right, top, bottom).
int sideCrossed(const Vector2& p) {
    if (p.x < 0) return kGreen;
    if (p.x > 400) return kRed;
    if (p.y < 0) return kBlue;
    return kYellow;
}

bool finite(const Vector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

struct Tally {
    int goals = 0;
    int paidGoals = 0;
    int bounces = 0;
};

void playSeed(unsigned seed, Tally& tally) {
    ArenaLayout arena;
    ASSERT_TRUE(arena.opened);
    arena.random.seed(seed);
    std::mt19937 frames(seed);
    std::uniform_int_distribution<std::uint32_t> frameTime(1, 40);
    arena.paddles[seed % 4].setPoints(2);
    arena.balls.addBall(arena.dwFrameTime);

    for (int frame = 0; frame < 4000; ++frame) {
        arena.dwFrameTime = frameTime(frames);
        arena.dwNow += arena.dwFrameTime;
        for (Paddle& paddle : arena.paddles) chase(paddle, arena.balls);
        for (Paddle& paddle : arena.paddles) paddle.tick();
        for (std::int32_t i = 0; i < arena.balls.count(); ++i) {
            Vector2 pos;
            Vector2 next;
            arena.balls.predictBall(i, pos, next);
        }
        // Ball by ball, as the set itself does it, so that each goal is
        // checked on its own.
        for (std::int32_t i = 0; i < arena.balls.count();) {
            Ball& ball = *arena.balls.ball(i);
            const std::int8_t hitBefore = ball.getLastHit();
            std::int32_t expected[4];
            for (int c = 0; c < 4; ++c) expected[c] = arena.score(c);
            const int inPlay = ball.update(arena.paddles, arena.walls, arena.dwNow);
            ASSERT_TRUE(finite(ball.getPos()) && finite(ball.getVel())) << "seed " << seed << " frame " << frame;
            if (ball.getLastHit() != hitBefore) ++tally.bounces;
            if (inPlay) {
                const Vector2& p = ball.getPos();
                ASSERT_TRUE(p.x >= 0 && p.x <= 400 && p.y >= 0 && p.y <= 400)
                    << "seed " << seed << " frame " << frame << " at " << p.x << ", " << p.y;
                ++i;
                continue;
            }
            const int last = ball.getLastPaddle();
            if (last >= 0) {
                expected[last] += arena.paddles[last].getPoints();
                ++tally.paidGoals;
            }
            expected[sideCrossed(ball.getPos())] -= 1;
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(expected[c], arena.score(c)) << "seed " << seed << " frame " << frame << " colour " << c;
            }
            arena.balls.removeBall(i);
            ++tally.goals;
        }
        // A new serve when the arena is empty, and now and then an extra ball.
        if (arena.balls.count() == 0 || (frame % 500 == 499 && arena.balls.count() < 4)) {
            arena.balls.addBall(arena.dwFrameTime);
        }
    }
}

TEST(BallPlayTest, GoalsPayExactlyTheLastPaddleAndChargeTheSide) {
    Tally tally;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        playSeed(seed, tally);
        if (HasFatalFailure()) return;
    }
    // The rallies were real: paddles bounced balls and scored with them.
    EXPECT_GT(tally.bounces, 5000);
    EXPECT_GT(tally.paidGoals, 200);
    EXPECT_GT(tally.goals, tally.paidGoals);
}

}  // namespace
