#include <gtest/gtest.h>

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

}  // namespace
