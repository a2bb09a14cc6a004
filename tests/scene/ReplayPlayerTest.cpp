#include <random>
#include <vector>

#include "CombatScene.h"
#include "combat/MatchKeys.h"
#include "platform/MessageBox.h"
#include "replay/GameFingerprint.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace {

using replay::ReplayPlayer;

class ReplayPlayerTest : public CombatScene {
protected:
    // Yellow on the keyboard and blue on a pad against two computers, keys
    // changing now and then, frames of 1 to 40 ms, until the match is over
    // or, with `leaveAt`, Escape in that frame.
    replay::Replay recordMatch(unsigned seed, std::uint32_t leaveAt = 0) {
        replay::Seat seats[4];
        seats[1] = replay::Seat{replay::Device::kKeyboard, 0};
        seats[3] = replay::Seat{replay::Device::kPad, 1};
        setup.bHuman[1] = 1;
        setup.bHuman[3] = 1;
        MatchRandom before;
        before.seed(seed);
        makeCombat(seed);
        combat->setFrameDrawing(false);
        replay::ReplayRecorder recorder(seats, before.state(), 1765000000, "1.0", "test");

        std::mt19937 draws(seed);
        std::uint16_t bits = 0;
        Combat::FrameResult result = Combat::FrameResult::kGoing;
        for (std::uint32_t frame = 1; result == Combat::FrameResult::kGoing; ++frame) {
            if (draws() % 25 == 0) bits = static_cast<std::uint16_t>(draws() & 0xCC);
            if (frame == leaveAt) bits |= matchKeys::kEscapeBit;
            std::uint8_t state[256];
            matchKeys::unpack(bits, state);
            // Keys of computers' colours are pressed too; the match ignores them.
            state[keys::DIK_Q] = 0x80;
            const std::uint32_t ms = 1 + draws() % 40;
            result = combat->playFrame(state, ms);
            recorder.addFrame(ms, state, *combat);
        }
        replay::Replay recorded;
        EXPECT_TRUE(recorder.finish(leaveAt ? replay::MatchEnd::kLeft : replay::MatchEnd::kOver, *combat, recorded));
        return recorded;
    }

    // Plays a replay through and says how it ended.
    ReplayPlayer::Step playThrough(const replay::Replay& recorded, std::uint32_t& frames, std::uint32_t& divergedAt) {
        ReplayPlayer player(recorded, harness.display, nullptr, harness.misc, harness.logger);
        EXPECT_EQ(1, player.load());
        player.combat().setFrameDrawing(false);
        ReplayPlayer::Step step = ReplayPlayer::Step::kPlayed;
        while (step == ReplayPlayer::Step::kPlayed) step = player.playFrame();
        frames = player.framesPlayed();
        divergedAt = player.divergedAt();
        return step;
    }

    // The replay as a file and back.
    static replay::Replay throughAFile(const replay::Replay& recorded) {
        const std::vector<std::uint8_t> bytes = replay::writeReplay(recorded);
        replay::Replay read;
        std::string error;
        EXPECT_TRUE(replay::readReplay(bytes.data(), bytes.size(), read, error)) << error;
        return read;
    }

    static std::vector<replay::Frame> framesOf(const replay::Replay& r) {
        std::vector<replay::Frame> frames;
        replay::FrameCursor cursor = r.frames();
        replay::Frame frame;
        while (cursor.next(frame)) frames.push_back(frame);
        return frames;
    }
};

TEST_F(ReplayPlayerTest, ARecordedMatchPlaysAgainToTheSameEnd) {
    const replay::Replay recorded = throughAFile(recordMatch(21));
    EXPECT_GT(recorded.frameCount, 1000u);
    for (int colour = 0; colour < 4; ++colour) EXPECT_EQ(setup.iScore[colour], recorded.scores[colour]);

    std::uint32_t frames = 0;
    std::uint32_t divergedAt = 0;
    EXPECT_EQ(ReplayPlayer::Step::kEnded, playThrough(recorded, frames, divergedAt));
    EXPECT_EQ(recorded.frameCount, frames);
    EXPECT_EQ(0u, divergedAt);
}

TEST_F(ReplayPlayerTest, AMatchLeftWithEscapeEndsInThatFrame) {
    const replay::Replay recorded = throughAFile(recordMatch(22, 700));
    ASSERT_EQ(700u, recorded.frameCount);
    std::uint32_t frames = 0;
    std::uint32_t divergedAt = 0;
    EXPECT_EQ(ReplayPlayer::Step::kEnded, playThrough(recorded, frames, divergedAt));
    EXPECT_EQ(700u, frames);

    replay::Replay otherEnd = recorded;
    otherEnd.end = replay::MatchEnd::kOver;
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(otherEnd, frames, divergedAt));
    EXPECT_EQ(700u, divergedAt);
}

// Whatever differs, the player stops at the first state hash that does.
TEST_F(ReplayPlayerTest, AnyChangeIsFoundAtTheNextStateHash) {
    const replay::Replay recorded = recordMatch(23);
    std::uint32_t frames = 0;
    std::uint32_t divergedAt = 0;

    replay::Replay badHash = recorded;
    badHash.checkpoints[9] ^= 1;
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(badHash, frames, divergedAt));
    EXPECT_EQ(600u, divergedAt);

    // A millisecond more in one frame of play.
    std::vector<replay::Frame> changed = framesOf(recorded);
    changed[400].ms += 1;
    replay::Replay longer = recorded;
    longer.setFrames(changed);
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(longer, frames, divergedAt));
    EXPECT_EQ(420u, divergedAt);

    // Yellow's keys, from one frame on.
    changed = framesOf(recorded);
    for (std::size_t i = 1000; i < changed.size(); ++i) changed[i].keyBits ^= 0x04;
    replay::Replay otherKeys = recorded;
    otherKeys.setFrames(changed);
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(otherKeys, frames, divergedAt));
    EXPECT_EQ(1020u, divergedAt);

    replay::Replay otherScores = recorded;
    otherScores.scores[2] += 1;
    EXPECT_EQ(ReplayPlayer::Step::kDiverged, playThrough(otherScores, frames, divergedAt));
    EXPECT_EQ(recorded.frameCount, divergedAt);
}

// A replay that carries a fingerprint plays on a game with the same one; a
// game that plays matches differently refuses it before its first frame and
// says so, rather than showing a match that goes astray.
TEST_F(ReplayPlayerTest, AFingerprintedReplayPlaysOnlyOnAGameWithTheSameFingerprint) {
    replay::Replay recorded = recordMatch(24, 300);
    const std::uint64_t ours = replay::GameFingerprint::own(harness.display, harness.misc, harness.logger);
    recorded.fingerprint = ours;
    recorded = throughAFile(recorded);
    std::uint32_t frames = 0;
    std::uint32_t divergedAt = 0;
    EXPECT_EQ(ReplayPlayer::Step::kEnded, playThrough(recorded, frames, divergedAt));

    recorded.fingerprint = ours ^ 1;
    platform::testing::recordMessages(true);
    platform::testing::clearRecordedMessages();
    ReplayPlayer player(recorded, harness.display, nullptr, harness.misc, harness.logger);
    EXPECT_EQ(0, player.load());
    const std::vector<platform::testing::ShownMessage> shown = platform::testing::recordedMessages();
    platform::testing::recordMessages(false);
    ASSERT_EQ(1u, shown.size());
    EXPECT_NE(std::string::npos, shown[0].text.find("recorded by a game that plays matches differently"))
        << shown[0].text;
}

}  // namespace
