#include <gtest/gtest.h>

#include <chrono>

#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "errors/ErrorLogger.h"
#include "platform/FramePacer.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/ScratchDirectory.h"

namespace {

TEST(MainLoopTest, FramesFollowTheRefreshOfTheDisplayTheWindowMovesTo) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    resetQuit();
    ErrorLogger logger;
    ASSERT_EQ(1, logger.init());
    platform::Window window;
    ASSERT_EQ(1, startGame(logger, window));
    platform::FramePacer pacer;

    platform::testing::setDisplayRefreshRate(144);
    pushed::windowEvent(SDL_WINDOWEVENT_DISPLAY_CHANGED);
    EXPECT_TRUE(mainLoopTurn(pacer));
    EXPECT_EQ(6944u, pacer.intervalMicroseconds());

    platform::testing::setDisplayRefreshRate(120);
    pushed::windowEvent(SDL_WINDOWEVENT_MOVED);
    EXPECT_TRUE(mainLoopTurn(pacer));
    EXPECT_EQ(8333u, pacer.intervalMicroseconds());
    endGame();
    resetQuit();
}

// A page calls one turn at each display refresh: the turn takes every
// message waiting, and in the idle menu returns at once instead of sleeping
// until the next message (a minute, with no caret to blink).
TEST(MainLoopTest, ARefreshTurnTakesEveryWaitingMessageAndNeverWaits) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    resetQuit();
    ErrorLogger logger;
    ASSERT_EQ(1, logger.init());
    platform::Window window;
    ASSERT_EQ(1, startGame(logger, window));
    drainMessages();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(refreshTurn());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // A moved window, then the close: one turn reaches the close.
    pushed::windowEvent(SDL_WINDOWEVENT_MOVED);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(refreshTurn());
    endGame();
    resetQuit();
}

}  // namespace
