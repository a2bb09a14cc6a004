#include "support/RunningGame.h"

#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "platform/Ticks.h"
#include "support/PushedEvents.h"

void RunningGame::SetUp() {
    resetQuit();
    platform::testing::setTickCount(kStartTicks);
    ASSERT_EQ(1, logger.init());
    ASSERT_EQ(1, startGame(logger, window));
}

void RunningGame::TearDown() {
    endGame();
    resetQuit();
}

Application& RunningGame::app() { return *g_pApplication; }

void RunningGame::restart() {
    endGame();
    resetQuit();
    platform::testing::setTickCount(kStartTicks);
    ASSERT_EQ(1, startGame(logger, window));
}

void RunningGame::frames(int count, std::uint32_t stepMs, std::uint32_t spread) {
    for (int i = 0; i < count && g_pApplication && app().wantsFrames(); ++i) {
        platform::testing::advanceTickCount(stepMs + static_cast<std::uint32_t>(i) % (spread + 1));
        drainMessages();
        if (g_pApplication && app().wantsFrames()) app().frame();
    }
}

void RunningGame::startMatch() {
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    drainMessages();
    ASSERT_TRUE(app().isMatchRunning());
}
