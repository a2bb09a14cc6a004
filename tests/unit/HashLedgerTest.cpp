#include "net/HashLedger.h"

#include <gtest/gtest.h>

namespace {

TEST(HashLedger, TheFirstDisagreeingReportEndsTheMatchOnce) {
    net::HashLedger ledger;
    EXPECT_EQ(ledger.note(1, 30, 0xAA), nullptr);
    EXPECT_EQ(ledger.note(0, 30, 0xAA), nullptr);
    EXPECT_EQ(ledger.note(2, 60, 0xBB), nullptr);
    const net::HashLedger::Checkpoint* out = ledger.note(0, 60, 0xBC);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->frame, 60u);
    EXPECT_EQ(out->reported, 0x5);
    EXPECT_EQ(out->hashes[2], 0xBBu);
    EXPECT_EQ(ledger.note(1, 60, 0xBD), nullptr);
    // A machine's second word for a frame is not taken.
    EXPECT_EQ(ledger.note(1, 30, 0xFF), nullptr);
}

TEST(HashLedger, ReportsForLongGoneCheckpointsAreTooLate) {
    net::HashLedger ledger;
    for (std::uint32_t k = 1; k <= 40; ++k) ledger.note(0, 30 * k, k);
    EXPECT_EQ(ledger.note(1, 30, 99), nullptr);
    ASSERT_NE(ledger.note(1, 30 * 40, 99), nullptr);
    EXPECT_EQ(ledger.note(12, 30 * 39, 99), nullptr);  // no such machine
}

}  // namespace
