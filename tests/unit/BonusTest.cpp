#include <gtest/gtest.h>

#include "ArenaLayout.h"

namespace {

// The pick-up box of every kind spans 189..211; grown by the ball's
// radius of 7 it spans 182..218 on both axes.
class BonusTest : public ::testing::Test {
protected:
    const Bonus& fast() const { return arena.bonuses[Bonus::kFastPaddle]; }
    ArenaLayout arena;
};

TEST_F(BonusTest, KindsKeepTheirDurationsAndLittleIcons) {
    EXPECT_EQ(-1, arena.bonuses[Bonus::kExtraBall].getDuration());
    EXPECT_EQ(10000, arena.bonuses[Bonus::kSlowPaddle].getDuration());
    EXPECT_EQ(-1, arena.bonuses[Bonus::kDoublePoints].getDuration());
    const Rect& little = arena.bonuses[Bonus::kDoublePoints].getLittle();
    EXPECT_EQ(28, little.left);
    EXPECT_EQ(74, little.top);
    EXPECT_EQ(50, little.right);
    EXPECT_EQ(96, little.bottom);
}

TEST_F(BonusTest, BallGoingDownThroughTheMiddleHitsAsItsCentrePasses182) {
    EXPECT_FALSE(fast().hitTest(Vector2{200.0, 170.0}, Vector2{200.0, 181.9}, 7.0));
    EXPECT_FALSE(fast().hitTest(Vector2{200.0, 170.0}, Vector2{200.0, 182.0}, 7.0));
    EXPECT_TRUE(fast().hitTest(Vector2{200.0, 170.0}, Vector2{200.0, 182.1}, 7.0));
}

TEST_F(BonusTest, EachGrownSideIsAnEntrance) {
    EXPECT_TRUE(fast().hitTest(Vector2{200.0, 230.0}, Vector2{200.0, 217.0}, 7.0));
    EXPECT_TRUE(fast().hitTest(Vector2{170.0, 200.0}, Vector2{183.0, 200.0}, 7.0));
    EXPECT_TRUE(fast().hitTest(Vector2{230.0, 200.0}, Vector2{217.0, 200.0}, 7.0));
}

TEST_F(BonusTest, PathsThatStartInsideOrStopOnASideNeverHit) {
    // The serve from the centre.
    EXPECT_FALSE(fast().hitTest(Vector2{200.0, 200.0}, Vector2{200.0, 150.0}, 7.0));
    EXPECT_FALSE(fast().hitTest(Vector2{185.0, 185.0}, Vector2{195.0, 195.0}, 7.0));
    EXPECT_FALSE(fast().hitTest(Vector2{170.0, 170.0}, Vector2{170.0, 170.0}, 7.0));
}

TEST_F(BonusTest, GrownBoxHasSquareCorners) {
    // Enters the grown top at x = 217.5: its disc stays more than 7 pixels
    // from the icon's corner (211, 189), yet the bonus is taken.
    EXPECT_TRUE(fast().hitTest(Vector2{217.5, 170.0}, Vector2{217.5, 184.0}, 7.0));
    EXPECT_FALSE(fast().hitTest(Vector2{218.5, 170.0}, Vector2{218.5, 184.0}, 7.0));
}

}  // namespace
