#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "app/Application.h"
#include "errors/ErrorLogger.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

// The whole game, started on a set clock in the menu, driven by pushed
// events and by frames run one at a time as the main loop would run them.
class RunningGame : public ::testing::Test {
protected:
    static constexpr std::uint32_t kStartTicks = 10000;

    void SetUp() override;
    void TearDown() override;

    Application& app();
    // The game started again from the beginning, on the same clock and so
    // with the same dice.
    void restart();
    // Frames of the given step while a match runs unpaused, handing the
    // messages waiting before each to the window procedure; with a spread,
    // steps from stepMs to stepMs + spread in turn, as a busy machine gives them.
    void frames(int count, std::uint32_t stepMs = 16, std::uint32_t spread = 0);
    // Enter in the menu.
    void startMatch();

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    platform::Window window;
};
