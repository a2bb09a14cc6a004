#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "combat/MatchFingerprint.h"
#include "net/Protocol.h"
#include "replay/GameFingerprint.h"
#include "replay/Replay.h"
#include "replay/ReplayFormat.h"
#include "support/DisplayHarness.h"
#include "support/PlatformFaults.h"
#include "support/ScopedEnvironment.h"

namespace {

using replay::GameFingerprint;

class GameFingerprintTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(harness.ready()); }

    MatchFingerprint::Played play() {
        return MatchFingerprint::playMatches(harness.display, harness.misc, harness.logger);
    }

    PlatformFaults faults;
    DisplayHarness harness;
};

// The fixed matches come out the same however often they are played, and a
// game whose rules differ in the least (the test switch makes green's paddle
// a thousandth faster in the first serve) gets another number.
TEST_F(GameFingerprintTest, TheFixedMatchesAlwaysGiveTheSameNumberAndAChangedRuleAnother) {
    const std::uint64_t own = GameFingerprint::own(harness.display, harness.misc, harness.logger);
    const auto start = std::chrono::steady_clock::now();
    const MatchFingerprint::Played first = play();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("the fixed matches: %u frames in %.2f ms\n", first.frames, ms);
    ASSERT_NE(0u, first.hash);
    EXPECT_EQ(first.hash, play().hash);
    EXPECT_EQ(own, GameFingerprint::combine(first.hash, GameFingerprint::gameVersion(), net::kProtocolVersion,
                                            replay::kFormatVersion));
    // Long enough to reach far into a match, short enough for a start.
    EXPECT_GT(first.frames, 3000u);
    EXPECT_LT(first.frames, 10000u);

    ScopedEnvironment environment;
    environment.set("QUADRILL_TEST_RULE_NUDGE", "1");
    const MatchFingerprint::Played nudged = play();
    EXPECT_NE(first.hash, nudged.hash);
    // Asked again, the game's own stays what it worked out at first.
    EXPECT_EQ(own, GameFingerprint::own(harness.display, harness.misc, harness.logger));
}

TEST(GameFingerprint, TheVersionsTakePartAsMuchAsTheMatches) {
    const std::uint64_t base = GameFingerprint::combine(1, "1.0", 1, 3);
    EXPECT_EQ(base, GameFingerprint::combine(1, "1.0", 1, 3));
    EXPECT_NE(base, GameFingerprint::combine(2, "1.0", 1, 3));
    EXPECT_NE(base, GameFingerprint::combine(1, "1.1", 1, 3));
    EXPECT_NE(base, GameFingerprint::combine(1, "1.0", 2, 3));
    EXPECT_NE(base, GameFingerprint::combine(1, "1.0", 1, 2));
    EXPECT_EQ("00000000000000ff", GameFingerprint::text(0xFF));
}

// A replay with a fingerprint plays where the fingerprint is the same; one
// of an older version, without, always gets its chance (its hashes tell).
TEST(GameFingerprint, AReplayPlaysWhereItsFingerprintIsTheGames) {
    replay::Replay recorded;
    recorded.gameVersion = "0.9";
    std::string why;
    EXPECT_TRUE(GameFingerprint::playsHere(recorded, 42, why));
    recorded.fingerprint = 42;
    EXPECT_TRUE(GameFingerprint::playsHere(recorded, 42, why));
    EXPECT_EQ("", why);
    EXPECT_FALSE(GameFingerprint::playsHere(recorded, 43, why));
    EXPECT_NE(std::string::npos, why.find("plays matches differently")) << why;
    EXPECT_NE(std::string::npos, why.find("version 0.9 (fingerprint 000000000000002a)")) << why;
    EXPECT_NE(std::string::npos, why.find("(fingerprint 000000000000002b)")) << why;
}

}  // namespace
