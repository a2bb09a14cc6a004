#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/GameClock.h"
#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "physics/Ball.h"
#include "physics/MatchRandom.h"
#include "physics/Vector2.h"
#include "platform/Ticks.h"
#include "sound/SoundDevice.h"
#include "support/DisplayHarness.h"
#include "support/PlatformFaults.h"

// A match on the harness's display, without sound unless asked, with a set
// seed. Times are written as clock readings from kLoadTime, when the match
// is loaded; each frame is given the time since the last one.
class CombatScene : public ::testing::Test {
protected:
    static constexpr std::uint32_t kLoadTime = 5000;
    static constexpr double kDown = kPi / 2;
    static constexpr double kUp = -kPi / 2;
    static constexpr int kBlue = 3;

    void SetUp() override {
        ASSERT_TRUE(harness.ready());
        platform::testing::setTickCount(kLoadTime);
    }

    void TearDown() override {
        combat.reset();
        if (sound) sound->release();
    }

    void makeCombat(unsigned int seed = 1) {
        combat.reset();
        platform::testing::setTickCount(kLoadTime);
        random.seed(seed);
        combat = std::make_unique<Combat>(harness.display, sound.get(), random, harness.misc, setup, harness.logger);
        ASSERT_EQ(1, combat->load());
        now = kLoadTime;
    }

    // Paddles that nobody moves: people who press no keys.
    void holdPaddlesStill() {
        for (std::uint8_t& human : setup.bHuman) human = 1;
    }

    int frameAt(std::uint32_t t) {
        EXPECT_LE(now, t) << "frames go forward in time";
        const std::uint32_t ms = t - now;
        now = t;
        return combat->update(keys, ms);
    }

    // A frame in which the match's time line goes on while the balls stay
    // where they are, as they were: they are stopped for the frame and put
    // back after it. With people's paddles and no keys down, nothing on
    // the field moves, scores or takes a bonus.
    int stillFrameAt(std::uint32_t t) {
        std::vector<Ball::State> kept;
        for (std::int32_t i = 0; i < combat->ballSet().count(); ++i) {
            kept.push_back(ball(i).state());
            Ball::State stopped = kept.back();
            stopped.vecVel = Vector2{};
            ball(i).setState(stopped);
        }
        const int going = frameAt(t);
        for (std::size_t i = 0; i < kept.size() && static_cast<std::int32_t>(i) < combat->ballSet().count(); ++i) {
            ball(static_cast<int>(i)).setState(kept[i]);
        }
        return going;
    }

    // A frame of `ms` ending at t, whatever came before.
    int frameOf(std::uint32_t ms, std::uint32_t t) {
        stillFrameAt(t - ms);
        return frameAt(t);
    }

    Ball& ball(int i) { return *combat->ballSet().ball(i); }

    // The served ball, touching the middle of the still blue paddle on its
    // way up, is sent back down the middle with blue as its last paddle.
    void bounceOffBlue(std::uint32_t t) {
        ball(0).place(Vector2{200.0, 25.5}, kUp);
        frameOf(16, t);
        ASSERT_EQ(kBlue, ball(0).getLastPaddle());
    }

    // Blue's ball, just above the bonus and heading down, enters its box.
    void takeWithBlue(std::uint32_t t) {
        ASSERT_NE(-1, combat->bonusOnField());
        ball(0).place(Vector2{200.0, 180.0}, kDown);
        frameOf(10, t);
        ASSERT_EQ(-1, combat->bonusOnField());
    }

    // A seed whose match shows this bonus kind first: the served ball takes
    // two draws (direction, side), the appearance two (chance, kind).
    static unsigned int seedShowing(int kind) {
        for (unsigned int seed = 1;; ++seed) {
            MatchRandom draws;
            draws.seed(seed);
            draws.draw();
            draws.draw();
            draws.draw();
            if (draws.draw() % 4 == kind) return seed;
        }
    }

    PlatformFaults faults;
    DisplayHarness harness;
    GameClock clock;
    MatchRandom random;
    // The clock reading of the last frame.
    std::uint32_t now = kLoadTime;
    PlayerSetup setup;
    std::unique_ptr<SoundDevice> sound;
    std::unique_ptr<Combat> combat;
    std::uint8_t keys[256] = {};
};
