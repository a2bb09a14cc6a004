#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "errors/ErrorLogger.h"
#include "platform/Ticks.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/ScratchDirectory.h"

// The whole game between its menu and its matches, driven by pushed events
// on a set clock, one frame at a time as the main loop would run them, in
// a scratch folder of its own.
class ApplicationScene : public ::testing::Test {
protected:
    void SetUp() override {
        resetQuit();
        platform::testing::setTickCount(10000);
        ASSERT_EQ(1, logger.init());
        ASSERT_EQ(1, startGame(logger, window));
    }
    void TearDown() override {
        endGame();
        resetQuit();
    }

    Application& app() { return *g_pApplication; }

    // Frames of the given step until the match plays, or the count runs
    // out; with a spread, steps from stepMs to stepMs + spread in turn, as
    // a busy machine gives them.
    void runFrames(int count, std::uint32_t stepMs = 16, std::uint32_t spread = 0) {
        for (int i = 0; i < count && g_pApplication && app().isMatchRunning(); ++i) {
            platform::testing::advanceTickCount(stepMs + static_cast<std::uint32_t>(i) % (spread + 1));
            drainMessages();
            if (g_pApplication) app().frame();
        }
    }

    void startWithEnter() {
        pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
        drainMessages();
        ASSERT_TRUE(app().isMatchRunning());
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    platform::Window window;
};
