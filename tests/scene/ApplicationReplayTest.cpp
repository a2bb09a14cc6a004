#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/EntryPoint.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreTable.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayScheduler.h"
#include "support/DisplayHarness.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// Matches played in the game are recorded; recorded ones are watched.
namespace {

class ApplicationReplayTest : public RunningGame {
protected:
    std::vector<std::string> filed() { return replay::ReplayArchive(scratch.path() + "/replays").recent(); }

    // Plays a filed replay headless to its end.
    replay::ReplayPlayer::Step verify(const std::string& name, replay::Replay& recorded) {
        std::string error;
        EXPECT_TRUE(replay::loadReplay(scratch.path() + "/replays/" + name, recorded, error)) << error;
        DisplayHarness harness;
        replay::ReplayPlayer player(recorded, harness.display, nullptr, harness.misc, harness.logger);
        EXPECT_EQ(1, player.load());
        replay::ReplayPlayer::Step step = replay::ReplayPlayer::Step::kPlayed;
        while (step == replay::ReplayPlayer::Step::kPlayed) step = player.playFrame();
        return step;
    }
};

TEST_F(ApplicationReplayTest, AMatchPlayedToItsEndIsFiledAndKeptForGoodWhenItEntersTheTable) {
    // Everybody a person and nobody at the keys, frames of 10 ms.
    for (int colour = 0; colour < 4; ++colour) pushed::click(267, 141 + 24 * colour);
    drainMessages();
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    frames(200000, 10);
    ASSERT_NE(nullptr, app().menu());

    const std::vector<std::string> names = filed();
    ASSERT_EQ(1u, names.size());
    replay::Replay recorded;
    EXPECT_EQ(replay::ReplayPlayer::Step::kEnded, verify(names[0], recorded));
    EXPECT_EQ(replay::MatchEnd::kOver, recorded.end);

    const std::vector<replay::ReplayArchive::Kept> kept =
        replay::ReplayArchive(scratch.path() + "/replays").keptForGood();
    // With this seed (the clock's 10000 ms at the start) green's 1 beats
    // the table's last 0.
    HighScoreTable& table = *app().highScores();
    ASSERT_TRUE(table.isTyping());
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ(names[0], kept[0].name);
    EXPECT_EQ(table.editingRow() + 1, kept[0].row);
    EXPECT_EQ(table.score(table.editingRow()), kept[0].score);
    EXPECT_EQ(kept[0].score, *std::max_element(recorded.scores, recorded.scores + 4));
}

TEST_F(ApplicationReplayTest, AMatchLeftMinimisedOrCutShortIsFiledAsItWentAndWatchedAgain) {
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    frames(300, 10, 12);
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    frames(1);
    ASSERT_NE(nullptr, app().menu());
    platform::testing::advanceTickCount(1000);  // the next match ends in another second

    // Minimised for half a minute in the middle: the replay needs no more
    // than its frames' times to play it the same.
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    frames(250, 10, 12);
    pushed::windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    drainMessages();
    platform::testing::advanceTickCount(30000);
    pushed::windowEvent(SDL_WINDOWEVENT_RESTORED);
    drainMessages();
    frames(250, 10, 12);
    endGame();  // the window closed mid-match

    const std::vector<std::string> names = filed();
    ASSERT_EQ(2u, names.size());
    replay::Replay left;
    EXPECT_EQ(replay::ReplayPlayer::Step::kEnded, verify(names[0], left));
    EXPECT_EQ(replay::MatchEnd::kLeft, left.end);
    replay::Replay cut;
    EXPECT_EQ(replay::ReplayPlayer::Step::kEnded, verify(names[1], cut));
    EXPECT_EQ(replay::MatchEnd::kCutShort, cut.end);
    EXPECT_EQ(500u, cut.frameCount);

    // Watched in the game: Space stops it, Escape leaves, nothing is filed.
    ASSERT_EQ(1, startGame(logger, window));
    ASSERT_EQ(1, app().watchReplay(cut));
    ASSERT_NE(nullptr, app().replayWatch());
    frames(100, 10, 12);
    const std::uint32_t played = app().replayWatch()->framesPlayed();
    EXPECT_GT(played, 50u);
    pushed::key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE);
    drainMessages();
    frames(50, 10, 12);
    EXPECT_GE(app().replayWatch()->framesPlayed(), played);
    EXPECT_LE(app().replayWatch()->framesPlayed(), played + 1);
    ASSERT_FALSE(app().display()->overlay().note().empty());
    EXPECT_EQ("Paused", app().display()->overlay().note()[0]);
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    frames(1);
    EXPECT_EQ(nullptr, app().replayWatch());
    EXPECT_NE(nullptr, app().menu());
    EXPECT_TRUE(app().display()->overlay().note().empty());
    EXPECT_EQ(2u, filed().size());
}

TEST_F(ApplicationReplayTest, AWatchedReplayRunsToItsEndAtItsOwnPace) {
    replay::Replay golden;
    std::string error;
    ASSERT_TRUE(replay::loadReplay(QUADRILL_SOURCE_DIR "/tests/replays/escape-mid-match.qrpl", golden, error)) << error;
    ASSERT_EQ(1, app().watchReplay(golden));
    // Each turn of 17 ms plays one recorded frame of 17 ms.
    for (int turn = 0; turn < 100; ++turn) {
        platform::testing::advanceTickCount(17);
        app().frame();
    }
    EXPECT_EQ(100u, app().replayWatch()->framesPlayed());
    for (int turn = 0; turn < 10000 && app().replayWatch(); ++turn) {
        platform::testing::advanceTickCount(17);
        app().frame();
    }
    EXPECT_EQ(nullptr, app().replayWatch());
    ASSERT_NE(nullptr, app().menu());
    EXPECT_FALSE(app().highScores()->isTyping());
}

TEST_F(ApplicationReplayTest, AReplayThatStopsVerifyingStopsAndSaysWhere) {
    replay::Replay golden;
    std::string error;
    ASSERT_TRUE(replay::loadReplay(QUADRILL_SOURCE_DIR "/tests/replays/escape-mid-match.qrpl", golden, error)) << error;
    golden.checkpoints[9] ^= 1;
    ASSERT_EQ(1, app().watchReplay(golden));
    for (int turn = 0; turn < 1000; ++turn) {
        platform::testing::advanceTickCount(17);
        app().frame();
    }
    ASSERT_NE(nullptr, app().replayWatch());
    EXPECT_EQ(600u, app().replayWatch()->divergedAt());
    EXPECT_EQ(600u, app().replayWatch()->framesPlayed());
    const std::vector<std::string>& note = app().display()->overlay().note();
    ASSERT_EQ(3u, note.size());
    EXPECT_NE(std::string::npos, note[1].find("frame 600"));
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    app().frame();
    EXPECT_NE(nullptr, app().menu());
}

}  // namespace
