#include <cmath>
#include <string>
#include <vector>

#include "CombatScene.h"
#include "app/LocalScheduler.h"
#include "input/KeyCodes.h"

namespace {

using CombatTimelineTest = CombatScene;

TEST_F(CombatTimelineTest, WholeMatchCountsTenServesDownBlinksAndHandsOverTheScores) {
    for (std::int32_t& score : setup.iScore) score = 99;
    makeCombat(7);
    combat->setFrameDrawing(false);

    std::vector<std::string> countdown{combat->centre().getText()};
    std::int32_t serves = combat->servesStarted();
    std::uint32_t t = kLoadTime;
    std::uint32_t endedAt = 0;
    std::vector<std::uint32_t> blinks;
    bool scoresShown = true;
    int going = 1;
    for (int frames = 0; going && frames < 200000; ++frames) {
        // After the end, frames of 20 ms land exactly on each limit.
        t += combat->isMatchOver() ? 20 : 16;
        going = frameAt(t);
        if (combat->servesStarted() != serves) {
            serves = combat->servesStarted();
            countdown.push_back(combat->centre().getText());
            EXPECT_TRUE(combat->centre().isVisible());
            EXPECT_FALSE(combat->isPlaying());
            EXPECT_EQ(1, combat->ballSet().count());
        }
        if (combat->isMatchOver() && endedAt == 0) {
            endedAt = t;
            for (int colour = 0; colour < 4; ++colour) {
                EXPECT_EQ(combat->scoreLabel(colour).getValue(), setup.iScore[colour]);
            }
        }
        if (combat->scoreLabel(0).isVisible() != scoresShown) {
            scoresShown = !scoresShown;
            blinks.push_back(t);
            for (int colour = 1; colour < 4; ++colour) {
                EXPECT_EQ(scoresShown, combat->scoreLabel(colour).isVisible());
            }
        }
    }
    ASSERT_EQ(0, going);
    EXPECT_EQ((std::vector<std::string>{"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}), countdown);
    EXPECT_EQ(10, combat->servesStarted());
    EXPECT_EQ(1, combat->ballsLeft());

    // Over at the first frame more than 4000 ms after the end.
    ASSERT_NE(0u, endedAt);
    EXPECT_EQ(endedAt + 4020, t);
    // The scores go off in the first frame after the end, then flip at the
    // first frame more than 500 ms after the last flip, up to 3660 ms.
    ASSERT_EQ(8u, blinks.size());
    EXPECT_EQ(endedAt + 20, blinks[0]);
    for (std::size_t i = 1; i < blinks.size(); ++i) EXPECT_EQ(520u, blinks[i] - blinks[i - 1]);
    EXPECT_TRUE(scoresShown);
    for (int colour = 0; colour < 4; ++colour) EXPECT_NE(99, setup.iScore[colour]);
}

TEST_F(CombatTimelineTest, PlayStartsAfterMoreThan1000MsAndStepsByTheFrameTime) {
    makeCombat();
    EXPECT_EQ(1, frameAt(kLoadTime + 1000));
    EXPECT_FALSE(combat->isPlaying());
    EXPECT_TRUE(combat->centre().isVisible());

    EXPECT_EQ(1, frameAt(kLoadTime + 1001));
    EXPECT_TRUE(combat->isPlaying());
    EXPECT_FALSE(combat->centre().isVisible());
    // The pause is not one long step: the first frame of play moves nothing.
    EXPECT_EQ(0u, combat->frameTime());
    EXPECT_EQ(200.0, ball(0).getPos().x);
    EXPECT_EQ(200.0, ball(0).getPos().y);

    frameAt(kLoadTime + 1017);
    EXPECT_EQ(16u, combat->frameTime());
}

// The game's own driver reads the clock once a frame and hands the match
// the difference; time spent minimised or in a modal loop is nobody's.
TEST_F(CombatTimelineTest, LocalFramesTakeTheClocksTimeAndDropWhatWasSpentAway) {
    makeCombat();
    LocalScheduler scheduler(*combat, clock);
    platform::testing::setTickCount(kLoadTime + 1001);
    EXPECT_EQ(Combat::FrameResult::kGoing, scheduler.runFrame(keys));
    EXPECT_TRUE(combat->isPlaying());
    platform::testing::setTickCount(kLoadTime + 1017);
    scheduler.runFrame(keys);
    EXPECT_EQ(16u, combat->frameTime());
    EXPECT_EQ(1017u, combat->now() - Combat::kStartTime);

    // Moved about for a minute: dropped, and the bonus that was due after
    // 2000 ms of play has not come yet.
    const Vector2 before = ball(0).getPos();
    platform::testing::setTickCount(kLoadTime + 61017);
    scheduler.dropElapsed();
    platform::testing::setTickCount(kLoadTime + 61033);
    scheduler.runFrame(keys);
    EXPECT_EQ(16u, scheduler.lastFrameTime());
    EXPECT_EQ(1033u, combat->now() - Combat::kStartTime);
    EXPECT_NEAR(before.x, ball(0).getPos().x, 16 * 0.3);
    EXPECT_NEAR(before.y, ball(0).getPos().y, 16 * 0.3);

    // Minimised: the clock stands still, and the restore drops the rest.
    clock.setPaused(true);
    platform::testing::setTickCount(kLoadTime + 90000);
    clock.setPaused(false);
    scheduler.dropElapsed();
    platform::testing::setTickCount(kLoadTime + 90020);
    scheduler.runFrame(keys);
    EXPECT_EQ(20u, combat->frameTime());
    EXPECT_EQ(1053u, combat->now() - Combat::kStartTime);

    keys[keys::DIK_ESCAPE] = 0x80;
    platform::testing::setTickCount(kLoadTime + 90036);
    EXPECT_EQ(Combat::FrameResult::kLeft, scheduler.runFrame(keys));
}

TEST_F(CombatTimelineTest, BonusesAppearAfter2000MsAfterEachPauseAndThreeTimesAServeAtMost) {
    holdPaddlesStill();
    makeCombat();
    stillFrameAt(kLoadTime + 1001);
    stillFrameAt(kLoadTime + 2000);
    EXPECT_EQ(-1, combat->bonusOnField());
    stillFrameAt(kLoadTime + 2001);
    EXPECT_NE(-1, combat->bonusOnField());
    EXPECT_EQ(1, combat->bonusesShown());
    bounceOffBlue(kLoadTime + 2100);

    std::uint32_t taken = kLoadTime + 2200;
    for (int shown = 2; shown <= 3; ++shown) {
        takeWithBlue(taken);
        EXPECT_TRUE(combat->inBonusPause());
        stillFrameAt(taken + 2000);
        EXPECT_EQ(-1, combat->bonusOnField());
        EXPECT_TRUE(combat->inBonusPause());
        stillFrameAt(taken + 2001);
        EXPECT_FALSE(combat->inBonusPause());
        EXPECT_NE(-1, combat->bonusOnField()) << "appearance " << shown;
        EXPECT_EQ(shown, combat->bonusesShown());
        taken += 2500;
    }
    takeWithBlue(taken);
    stillFrameAt(taken + 2001);
    stillFrameAt(taken + 30000);
    EXPECT_EQ(-1, combat->bonusOnField());
    EXPECT_EQ(3, combat->bonusesShown());
    EXPECT_EQ(3, combat->bonusesTaken());
}

TEST_F(CombatTimelineTest, OnlyABouncedBallTakesTheBonusAsItsCentrePasses182) {
    holdPaddlesStill();
    makeCombat();
    stillFrameAt(kLoadTime + 1001);
    stillFrameAt(kLoadTime + 2001);
    ASSERT_NE(-1, combat->bonusOnField());

    // Served and never bounced: straight through the box, and the bonus stays.
    ball(0).place(Vector2{200.0, 150.0}, kDown);
    std::uint32_t t = kLoadTime + 2001;
    for (int i = 0; i < 300 && ball(0).getPos().y < 230.0; ++i) frameAt(t += 16);
    EXPECT_GT(ball(0).getPos().y, 230.0);
    EXPECT_NE(-1, combat->bonusOnField());

    bounceOffBlue(t += 16);
    bool taken = false;
    for (int i = 0; i < 2000 && !taken; ++i) {
        const double from = ball(0).getPos().y;
        frameAt(++t);
        taken = combat->bonusOnField() == -1;
        if (taken) {
            EXPECT_LT(from, 182.0);
            EXPECT_GT(ball(0).getNext().y, 182.0);
            EXPECT_NEAR(200.0, ball(0).getPos().x, 3.0);
        } else {
            ASSERT_LE(ball(0).getNext().y, 182.0);
        }
    }
    EXPECT_TRUE(taken);
}

TEST_F(CombatTimelineTest, EachBonusActsOnThePaddleThatBouncedTheBallLast) {
    holdPaddlesStill();
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        makeCombat(seedShowing(kind));
        stillFrameAt(kLoadTime + 1001);
        stillFrameAt(kLoadTime + 2001);
        ASSERT_EQ(kind, combat->bonusOnField());
        bounceOffBlue(kLoadTime + 2100);
        const std::uint32_t taken = kLoadTime + 2200;
        takeWithBlue(taken);

        const Paddle& blue = combat->paddle(kBlue);
        for (int other = 0; other < 3; ++other) EXPECT_EQ(nullptr, combat->paddle(other).getBonus());
        switch (kind) {
            case Bonus::kExtraBall:
                EXPECT_EQ(2, combat->ballSet().count());
                // Served from the middle in the loop that took the bonus,
                // and predicted and moved in that same frame.
                EXPECT_EQ(-1, ball(1).getLastPaddle());
                EXPECT_NEAR(200.0, ball(1).getPos().x, 1.0);
                EXPECT_NEAR(200.0, ball(1).getPos().y, 1.0);
                EXPECT_NEAR(3.0, std::hypot(ball(1).getNext().x - 200.0, ball(1).getNext().y - 200.0), 0.1);
                EXPECT_EQ(nullptr, blue.getBonus());
                EXPECT_EQ(1.0, blue.getSpeedFactor());
                EXPECT_EQ(1, blue.getPoints());
                break;
            case Bonus::kFastPaddle:
            case Bonus::kSlowPaddle:
                EXPECT_EQ(&combat->bonus(kind), blue.getBonus());
                EXPECT_EQ(kind == Bonus::kFastPaddle ? 2.0 : 0.5, blue.getSpeedFactor());
                EXPECT_EQ(1, blue.getPoints());
                // Timed from the pick-up.
                stillFrameAt(taken + 10000);
                EXPECT_EQ(&combat->bonus(kind), blue.getBonus());
                stillFrameAt(taken + 10001);
                EXPECT_EQ(nullptr, blue.getBonus());
                EXPECT_EQ(1.0, blue.getSpeedFactor());
                break;
            default:
                EXPECT_EQ(&combat->bonus(kind), blue.getBonus());
                EXPECT_EQ(2, blue.getPoints());
                EXPECT_EQ(1.0, blue.getSpeedFactor());
                stillFrameAt(taken + 60000);
                EXPECT_EQ(2, blue.getPoints());
                break;
        }
    }
}

TEST_F(CombatTimelineTest, NothingOfAServeCarriesIntoTheNext) {
    holdPaddlesStill();
    makeCombat(seedShowing(Bonus::kDoublePoints));
    stillFrameAt(kLoadTime + 1001);
    stillFrameAt(kLoadTime + 2001);
    bounceOffBlue(kLoadTime + 2100);
    takeWithBlue(kLoadTime + 2200);
    stillFrameAt(kLoadTime + 4201);
    ASSERT_NE(-1, combat->bonusOnField());

    // Blue's ball goes out at the bottom, clear of yellow: the serve is
    // over, with blue's double point and yellow's loss.
    ball(0).place(Vector2{120.0, 399.0}, kDown);
    frameOf(16, kLoadTime + 4300);
    EXPECT_EQ(2, combat->scoreLabel(kBlue).getValue());
    EXPECT_EQ(-1, combat->scoreLabel(1).getValue());
    EXPECT_EQ("2", combat->scoreLabel(kBlue).getText());

    EXPECT_EQ("9", combat->centre().getText());
    EXPECT_FALSE(combat->isPlaying());
    EXPECT_EQ(-1, combat->bonusOnField());
    EXPECT_EQ(0, combat->bonusesShown());
    EXPECT_EQ(nullptr, combat->paddle(kBlue).getBonus());
    EXPECT_EQ(1, combat->paddle(kBlue).getPoints());
}

}  // namespace
