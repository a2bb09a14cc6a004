#include <gtest/gtest.h>

#include "ArenaLayout.h"

namespace {

TEST(WallTest, RowsLoadInTheirOrder) {
    ArenaLayout arena;
    ASSERT_TRUE(arena.opened);
    const Wall& topRight = arena.walls[kWallTopRight];
    EXPECT_EQ(-1.0, topRight.normal(0).x);
    EXPECT_EQ(1.0, topRight.normal(0).y);
    EXPECT_EQ(381.0, topRight.bound(1).x);
    EXPECT_EQ(78.0, topRight.bound(1).y);
    EXPECT_EQ(-1.0, topRight.normal(2).x);
    // The collision test relies on the first end having the smaller x.
    for (const Wall& wall : arena.walls) EXPECT_LT(wall.bound(0).x, wall.bound(1).x);
}

TEST(WallTest, DerivedLimitsOfTheShippedWalls) {
    ArenaLayout arena;
    EXPECT_EQ(199.5, cornerSelection(arena.walls));
    const WallEndLimits limits = wallEndLimits(arena.walls);
    EXPECT_EQ(18.0, limits.left);
    EXPECT_EQ(381.0, limits.bottom);
    EXPECT_EQ(381.0, limits.right);
    EXPECT_EQ(18.0, limits.top);
}

}  // namespace
