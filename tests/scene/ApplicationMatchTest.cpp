#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreTable.h"
#include "menu/Menu.h"
#include "physics/BallSet.h"
#include "platform/Display.h"
#include "platform/DisplayFaults.h"
#include "platform/EventPump.h"
#include "platform/Ticks.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/RunningGame.h"
#include "support/ScratchDirectory.h"

// The whole game between its menu and its matches, driven by pushed events
// on a set clock, one frame at a time as the main loop would run them.
namespace {

using ApplicationMatchTest = RunningGame;

TEST_F(ApplicationMatchTest, EnterStartsAMatchWithTheBoxesChoice) {
    pushed::click(267, 196);  // green: Player
    drainMessages();
    startMatch();
    EXPECT_EQ(nullptr, app().menu());
    EXPECT_EQ(1, app().playerSetup().bHuman[0]);
    EXPECT_EQ(1, app().playerSetup().bHuman[1]);
    EXPECT_EQ(0, app().playerSetup().bHuman[2]);
    EXPECT_EQ("10", app().combat()->centre().getText());
}

TEST_F(ApplicationMatchTest, SpaceAndTheStartButtonStartAMatchToo) {
    pushed::text(" ");
    drainMessages();
    EXPECT_TRUE(app().isMatchRunning());
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    frames(1);
    ASSERT_NE(nullptr, app().menu());
    pushed::click(300, 380);
    drainMessages();
    EXPECT_TRUE(app().isMatchRunning());
}

TEST_F(ApplicationMatchTest, ClicksAndKeysDuringAMatchChangeNothing) {
    startMatch();
    frames(100);
    Combat* combat = app().combat();
    pushed::click(99, 390);   // where Exit is in the menu
    pushed::text("x");
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    EXPECT_FALSE(quitPosted());
    EXPECT_EQ(combat, app().combat());
}

TEST_F(ApplicationMatchTest, EscapeReturnsToTheMenuWithoutNameEntry) {
    app().playerSetup().bHuman[1] = 1;
    startMatch();
    frames(200);
    pushed::tap(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    drainMessages();
    frames(1);
    ASSERT_NE(nullptr, app().menu());
    EXPECT_FALSE(app().isMatchRunning());
    EXPECT_FALSE(app().highScores()->isTyping());
}

TEST_F(ApplicationMatchTest, AMatchThatEndsByItselfOffersTheBestHumanResult) {
    // Everybody a person and nobody at the keys: the paddles stand still
    // in the middle and the balls decide.
    for (int colour = 0; colour < 4; ++colour) pushed::click(267, 141 + 24 * colour);
    drainMessages();
    startMatch();
    std::int32_t best = 0;
    for (int i = 0; i < 200000 && app().isMatchRunning(); ++i) {
        frames(1);
        if (app().combat() && app().combat()->isMatchOver()) {
            best = 0;
            for (int colour = 0; colour < 4; ++colour) {
                if (app().playerSetup().iScore[colour] > best) best = app().playerSetup().iScore[colour];
            }
        }
    }
    ASSERT_NE(nullptr, app().menu());
    HighScoreTable& table = *app().highScores();
    if (best > 0) {
        EXPECT_TRUE(table.isTyping());
        bool found = false;
        for (int row = 0; row < table.rows(); ++row) found = found || table.score(row) == best;
        EXPECT_TRUE(found) << best;
    } else {
        EXPECT_FALSE(table.isTyping());
    }
}

TEST_F(ApplicationMatchTest, MinimisingAndRestoringResumesWithoutAJump) {
    startMatch();
    frames(120);
    Combat* combat = app().combat();
    ASSERT_TRUE(combat->isPlaying());
    ASSERT_GT(combat->ballSet().count(), 0);
    const double before = combat->ballSet().ballPos(0).x;
    pushed::windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    drainMessages();
    platform::testing::advanceTickCount(30000);
    pushed::windowEvent(SDL_WINDOWEVENT_RESTORED);
    drainMessages();
    frames(1);
    ASSERT_EQ(combat, app().combat());
    ASSERT_GT(combat->ballSet().count(), 0);
    // One 16 ms step at most half a pixel a millisecond, not thirty seconds' worth.
    EXPECT_LT(std::abs(combat->ballSet().ballPos(0).x - before), 10.0);
    EXPECT_LE(combat->frameTime(), 16u);
}

TEST_F(ApplicationMatchTest, DisplayModeChangeRebuildsDisplaySpritesAndArena) {
    startMatch();
    frames(80);
    platform::testing::changeDisplayMode(16);
    // The frame's drawing gives up the arena, and the same frame rebuilds.
    frames(1);
    ASSERT_TRUE(app().combat()->hasArena());
    ASSERT_NE(nullptr, app().display()->platformDisplay());
    EXPECT_EQ(16, app().display()->platformDisplay()->bitsPerPixel());
    frames(1);
    // The green paddle stands on the left, keyed sprite drawn over the arena.
    std::uint8_t r = 0, g = 0, b = 0;
    ASSERT_TRUE(app().display()->readBackBufferPixel(12, 200, r, g, b));
    EXPECT_GT(g, r);
    EXPECT_FALSE(r == 0 && g == 255 && b == 0);
}

TEST_F(ApplicationMatchTest, SwitchingToFullscreenAndBackTakesNoMatchTime) {
    startMatch();
    frames(120);
    Combat* combat = app().combat();
    ASSERT_TRUE(combat->isPlaying());
    for (int i = 0; i < 2; ++i) {
        pushed::tap(SDLK_F11, SDL_SCANCODE_F11);
        platform::testing::advanceTickCount(700);
        drainMessages();
        frames(1);
        ASSERT_EQ(combat, app().combat());
        EXPECT_LE(combat->frameTime(), 16u);
    }
    EXPECT_FALSE(window.isFullscreen());
}

TEST_F(ApplicationMatchTest, ClosingDuringAMatchKeepsTheTable) {
    endGame();
    resetQuit();
    scratch.write("Quadrill.dat", std::string("\x01" "Ann\0\x09\0" "Bo\0\x03\0" "Cy\0\x01\0", 17));
    ASSERT_EQ(1, startGame(logger, window));
    startMatch();
    frames(50);
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    drainMessages();
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(std::string("\x01" "Ann\0\x09\0" "Bo\0\x03\0" "Cy\0\x01\0", 17), scratch.read("Quadrill.dat"));
}

}  // namespace
