#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/CommandLine.h"
#include "app/GameClock.h"
#include "app/Shell.h"
#include "app/scenes/LocalMatchScene.h"
#include "app/scenes/MenuScene.h"
#include "app/scenes/OnlineMatchScene.h"
#include "app/scenes/ReplayScene.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreTable.h"
#include "platform/GamePads.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "platform/ScreenOverlay.h"
#include "platform/Ticks.h"
#include "platform/VirtualPad.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayReader.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"

// The game's scenes handing over to each other, as events reach them.
namespace {

template <typename Wanted>
bool current(Application& app) {
    return dynamic_cast<Wanted*>(app.scene()) != nullptr;
}

class ApplicationScenesTest : public RunningGame {
protected:
    // A room of this machine alone, hosting on a free port.
    void host() {
        CommandLine options;
        options.netRole = CommandLine::NetRole::Host;
        options.netPort = 0;
        ASSERT_TRUE(app().goOnline(options));
    }
    // Turns of the main loop while online: the room heard, a frame, the
    // room told.
    void onlineTurns(int count, std::uint32_t stepMs = 10) {
        for (int i = 0; i < count && g_pApplication; ++i) {
            platform::testing::advanceTickCount(stepMs);
            drainMessages();
            if (!g_pApplication) return;
            app().receiveNetwork();
            if (app().wantsFrames()) app().frame();
            app().sendNetwork();
        }
    }
    std::string note() {
        std::string text;
        for (const std::string& line : app().display()->overlay().note()) text += line + "\n";
        return text;
    }
};

TEST_F(ApplicationScenesTest, MenuToAMatchAndBackWhetherLeftOrPlayedOut) {
    ASSERT_TRUE(current<MenuScene>(app()));
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(current<LocalMatchScene>(app()));
    frames(50);
    // Paused, Escape leaves; the pause and its note do not follow into the menu.
    pushed::tap(SDLK_p, SDL_SCANCODE_P);
    drainMessages();
    ASSERT_TRUE(app().isPaused());
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    ASSERT_TRUE(current<MenuScene>(app()));
    EXPECT_FALSE(app().isPaused());
    EXPECT_FALSE(app().clock().isPaused());
    EXPECT_TRUE(app().display()->overlay().note().empty());
    // Played to its end, the menu comes back by itself.
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(current<LocalMatchScene>(app()));
    frames(200000, 10);
    EXPECT_TRUE(current<MenuScene>(app()));
}

TEST_F(ApplicationScenesTest, MenuToAReplayAndBack) {
    replay::Replay golden;
    std::string error;
    ASSERT_TRUE(replay::loadReplay(QUADRILL_SOURCE_DIR "/tests/replays/escape-mid-match.qrpl", golden, error)) << error;
    ASSERT_EQ(1, app().watchReplay(golden));
    ASSERT_TRUE(current<ReplayScene>(app()));
    // A replay is not the players' match: P neither pauses it nor is kept.
    pushed::tap(SDLK_p, SDL_SCANCODE_P);
    drainMessages();
    EXPECT_FALSE(app().isPaused());
    frames(20, 17);
    pushed::key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    frames(1, 17);
    EXPECT_TRUE(current<MenuScene>(app()));
    // Only from the menu.
    pushed::key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    EXPECT_EQ(0, app().watchReplay(golden));
    EXPECT_TRUE(current<LocalMatchScene>(app()));
}

TEST_F(ApplicationScenesTest, TheRoomToItsMatchAndBack) {
    host();
    ASSERT_TRUE(current<MenuScene>(app()));
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(current<OnlineMatchScene>(app()));
    EXPECT_TRUE(app().runsInBackground());
    onlineTurns(100);
    ASSERT_TRUE(current<OnlineMatchScene>(app()));
    // P pauses the room, and the note says so.
    pushed::tap(SDLK_p, SDL_SCANCODE_P);
    drainMessages();
    onlineTurns(2);
    ASSERT_TRUE(app().isPaused());
    EXPECT_NE(std::string::npos, note().find("Every machine waits")) << note();
    // Escape leaves the room's match; the host's leaving ends it.
    pushed::key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    onlineTurns(2);
    EXPECT_TRUE(current<MenuScene>(app()));
    EXPECT_TRUE(app().display()->overlay().note().empty());
    EXPECT_TRUE(app().isOnline());
}

TEST_F(ApplicationScenesTest, AMatchThatCannotBeLoadedClosesTheGameKeepingTheTable) {
    app().highScores()->setName(0, "Zed");
    platform::testing::setResourceFault("txtGame", platform::ResourceResult::NotFound);
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_FALSE(platform::testing::recordedMessages().empty());
    EXPECT_EQ("Unable to open internal file: \"txtGame\"!", platform::testing::recordedMessages().back().text);
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(nullptr, g_pApplication);
    EXPECT_EQ("Zed", scratch.read("Quadrill.dat").substr(1, 3));
}

// Online, a pad pulled out in the match holds the whole room, as P does,
// and names its colour; the pad back, or another pad's A, plays it again.
TEST_F(ApplicationScenesTest, OnlineAPadPulledOutPausesTheRoomUntilItsColourIsTakenBack) {
    host();
    auto pad = std::make_unique<platform::VirtualPad>();
    drainMessages();
    pad->tap(platform::padButton::kA);  // yellow
    drainMessages();
    ASSERT_EQ(1, app().padClaims().colourOf(1));
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(app().isMatchRunning());
    onlineTurns(50);

    pad->unplug();
    drainMessages();
    onlineTurns(2);
    ASSERT_TRUE(app().isPaused());
    EXPECT_NE(std::string::npos, note().find("The yellow pad is unplugged")) << note();
    EXPECT_TRUE(app().padClaims().isWaiting(1));

    auto back = std::make_unique<platform::VirtualPad>();
    drainMessages();
    onlineTurns(2);
    EXPECT_FALSE(app().isPaused());
    EXPECT_EQ(1, app().padClaims().colourOf(1));

    // Pulled out again, a pad that plays no colour takes it with A.
    auto other = std::make_unique<platform::VirtualPad>();
    drainMessages();
    back->unplug();
    drainMessages();
    onlineTurns(2);
    ASSERT_TRUE(app().isPaused());
    other->tap(platform::padButton::kA);
    drainMessages();
    onlineTurns(2);
    EXPECT_FALSE(app().isPaused());
    EXPECT_NE(0, app().padClaims().padOf(1));
    EXPECT_TRUE(app().isMatchRunning());
}

// Online as here, a result that enters the table keeps its replay for good.
TEST_F(ApplicationScenesTest, OnlineAResultThatEntersTheTableKeepsItsReplayForGood) {
    // Started a millisecond later than the others: this seed's match ends
    // with a person ahead.
    endGame();
    resetQuit();
    platform::testing::setTickCount(kStartTicks + 1);
    ASSERT_EQ(1, startGame(logger, window));
    // Everybody a person and nobody at the keys: the balls decide.
    for (int colour = 0; colour < 4; ++colour) pushed::click(267, 141 + 24 * colour);
    drainMessages();
    host();
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(app().isMatchRunning());
    for (int turn = 0; turn < 400000 && app().isMatchRunning(); ++turn) onlineTurns(1);
    ASSERT_FALSE(app().isMatchRunning());
    HighScoreTable& table = *app().highScores();
    ASSERT_TRUE(table.isTyping()) << "this seed's match gives a person a result for the table";

    replay::ReplayArchive archive(scratch.path() + "/replays");
    const std::vector<std::string> filed = archive.recent();
    ASSERT_EQ(1u, filed.size());
    const std::vector<replay::ReplayArchive::Kept> kept = archive.keptForGood();
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ(filed[0], kept[0].name);
    EXPECT_EQ(table.editingRow() + 1, kept[0].row);
    EXPECT_EQ(table.score(table.editingRow()), kept[0].score);
}

}  // namespace
