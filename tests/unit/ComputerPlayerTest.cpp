#include <gtest/gtest.h>

#include <cstdint>

#include "ArenaLayout.h"
#include "physics/Ball.h"
#include "physics/Vector2.h"

namespace {

constexpr double kDown = kPi / 2;
constexpr double kUp = -kPi / 2;
constexpr double kLeft = kPi;

// Yellow (bottom, horizontal) and green (left, vertical) both take side 0.
class ComputerPlayerTest : public ::testing::Test {
protected:
    Paddle& yellow() { return arena.paddles[kYellow]; }
    Paddle& green() { return arena.paddles[kGreen]; }

    void serve(double x, double y, double angle) {
        arena.balls.addBall(arena.dwFrameTime);
        arena.balls.ball(arena.balls.count() - 1)->place(Vector2{x, y}, angle);
    }

    // One played frame as the match runs it: steer, then the timers.
    void frame(Paddle& paddle, std::uint32_t ms, int side = 0) {
        arena.dwNow += ms;
        arena.dwFrameTime = ms;
        paddle.steer(arena.balls, side);
        paddle.tick();
    }

    // Starts tracking and lets the reaction time pass without a move; the
    // next frame is the first that moves.
    void react(Paddle& paddle, int side = 0) {
        frame(paddle, 10, side);
        frame(paddle, 101, side);
    }

