#include <gtest/gtest.h>

#include "input/PadClaims.h"

namespace {

constexpr int kGreen = 0, kYellow = 1, kRed = 2, kBlue = 3;

TEST(PadClaimsTest, PadsTakeTheFreeColoursInTheMenusOrder) {
    PadClaims claims;
    EXPECT_EQ(kYellow, claims.claimNext(1));
    EXPECT_EQ(kBlue, claims.claimNext(2));
    EXPECT_EQ(kGreen, claims.claimNext(3));
    EXPECT_EQ(kRed, claims.claimNext(4));
    // Nothing left for a fifth pad; the others keep theirs.
    EXPECT_EQ(PadClaims::kNone, claims.claimNext(5));
    EXPECT_EQ(kYellow, claims.claimNext(1));
    EXPECT_EQ(1, claims.padOf(kYellow));
    EXPECT_EQ(4, claims.padOf(kRed));
}

TEST(PadClaimsTest, AnotherPressMovesOnToTheNextFreeColourGoingRound) {
    PadClaims claims;
    claims.claimNext(1);                     // yellow
    EXPECT_EQ(kBlue, claims.claimNext(2));
    EXPECT_EQ(kGreen, claims.claimNext(1));  // past blue, which is held
    EXPECT_EQ(0, claims.padOf(kYellow));
    EXPECT_EQ(kRed, claims.claimNext(1));
    EXPECT_EQ(kYellow, claims.claimNext(1));  // round to the top
    claims.release(1);
    EXPECT_EQ(PadClaims::kNone, claims.colourOf(1));
    EXPECT_EQ(kYellow, claims.claimNext(3));
}

TEST(PadClaimsTest, AColourWhosePadWentWaitsForTheNextPadUntilTheMenu) {
    PadClaims claims;
    claims.claimNext(1);  // yellow
    claims.claimNext(2);  // blue
    claims.holdForReturn(1);
    EXPECT_TRUE(claims.isWaiting(kYellow));
    EXPECT_EQ(0, claims.padOf(kYellow));
    EXPECT_EQ(kGreen, claims.claimNext(3));  // a waiting colour is not free
    EXPECT_EQ(PadClaims::kNone, claims.adoptWaiting(2));  // a pad with a colour keeps it
    EXPECT_EQ(kYellow, claims.adoptWaiting(4));
    EXPECT_FALSE(claims.anyWaiting());
    claims.holdForReturn(4);
    claims.dropWaiting();
    EXPECT_EQ(PadClaims::kNone, claims.adoptWaiting(5));
    EXPECT_EQ(kYellow, claims.claimNext(5));
}

}  // namespace
