#include <cmath>
#include <random>
#include <vector>

#include "CombatScene.h"
#include "combat/MatchKeys.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/GameFingerprint.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace {

using replay::ReplayPlayer;

class ComputerLevelsTest : public CombatScene {
protected:
    // Plays the match to its end with frames of 1 to 40 ms, yellow a person
    // pressing keys now and then if asked; `eachFrame` looks at the match
    // before (the paddles' places) and after every frame.
    template <typename Look>
    void playToTheEnd(unsigned seed, bool yellowPlays, replay::ReplayRecorder* recorder, Look eachFrame) {
        std::mt19937 draws(seed);
        std::uint16_t bits = 0;
        Combat::FrameResult result = Combat::FrameResult::kGoing;
        for (int frame = 0; result == Combat::FrameResult::kGoing && frame < 200000; ++frame) {
            if (yellowPlays && draws() % 25 == 0) bits = static_cast<std::uint16_t>(draws() & 0x0C);
            std::uint8_t state[256];
            matchKeys::unpack(bits, state);
            const std::uint32_t ms = 1 + draws() % 40;
            double before[4];
            double factor[4];
            for (int colour = 0; colour < 4; ++colour) {
                const Paddle& paddle = combat->paddle(colour);
                before[colour] = paddle.getType() != 0 ? paddle.getY() : paddle.getX();
                factor[colour] = paddle.getSpeedFactor();
            }
            const std::int32_t serves = combat->servesStarted();
            result = combat->playFrame(state, ms);
            if (recorder) recorder->addFrame(ms, state, *combat);
            // A new serve puts every paddle back in the middle at once.
            if (combat->servesStarted() == serves) eachFrame(before, factor, ms);
        }
        ASSERT_EQ(Combat::FrameResult::kOver, result);
    }
};

// However well it plays, the computer moves a paddle no further in a frame
// than a person holding the key could: 0.3 pixels a millisecond, times the
// bonus's factor.
TEST_F(ComputerLevelsTest, EveryStrengthMovesNoFasterThanAPerson) {
    for (ComputerLevel strength : {ComputerLevel::kEasy, ComputerLevel::kHard}) {
        for (int colour = 0; colour < 4; ++colour) setup.levels.set(colour, strength);
        makeCombat(31);
        combat->setFrameDrawing(false);
        double fastest = 0.0;
        playToTheEnd(31, false, nullptr, [&](const double (&before)[4], const double (&factor)[4], std::uint32_t ms) {
            for (int colour = 0; colour < 4; ++colour) {
                const Paddle& paddle = combat->paddle(colour);
                const double now = paddle.getType() != 0 ? paddle.getY() : paddle.getX();
                const double moved = std::fabs(now - before[colour]);
                // The far bounds pull a paddle standing up to a pixel past
                // them back onto them, a person's paddle as well.
                const Rect& bound = paddle.getBound();
                const double far = paddle.getType() != 0 ? bound.bottom - paddle.getHeight() : bound.right - paddle.getWidth();
                if (now == far && moved < 1.0 + 0.3 * factor[colour] * ms) continue;
                ASSERT_LE(moved, 0.3 * factor[colour] * ms + 1e-9)
                    << computerLevelName(strength) << " colour " << colour << " in a frame of " << ms << " ms";
                fastest = std::max(fastest, moved / (factor[colour] * ms));
            }
        });
        // Hard does go at a person's full speed; Easy never does.
        if (strength == ComputerLevel::kHard) {
            EXPECT_NEAR(0.3, fastest, 1e-9);
        } else {
            EXPECT_LT(fastest, 0.25);
        }
    }
}

// Yellow a person against green Hard, red Easy and blue Normal: the replay
// keeps the strengths, in a version 3 file, and plays the match again to
// the same end. Played at Normal, the same keys make another match.
TEST_F(ComputerLevelsTest, AReplayWithAHardPlayerRoundTripsAndVerifies) {
    setup.bHuman[1] = 1;
    setup.levels.set(0, ComputerLevel::kHard);
    setup.levels.set(2, ComputerLevel::kEasy);
    replay::Seat seats[4];
    seats[1] = replay::Seat{replay::Device::kKeyboard, 0};
    MatchRandom before;
    before.seed(41);
    makeCombat(41);
    combat->setFrameDrawing(false);
    replay::ReplayRecorder recorder(seats, before.state(), 1765000000, "1.0",
                                    replay::GameFingerprint::own(harness.display, harness.misc, harness.logger));
    recorder.setLevels(setup.levels);
    playToTheEnd(41, true, &recorder, [](const double (&)[4], const double (&)[4], std::uint32_t) {});
    replay::Replay recorded;
    ASSERT_TRUE(recorder.finish(replay::MatchEnd::kOver, *combat, recorded));

    const std::vector<std::uint8_t> bytes = replay::writeReplay(recorded);
    EXPECT_EQ(4, bytes[4]);
    replay::Replay read;
    std::string error;
    ASSERT_TRUE(replay::readReplay(bytes.data(), bytes.size(), read, error)) << error;
    EXPECT_EQ(ComputerLevel::kHard, read.levels.of(0));
    EXPECT_EQ(ComputerLevel::kNormal, read.levels.of(1));
    EXPECT_EQ(ComputerLevel::kEasy, read.levels.of(2));
    EXPECT_EQ(ComputerLevel::kNormal, read.levels.of(3));

    auto playThrough = [this](const replay::Replay& r) {
        ReplayPlayer player(r, harness.display, nullptr, harness.misc, harness.logger);
        EXPECT_EQ(1, player.load());
        player.combat().setFrameDrawing(false);
        ReplayPlayer::Step step = ReplayPlayer::Step::kPlayed;
        while (step == ReplayPlayer::Step::kPlayed) step = player.playFrame();
        return step;
    };
    EXPECT_EQ(ReplayPlayer::Step::kEnded, playThrough(read));
    replay::Replay atNormal = read;
    atNormal.levels = ComputerLevels{};
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(atNormal));
}

}  // namespace
