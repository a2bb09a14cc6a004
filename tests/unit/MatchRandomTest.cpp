#include <gtest/gtest.h>

#include <cstdlib>

#include "physics/MatchRandom.h"

namespace {

// The C library's own rand() is the reference: the match must draw exactly
// what it drew before it had a generator of its own.
TEST(MatchRandomTest, FollowsTheCLibrarysSequenceForAMillionDraws) {
    for (unsigned int seed : {0u, 1u, 2u, 12345u, 2147483647u, 2147483648u, 4294967295u}) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        MatchRandom full;
        full.seed(seed);
        // The match's draws are the same numbers kept to 0..32767.
        MatchRandom small;
        small.seed(seed);
        int mismatches = 0;
        for (int i = 0; i < 1000000 && mismatches < 5; ++i) {
            const int expected = std::rand();
            const std::int32_t drawn = full.next();
            const int drawnSmall = small.draw();
            if (drawn != expected || drawnSmall != expected % (MatchRandom::kDrawMax + 1)) {
                ADD_FAILURE() << "draw " << i << ": " << drawn << " and " << drawnSmall << " for " << expected;
                ++mismatches;
            }
        }
    }
}

TEST(MatchRandomTest, AnUnseededGeneratorIsSeededWithOne) {
    MatchRandom unseeded;
    MatchRandom one;
    one.seed(1);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(one.next(), unseeded.next());
}

TEST(MatchRandomTest, ACopiedStateGoesOnWithTheSameNumbers) {
    MatchRandom random;
    random.seed(20240607);
    for (int i = 0; i < 77; ++i) random.next();
    const MatchRandom::State saved = random.state();
    EXPECT_TRUE(MatchRandom::isWellFormed(saved));
    int first[50];
    for (int& value : first) value = random.draw();

    MatchRandom other;
    other.setState(saved);
    for (int value : first) ASSERT_EQ(value, other.draw());
}

TEST(MatchRandomTest, OnlyTheShapesThatDrawingReachesAreWellFormed) {
    MatchRandom random;
    MatchRandom::State state = random.state();
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(MatchRandom::isWellFormed(random.state()));
        random.next();
    }
    state.front = static_cast<std::uint8_t>((state.rear + 4) % MatchRandom::kDegree);
    EXPECT_FALSE(MatchRandom::isWellFormed(state));
    state.rear = MatchRandom::kDegree;
    state.front = 2;
    EXPECT_FALSE(MatchRandom::isWellFormed(state));
}

}  // namespace
