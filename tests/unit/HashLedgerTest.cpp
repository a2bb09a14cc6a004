#include "net/HashLedger.h"

#include <gtest/gtest.h>

namespace {

using net::HashLedger;

constexpr std::uint8_t kGuests12 = 0x6;  // machines 1 and 2 play besides the host

TEST(HashLedger, AMachineThatDiffersFromTheHostAndAnotherGoesAlone) {
    HashLedger ledger;
    HashLedger::Verdict verdict;
    EXPECT_TRUE(ledger.note(1, 30, 0xAA));
    EXPECT_TRUE(ledger.note(0, 30, 0xAA));
    EXPECT_FALSE(ledger.judge(kGuests12, verdict));  // machine 2 has not spoken yet
    EXPECT_TRUE(ledger.note(2, 30, 0xBB));
    ASSERT_TRUE(ledger.judge(kGuests12, verdict));
    EXPECT_FALSE(verdict.everybody);
    EXPECT_EQ(verdict.alone, 0x4);
    EXPECT_EQ(verdict.frame, 30u);
    EXPECT_EQ(verdict.reported, 0x7);
    EXPECT_EQ(verdict.hashes[2], 0xBBu);
    // Judged once; and a machine's second word for a frame is not taken.
    EXPECT_FALSE(ledger.judge(0x2, verdict));
    EXPECT_FALSE(ledger.note(2, 30, 0xAA));
}

TEST(HashLedger, TheMatchEndsForAllWhenTheHostStandsAlone) {
    HashLedger ledger;
    HashLedger::Verdict verdict;
    ledger.note(0, 60, 0xA);
    ledger.note(1, 60, 0xB);
    ledger.note(2, 60, 0xB);
    ASSERT_TRUE(ledger.judge(kGuests12, verdict));
    EXPECT_TRUE(verdict.everybody);
    EXPECT_EQ(verdict.alone, 0);

    // Only the host and one guest: nobody can tell which is right.
    HashLedger two;
    two.note(1, 30, 0xB);
    two.note(0, 30, 0xA);
    ASSERT_TRUE(two.judge(0x2, verdict));
    EXPECT_TRUE(verdict.everybody);
}

TEST(HashLedger, AMachineThatSaysNothingCannotHoldTheJudgementOff) {
    HashLedger ledger;
    HashLedger::Verdict verdict;
    ledger.note(0, 30, 0xA);
    ledger.note(1, 30, 0xB);
    for (std::uint32_t frame = 60; frame < 30 + HashLedger::kPatienceFrames; frame += 30) {
        ledger.note(0, frame, frame);
        ledger.note(1, frame, frame);
        EXPECT_FALSE(ledger.judge(kGuests12, verdict)) << frame;
    }
    ledger.note(0, 30 + HashLedger::kPatienceFrames, 1);
    ASSERT_TRUE(ledger.judge(kGuests12, verdict));
    EXPECT_TRUE(verdict.everybody);
    EXPECT_EQ(verdict.frame, 30u);
}

TEST(HashLedger, ReportsForLongGoneCheckpointsAreTooLate) {
    HashLedger ledger;
    for (std::uint32_t k = 1; k <= 40; ++k) ledger.note(0, 30 * k, k);
    EXPECT_FALSE(ledger.note(1, 30, 99));
    EXPECT_TRUE(ledger.note(1, 30 * 40, 99));
    EXPECT_FALSE(ledger.note(4, 30 * 39, 99));  // a spectator has no say
    HashLedger::Verdict verdict;
    ASSERT_TRUE(ledger.judge(0x2, verdict));
    EXPECT_EQ(verdict.frame, 30u * 40);
}

}  // namespace
