#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "CombatScene.h"
#include "combat/MatchKeys.h"
#include "combat/MatchState.h"

namespace {

// Changes the field numbered `target` in visiting order by the least step.
struct Nudge {
    int target;
    int index = 0;
    const char* name = nullptr;
    void operator()(const char* field, double& value) {
        if (index++ == target) {
            name = field;
            value = value == 0.0 ? 1e-300 : value * (1 + 1e-15);
        }
    }
    template <class Integer>
    void operator()(const char* field, Integer& value) {
        if (index++ == target) {
            name = field;
            value = static_cast<Integer>(value ^ 1);
        }
    }
};

class MatchStateTest : public CombatScene {
protected:
    // Red is a person who holds a key for a while, then another; the other
    // colours are the computer's. Frame times vary from 1 to 40 ms.
    void SetUp() override {
        CombatScene::SetUp();
        setup.bHuman[2] = 1;
    }

    struct Frame {
        std::uint16_t keyBits;
        std::uint32_t ms;
    };

    static std::vector<Frame> someFrames(unsigned seed, int count) {
        std::mt19937 draws(seed);
        std::vector<Frame> frames;
        std::uint16_t bits = 0;
        for (int i = 0; i < count; ++i) {
            if (draws() % 30 == 0) bits = static_cast<std::uint16_t>(draws() & 0x30);
            frames.push_back(Frame{bits, static_cast<std::uint32_t>(1 + draws() % 40)});
        }
        return frames;
    }

    // Plays the frames and gives the state hash after each.
    std::vector<std::uint64_t> play(const std::vector<Frame>& frames) {
        std::vector<std::uint64_t> hashes;
        for (const Frame& frame : frames) {
            std::uint8_t state[256];
            matchKeys::unpack(frame.keyBits, state);
            if (!combat->update(state, frame.ms)) break;
            hashes.push_back(combat->stateHash());
        }
        return hashes;
    }
};

// Put back at many moments of a match (start pauses, play with several
// balls, bonus pauses, the end's blink) and played again with the same
// frames, the match goes exactly the same way.
TEST_F(MatchStateTest, RestoredMatchPlaysTheSameFramesTheSameWay) {
    makeCombat(29);
    combat->setFrameDrawing(false);
    const std::vector<Frame> frames = someFrames(5, 100000);
    constexpr std::size_t kEvery = 50;
    std::vector<MatchState> saved;
    std::vector<std::uint64_t> hashes;
    bool sawSeveralBalls = false;
    bool sawMatchOver = false;
    for (std::size_t at = 0; at < frames.size(); at += kEvery) {
        saved.emplace_back();
        ASSERT_TRUE(combat->saveState(saved.back()));
        sawSeveralBalls = sawSeveralBalls || saved.back().cBalls > 1;
        sawMatchOver = sawMatchOver || saved.back().bMatchOver;
        const std::vector<Frame> next(frames.begin() + static_cast<std::ptrdiff_t>(at),
                                      frames.begin() + static_cast<std::ptrdiff_t>(at + kEvery));
        const std::vector<std::uint64_t> played = play(next);
        hashes.insert(hashes.end(), played.begin(), played.end());
        if (played.size() < next.size()) break;  // the match is over
    }
    ASSERT_GT(saved.size(), 50u);
    EXPECT_TRUE(sawSeveralBalls);
    EXPECT_TRUE(sawMatchOver);

    // Backwards, so that each restore has to undo a later state.
    for (std::size_t k = saved.size(); k-- > 0;) {
        combat->restoreState(saved[k]);
        ASSERT_EQ(hashMatchState(saved[k]), combat->stateHash()) << "snapshot " << k;
        const std::size_t at = k * kEvery;
        const std::vector<Frame> next(frames.begin() + static_cast<std::ptrdiff_t>(at),
                                      frames.begin() + static_cast<std::ptrdiff_t>(at + kEvery));
        const std::vector<std::uint64_t> again = play(next);
        const std::vector<std::uint64_t> before(
            hashes.begin() + static_cast<std::ptrdiff_t>(at),
            hashes.begin() + static_cast<std::ptrdiff_t>(std::min(hashes.size(), at + kEvery)));
        ASSERT_EQ(before, again) << "snapshot " << k;
    }
}

// Every field the hash covers changes it, whichever field it is.
TEST_F(MatchStateTest, ChangingAnyOneFieldChangesTheHash) {
    makeCombat(3);
    combat->setFrameDrawing(false);
    play(someFrames(8, 400));
    MatchState state{};
    ASSERT_TRUE(combat->saveState(state));
    ASSERT_GE(state.cBalls, 1);
    const std::uint64_t original = hashMatchState(state);

    Nudge counter{-1};
    visitMatchState(state, counter);
    ASSERT_GT(counter.index, 120);
    for (int target = 0; target < counter.index; ++target) {
        MatchState changed = state;
        Nudge nudge{target};
        visitMatchState(changed, nudge);
        EXPECT_NE(original, hashMatchState(changed)) << "field " << target << " " << nudge.name;
    }

    // Balls out of play are not part of the match.
    MatchState spare = state;
    spare.balls[MatchState::kMaxBalls - 1].dAngle += 1.0;
    if (spare.cBalls < MatchState::kMaxBalls) {
        EXPECT_EQ(original, hashMatchState(spare));
    }
}

// Online play puts a match back and plays up to eight frames again, many
// times a second; that must cost next to nothing.
TEST_F(MatchStateTest, RestoringAndReplayingEightFramesIsCheap) {
    makeCombat(41);
    combat->setFrameDrawing(false);
    play(someFrames(2, 2000));
    MatchState saved{};
    ASSERT_TRUE(combat->saveState(saved));
    const std::vector<Frame> eight = someFrames(9, 8);
    constexpr int kRounds = 2000;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        combat->restoreState(saved);
        for (const Frame& frame : eight) {
            std::uint8_t state[256];
            matchKeys::unpack(frame.keyBits, state);
            combat->update(state, frame.ms);
        }
        combat->saveState(saved);
    }
    const double perRound =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / kRounds;
    EXPECT_LT(perRound, 0.001);
    RecordProperty("microsecondsPerRestoreAndEightFrames", static_cast<int>(perRound * 1e6));
}

// Drawing and sound are for people to see and hear: with them or without,
// the same frames give the same match.
TEST_F(MatchStateTest, DrawingAndSoundDoNotChangeTheMatch) {
    const std::vector<Frame> frames = someFrames(13, 3000);
    makeCombat(17);
    combat->setFrameDrawing(false);
    const std::vector<std::uint64_t> quiet = play(frames);

    sound = std::make_unique<SoundDevice>();
    ASSERT_EQ(1, sound->create(&harness.window, harness.logger));
    makeCombat(17);
    EXPECT_EQ(quiet, play(frames));
}

}  // namespace
