#include <gtest/gtest.h>

#include <cstdint>

#include "ArenaLayout.h"
#include "input/KeyCodes.h"

namespace {

class PaddleTest : public ::testing::Test {
protected:
    Paddle& paddle(int colour) { return arena.paddles[colour]; }
    void press(std::uint8_t key) { keyState[key] = 0x80; }

    ArenaLayout arena;
    std::uint8_t keyState[256] = {};
};

TEST_F(PaddleTest, StartsInTheMiddleOfItsStrip) {
    EXPECT_EQ(6.0, paddle(kGreen).getX());
    EXPECT_EQ(167.5, paddle(kGreen).getY());
    EXPECT_EQ(167.5, paddle(kYellow).getX());
    EXPECT_EQ(381.0, paddle(kYellow).getY());
    EXPECT_EQ(381.0, paddle(kRed).getX());
    EXPECT_EQ(167.5, paddle(kRed).getY());
    EXPECT_EQ(167.5, paddle(kBlue).getX());
    EXPECT_EQ(6.0, paddle(kBlue).getY());
    EXPECT_EQ(1, paddle(kGreen).getPoints());
    EXPECT_EQ(13.0, paddle(kGreen).getWidth());
    EXPECT_EQ(65.0, paddle(kGreen).getHeight());
}

TEST_F(PaddleTest, StepScalesWithFrameTimeAndBonusFactor) {
    arena.dwFrameTime = 16;
    paddle(kGreen).setSpeedFactor(2.0);
    paddle(kGreen).moveDown();
    EXPECT_DOUBLE_EQ(167.5 + 9.6, paddle(kGreen).getY());
    paddle(kYellow).setSpeedFactor(0.5);
    paddle(kYellow).moveLeft();
    EXPECT_DOUBLE_EQ(167.5 - 2.4, paddle(kYellow).getX());

    arena.dwFrameTime = 0;
    for (Paddle& p : arena.paddles) {
        p.moveLeft();
        p.moveUp();
    }
    EXPECT_DOUBLE_EQ(167.5 + 9.6, paddle(kGreen).getY());
    EXPECT_EQ(167.5, paddle(kBlue).getX());
}

TEST_F(PaddleTest, BoundsAreTestedOnTheTruncatedPosition) {
    // 0.3 * 297 ms = 89.1: to 256.6, which truncates to the last position 256.
    arena.dwFrameTime = 297;
    paddle(kYellow).moveRight();
    EXPECT_NEAR(256.6, paddle(kYellow).getX(), 1e-9);
    arena.dwFrameTime = 300;
    paddle(kRed).moveDown();
    EXPECT_EQ(256.0, paddle(kRed).getY());
    // To 78.7, below the first position 79: pulled back onto it.
    arena.dwFrameTime = 296;
    paddle(kBlue).moveLeft();
    EXPECT_EQ(79.0, paddle(kBlue).getX());
}

TEST_F(PaddleTest, EachColourFollowsItsTwoKeys) {
    struct Keys {
        int colour;
        std::uint8_t decrease;
        std::uint8_t increase;
    };
    const Keys table[] = {{kGreen, keys::DIK_Q, keys::DIK_A},
                          {kYellow, keys::DIK_LEFT, keys::DIK_RIGHT},
                          {kRed, keys::DIK_PRIOR, keys::DIK_NEXT},
                          {kBlue, keys::DIK_C, keys::DIK_V}};
    arena.dwFrameTime = 10;
    for (const Keys& k : table) {
        Paddle& p = paddle(k.colour);
        auto along = [&p] { return p.getType() ? p.getY() : p.getX(); };
        std::uint8_t state[256] = {};
        state[k.decrease] = 0x7F;  // bit 7 clear: not down
        p.drive(state, k.colour);
        EXPECT_EQ(167.5, along()) << k.colour;
        state[k.decrease] = 0x80;
        p.drive(state, k.colour);
        EXPECT_DOUBLE_EQ(164.5, along()) << k.colour;
        state[k.decrease] = 0;
        state[k.increase] = 0x81;
        p.drive(state, k.colour);
        p.drive(state, k.colour);
        EXPECT_DOUBLE_EQ(170.5, along()) << k.colour;
    }
}

TEST_F(PaddleTest, BothKeysHeldAtEachEndOfTheStrip) {
    press(keys::DIK_Q);
    press(keys::DIK_A);
    press(keys::DIK_LEFT);
    press(keys::DIK_RIGHT);
    arena.dwFrameTime = 16;
    paddle(kGreen).drive(keyState, kGreen);
    EXPECT_DOUBLE_EQ(167.5, paddle(kGreen).getY());

    // At the top the first move is stopped, the second carries it off.
    arena.dwFrameTime = 1000;
    paddle(kGreen).moveUp();
    arena.dwFrameTime = 16;
    paddle(kGreen).drive(keyState, kGreen);
    EXPECT_DOUBLE_EQ(79.0 + 4.8, paddle(kGreen).getY());

    // At the right end the two moves cancel.
    arena.dwFrameTime = 1000;
    paddle(kYellow).moveRight();
    arena.dwFrameTime = 16;
    paddle(kYellow).drive(keyState, kYellow);
    EXPECT_DOUBLE_EQ(256.0, paddle(kYellow).getX());
}

TEST_F(PaddleTest, TimedBonusEndsAtTheFirstTickPastItsDuration) {
    const Bonus* fast = &arena.bonuses[Bonus::kFastPaddle];
    paddle(kRed).takeBonus(fast, 5000);
    paddle(kRed).setSpeedFactor(2.0);
    arena.dwNow = 15000;
    paddle(kRed).tick();
    EXPECT_EQ(fast, paddle(kRed).getBonus());
    EXPECT_EQ(2.0, paddle(kRed).getSpeedFactor());
    arena.dwNow = 15001;
    paddle(kRed).tick();
    EXPECT_EQ(nullptr, paddle(kRed).getBonus());
    EXPECT_EQ(1.0, paddle(kRed).getSpeedFactor());
}

TEST_F(PaddleTest, DoublePointsLastUntilResetOrAnotherBonus) {
    Paddle& blue = paddle(kBlue);
    blue.takeBonus(&arena.bonuses[Bonus::kDoublePoints], 0);
    blue.setPoints(2);
    arena.dwNow = 4000000000u;
    blue.tick();
    EXPECT_EQ(2, blue.getPoints());

    blue.takeBonus(&arena.bonuses[Bonus::kSlowPaddle], arena.dwNow);
    blue.setSpeedFactor(0.5);
    EXPECT_EQ(1, blue.getPoints());
    EXPECT_EQ(0.5, blue.getSpeedFactor());

    blue.setPoints(2);
    blue.reset();
    EXPECT_EQ(1, blue.getPoints());
    EXPECT_EQ(nullptr, blue.getBonus());
    EXPECT_EQ(167.5, blue.getX());
}

}  // namespace