    ArenaLayout arena;
};

TEST_F(ComputerPlayerTest, ChasesTheNearerBallComingItsWayAndTheFirstOnATie) {
    // Close but going away: ignored in favour of the far one coming down.
    serve(100.0, 360.0, kUp);
    serve(300.0, 100.0, kDown);
    react(yellow());
    frame(yellow(), 10);
    EXPECT_GT(yellow().getX(), 167.5);

    // Two coming down, the nearer on the left.
    arena.balls.ball(0)->place(Vector2{100.0, 300.0}, kDown);
    arena.balls.ball(1)->place(Vector2{300.0, 200.0}, kDown);
    yellow().reset();
    react(yellow());
    frame(yellow(), 10);
    EXPECT_LT(yellow().getX(), 167.5);

    // Equally near: the first in the set wins, whichever side it is on.
    for (double firstX : {300.0, 100.0}) {
        arena.balls.ball(0)->place(Vector2{firstX, 300.0}, kDown);
        arena.balls.ball(1)->place(Vector2{400.0 - firstX, 300.0}, kDown);
        yellow().reset();
        react(yellow());
        frame(yellow(), 10);
        if (firstX > 200.0) {
            EXPECT_GT(yellow().getX(), 167.5);
        } else {
            EXPECT_LT(yellow().getX(), 167.5);
        }
    }
}

TEST_F(ComputerPlayerTest, CrossingDecidesWhetherABallCountsItsPlaceWhereToGo) {
    // Yellow's strip runs from 79 to 321; its line is y = 394, 94 pixels
    // below these balls, so at 45 degrees each crosses it 94 pixels further
    // on. Direction: where the paddle goes, 0 when the ball is left alone.
    struct Case {
        double x;
        double angle;
        int direction;
    } cases[] = {
        {245.0, kPi / 4, 1},       // crosses at 339
        {250.0, kPi / 4, 0},       // crosses at 344
        {155.0, 3 * kPi / 4, -1},  // crosses at 61
        {150.0, 3 * kPi / 4, 0},   // crosses at 56
        {230.0, 3 * kPi / 4, 1},   // crosses at 136, left of the paddle
    };
    serve(0.0, 0.0, kDown);
    for (const Case& c : cases) {
        arena.balls.ball(0)->place(Vector2{c.x, 300.0}, c.angle);
        yellow().reset();
        react(yellow());
        frame(yellow(), 10);
        // A freshly reset paddle left alone waits where it is.
        const double moved = yellow().getX() - 167.5;
        EXPECT_EQ(c.direction, (moved > 0) - (moved < 0)) << "ball at x = " << c.x;
    }
}

TEST_F(ComputerPlayerTest, ReactsAfter100MsAndGoesBackToTheMiddleAfter300Ms) {
    serve(250.0, 300.0, kDown);
    frame(yellow(), 10);   // the ball is seen
    frame(yellow(), 100);  // exactly 100 ms: still reacting
    EXPECT_EQ(167.5, yellow().getX());
    frame(yellow(), 1);  // more than 100: ready from now on
    EXPECT_EQ(167.5, yellow().getX());
    frame(yellow(), 10);
    EXPECT_GT(yellow().getX(), 167.5);
    for (int i = 0; i < 40; ++i) frame(yellow(), 10);
    const double chased = yellow().getX();
    EXPECT_NEAR(250.0, chased + 32.5, 5.0);

    // The ball goes away: it stays put for 300 ms.
    arena.balls.ball(0)->place(Vector2{250.0, 300.0}, kUp);
    frame(yellow(), 10);
    frame(yellow(), 300);
    EXPECT_EQ(chased, yellow().getX());
    frame(yellow(), 1);
    EXPECT_EQ(chased, yellow().getX());
    for (int i = 0; i < 100; ++i) frame(yellow(), 7);
    // Not 167.4 or 167.6: the last step lands on the middle itself.
    EXPECT_EQ(167.5, yellow().getX());
}

TEST_F(ComputerPlayerTest, DeadZoneFineApproachAndFullSpeedWithEachBonus) {
    // Distance of the ball from the paddle's centre (200), the speed the
    // player picks and how far a 10 ms frame then takes the paddle.
    struct Case {
        double factor;
        double offset;
        double speed;
        double moved;
    } cases[] = {
        {1.0, 4.0, 0.3, 0.0},  {1.0, 6.0, 0.1, 1.0},  {1.0, 30.0, 0.3, 3.0},
        {2.0, 4.0, 0.3, 0.0},  {2.0, 6.0, 0.05, 1.0}, {2.0, 30.0, 0.3, 6.0},
        {0.5, 4.0, 0.3, 0.0},  {0.5, 6.0, 0.1, 0.5},  {0.5, 30.0, 0.3, 1.5},
        {1.0, -6.0, 0.1, -1.0}, {1.0, -30.0, 0.3, -3.0},
    };
    serve(0.0, 0.0, kDown);
    for (const Case& c : cases) {
        arena.balls.ball(0)->place(Vector2{200.0 + c.offset, 300.0}, kDown);
        yellow().reset();
        yellow().setSpeedFactor(c.factor);
        react(yellow());
        frame(yellow(), 10);
        EXPECT_NEAR(167.5 + c.moved, yellow().getX(), 1e-9) << "factor " << c.factor << ", offset " << c.offset;
        if (c.moved != 0.0) {
            EXPECT_DOUBLE_EQ(c.speed, yellow().getSpeed());
        }
    }
}

TEST_F(ComputerPlayerTest, SidesShareAValueButEachPaddleLooksAlongItsOwnAxis) {
    // Coming left, below green's middle: green goes down after it, while
    // yellow, on the same side value, sees nothing coming down.
    serve(100.0, 250.0, kLeft);
    react(green());
    react(yellow());
    frame(green(), 10);
    frame(yellow(), 10);
    EXPECT_EQ(6.0, green().getX());
    EXPECT_GT(green().getY(), 167.5);
    EXPECT_EQ(167.5, yellow().getX());

    // Red, on side 1, takes the same ball only once it heads right.
    Paddle& red = arena.paddles[kRed];
    react(red, 1);
    frame(red, 10, 1);
    EXPECT_EQ(167.5, red.getY());
    arena.balls.ball(0)->place(Vector2{300.0, 250.0}, 0.0);
    react(red, 1);
    frame(red, 10, 1);
    EXPECT_GT(red.getY(), 167.5);
}

}  // namespace
