#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "physics/Vector2.h"

namespace {

const Vector2 kRight{1.0, 0.0};
const Vector2 kOrigin{0.0, 0.0};

TEST(Vector2Test, ScaleByFrameTimeNeverTurnsNegative) {
    const Vector2 v = scale(Vector2{0.5, -0.25}, std::uint32_t{0x80000000u});
    EXPECT_EQ(1073741824.0, v.x);
    EXPECT_EQ(-536870912.0, v.y);
}

TEST(Vector2Test, CrossingStopsTheCircleAtItsFirstTouch) {
    // Separation 20 now, -20 at the end of the frame, radius 7.
    Vector2 contact{-99.0, -99.0};
    EXPECT_EQ(kCrossing, testLineContact(Vector2{20.0, 5.0}, Vector2{-20.0, 45.0}, 7.0, kOrigin, kRight, contact));
    // A third and a bit of the way: 0.325 of (-40, 40).
    EXPECT_DOUBLE_EQ(7.0, contact.x);
    EXPECT_DOUBLE_EQ(18.0, contact.y);
}

TEST(Vector2Test, TouchingWithinOnePixelOfTheRadiusOnEitherSide) {
    Vector2 contact{-99.0, -99.0};
    // Exactly r + 1 away, moving away: touching, and contact is not written.
    EXPECT_EQ(kTouching, testLineContact(Vector2{8.0, 0.0}, Vector2{50.0, 0.0}, 7.0, kOrigin, kRight, contact));
    // Slightly behind the line.
    EXPECT_EQ(kTouching, testLineContact(Vector2{-8.0, 0.0}, Vector2{-8.0, 0.0}, 7.0, kOrigin, kRight, contact));
    EXPECT_EQ(-99.0, contact.x);
    EXPECT_EQ(kNoContact, testLineContact(Vector2{8.001, 0.0}, Vector2{9.0, 0.0}, 7.0, kOrigin, kRight, contact));
    // Further behind, it never crosses, wherever it is heading.
    EXPECT_EQ(kNoContact, testLineContact(Vector2{-8.5, 0.0}, Vector2{100.0, 0.0}, 7.0, kOrigin, kRight, contact));
}

TEST(Vector2Test, CrossingNeedsTheEndStrictlyInsideTheRadius) {
    Vector2 contact;
    EXPECT_EQ(kNoContact, testLineContact(Vector2{20.0, 0.0}, Vector2{7.0, 0.0}, 7.0, kOrigin, kRight, contact));
    EXPECT_EQ(kCrossing, testLineContact(Vector2{20.0, 0.0}, Vector2{6.999, 0.0}, 7.0, kOrigin, kRight, contact));
}

TEST(Vector2Test, LongNormalScalesTheDistances) {
    // A corner wall's normal is sqrt(2) long, so touching ends 5.66 pixels
    // from the diagonal ((r + 1) / sqrt(2)) instead of 8.
    const Vector2 diagonal{1.0, -1.0};
    Vector2 contact;
    const Vector2 onLine{18.0, 321.0};
    EXPECT_EQ(kTouching, testLineContact(Vector2{22.0, 317.0}, Vector2{22.0, 317.0}, 7.0, onLine, diagonal, contact));
    EXPECT_EQ(kNoContact,
              testLineContact(Vector2{22.3, 316.7}, Vector2{22.3, 316.7}, 7.0, onLine, diagonal, contact));
}

TEST(Vector2Test, TruncationDropsTheFractionAndNeverOverflows) {
    EXPECT_EQ(256, truncateToInt(256.6));
    EXPECT_EQ(-5, truncateToInt(-5.5));
    EXPECT_EQ(0, truncateToInt(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), truncateToInt(1e300));
    EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), truncateToInt(-1e300));
}

}  // namespace
