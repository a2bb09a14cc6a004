// Two machines of an online match, each with its own copy of the match,
// whose keys reach each other late, some later than others. However much
// they guess wrong and go back, both end where one match played straight
// with everybody's real keys ends.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <random>

#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "combat/MatchKeys.h"
#include "net/RollbackScheduler.h"
#include "physics/MatchRandom.h"
#include "support/DisplayHarness.h"

namespace {

constexpr unsigned kSeed = 4242;
// Green is machine 0's, red and blue machine 1's; yellow the computer's.
const std::uint8_t kOwners[4] = {0, net::kNobody, 1, 1};

struct Machine {
    Machine(DisplayHarness& harness, int number, int inputDelay) : id(number) {
        random.seed(kSeed);
        timeline.begin(kOwners);
        combat = std::make_unique<Combat>(harness.display, nullptr, random, harness.misc, setup, harness.logger);
        scheduler = std::make_unique<net::RollbackScheduler>(*combat, setup, timeline, number, inputDelay);
    }

    int id;
    MatchRandom random;
    PlayerSetup setup;
    net::InputTimeline timeline;
    std::unique_ptr<Combat> combat;
    std::unique_ptr<net::RollbackScheduler> scheduler;
    // The other's frames on their way here, each with the turn it arrives.
    std::deque<std::pair<std::uint32_t, std::uint8_t>> coming;
    std::uint32_t sent = 0;
};

// What a person holds: a few keys of their colours, changing now and then.
std::uint8_t keysAt(int machine, std::uint32_t frame) {
    const std::uint32_t phase = (frame + 37 * static_cast<std::uint32_t>(machine)) / 23;
    std::mt19937 draws(phase * 2 + static_cast<std::uint32_t>(machine));
    return static_cast<std::uint8_t>(draws() & (machine == 0 ? 0x03 : 0xF0));
}

class RollbackSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(harness.ready()); }

    // Turns of both machines a frame's time apart; each machine's frames
    // reach the other `lateTurns` turns later, give or take `jitter`.
    // Machine 1 leaves at frame `leaveAt` when it is not 0.
    void play(std::uint32_t turns, std::uint32_t lateTurns, std::uint32_t jitter, std::uint32_t leaveAt = 0) {
        for (Machine* m : {&a, &b}) {
            ASSERT_EQ(1, m->combat->load());
            m->scheduler->start(0);
        }
        std::mt19937 draws(7);
        std::uint32_t now = 0;
        for (std::uint32_t turn = 0; turn < turns; ++turn) {
            now += net::frameTime(turn);
            for (Machine* m : {&a, &b}) {
                Machine& other = m == &a ? b : a;
                while (!m->coming.empty() && m->coming.front().first <= turn) {
                    m->timeline.add(other.id, m->timeline.held(other.id), m->coming.front().second);
                    m->coming.pop_front();
                }
                if (leaveAt != 0 && m->timeline.held(1) >= leaveAt) m->timeline.leave(1, leaveAt);
                const int id = m->id;
                m->scheduler->runTurn(now, [id](std::uint32_t frame) { return keysAt(id, frame); }, -1.0);
                // Frames go out in order; a late one holds back those after it.
                std::uint32_t arrives = turn + lateTurns + draws() % (jitter + 1);
                for (; m->sent < m->timeline.held(m->id); ++m->sent) {
                    if (!other.coming.empty() && other.coming.back().first > arrives) arrives = other.coming.back().first;
                    other.coming.emplace_back(arrives, m->timeline.keys(m->id, m->sent));
                }
            }
        }
    }

    // One match played straight with the keys machine a ended up with.
    std::uint64_t straightHash(std::uint32_t frames) {
        MatchRandom random;
        random.seed(kSeed);
        PlayerSetup setup;
        Combat straight(harness.display, nullptr, random, harness.misc, setup, harness.logger);
        straight.setFrameDrawing(false);
        EXPECT_EQ(1, straight.load());
        for (std::uint32_t frame = 0; frame < frames; ++frame) {
            a.timeline.people(frame, setup.bHuman);
            std::uint8_t bits = 0;
            for (int m = 0; m < 2; ++m) bits = static_cast<std::uint8_t>(bits | a.timeline.keys(m, frame));
            std::uint8_t keys[256];
            matchKeys::unpack(bits, keys);
            straight.update(keys, net::frameTime(frame));
        }
        return straight.stateHash();
    }

    std::uint64_t settledHash(Machine& m, std::uint32_t frames) {
        MatchState state;
        EXPECT_TRUE(m.scheduler->settledState(frames, state)) << "machine " << m.id;
        return hashMatchState(state);
    }

    DisplayHarness harness;
    Machine a{harness, 0, 1};
    Machine b{harness, 1, 2};
};

TEST_F(RollbackSchedulerTest, LateKeysAreMadeGoodAndBothMachinesAgreeWithTheStraightMatch) {
    // Six frames late, give or take two: the guesses are often wrong.
    play(1500, 6, 2);
    const std::uint32_t settled = std::min(a.scheduler->settled(), b.scheduler->settled());
    ASSERT_GT(settled, 1400u);
    EXPECT_EQ(settledHash(a, settled), settledHash(b, settled));
    EXPECT_EQ(settledHash(a, settled), straightHash(settled));
    for (Machine* m : {&a, &b}) {
        const net::RollbackScheduler::Figures& figures = m->scheduler->figures();
        EXPECT_GT(figures.rollbacks, 10u);
        EXPECT_LE(figures.longestRunAgainFrames, net::kMaxPrediction);
        EXPECT_EQ(figures.stalls, 0u);
    }
}

TEST_F(RollbackSchedulerTest, KeysLaterThanTheGuessingGoesWaitInsteadOfParting) {
    // Twelve frames each way: a machine may run no more than two frames in
    // three while it waits.
    play(900, 12, 3);
    const std::uint32_t settled = std::min(a.scheduler->settled(), b.scheduler->settled());
    ASSERT_GT(settled, 550u);
    EXPECT_GT(a.scheduler->figures().stalls, 0u);
    EXPECT_LE(a.scheduler->frame(), a.timeline.confirmed() + net::kMaxPrediction);
    EXPECT_EQ(settledHash(a, settled), settledHash(b, settled));
    EXPECT_EQ(settledHash(a, settled), straightHash(settled));
}

TEST_F(RollbackSchedulerTest, AMachineThatLeavesHandsItsColoursToTheComputerOnBoth) {
    play(1200, 5, 2, 600);
    const std::uint32_t settled = std::min(a.scheduler->settled(), b.scheduler->settled());
    ASSERT_GT(settled, 1100u);
    std::uint8_t human[4];
    a.timeline.people(700, human);
    EXPECT_EQ(0, human[2] + human[3]);
    EXPECT_EQ(settledHash(a, settled), settledHash(b, settled));
    EXPECT_EQ(settledHash(a, settled), straightHash(settled));
}

}  // namespace
