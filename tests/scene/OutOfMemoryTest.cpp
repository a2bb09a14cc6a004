#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "app/EntryPoint.h"
#include "app/Shell.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "menu/HighScoreTable.h"
#include "platform/EventPump.h"
#include "platform/FramePacer.h"
#include "platform/MessageBox.h"
#include "platform/Ticks.h"
#include "platform/Window.h"
#include "support/FailingAllocator.h"
#include "support/PlatformFaults.h"
#include "support/PushedEvents.h"
#include "support/ScratchDirectory.h"

// Running out of memory anywhere in the start, or between the menu and a
// match, tells the player, keeps the table and ends in order with 0.
namespace {

const std::string kTable("\x01" "Ann\0\x09\0" "Bo\0\x03\0" "Cy\0\x01\0", 17);

struct AllocatorGuard {
    ~AllocatorGuard() { failingAllocator::stop(); }
};

int runWholeStart() {
    resetQuit();
    // The loop's first turn closes the window: the run is the start alone.
    platform::requestClose();
    char name[] = "quadrill";
    char* argv[] = {name, nullptr};
    const int code = runQuadrill(1, argv);
    resetQuit();
    return code;
}

TEST(OutOfMemoryTest, AnyAllocationOfTheStartFailingEndsInOrder) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    AllocatorGuard guard;
    scratch.write("Quadrill.dat", kTable);

    failingAllocator::failAfter(0);
    ASSERT_EQ(0, runWholeStart());
    const long allocations = failingAllocator::counted();
    failingAllocator::stop();
    ASSERT_GT(allocations, 10);

    // Every allocation while the start makes a few hundred (a surface or a
    // font lost when the object meant to hold it cannot be made is one
    // allocation wide); past that, a spread of them, which would take long
    // under the sanitizers otherwise.
    const long step = allocations / 400 + 1;
    for (long nth = 1; nth <= allocations; nth += step) {
        platform::testing::clearRecordedMessages();
        failingAllocator::failAfter(nth);
        int code = -1;
        try {
            code = runWholeStart();
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << "escaped at allocation " << nth;
        }
        EXPECT_EQ(0, code) << nth;
        // The first start made what later ones find made already.
        if (!failingAllocator::fired()) break;
        failingAllocator::stop();
        EXPECT_FALSE(platform::testing::recordedMessages().empty()) << nth;
        EXPECT_EQ(kTable, scratch.read("Quadrill.dat")) << nth << " of " << allocations;
        EXPECT_EQ(nullptr, g_pApplication.get());
    }
}

TEST(OutOfMemoryTest, AMatchThatCannotBeMadeStillKeepsTheNamesTyped) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    AllocatorGuard guard;
    resetQuit();
    platform::testing::setTickCount(10000);
    ErrorLogger logger;
    ASSERT_EQ(1, logger.init());
    platform::Window window;
    ASSERT_EQ(1, startGame(logger, window));
    g_pApplication->highScores()->setName(0, "Zed");

    failingAllocator::failSize(sizeof(Combat));
    pushed::tap(SDLK_RETURN, SDL_SCANCODE_RETURN);
    // The main loop's turns: the Enter that fails to make the match, then
    // the close request it leaves.
    platform::FramePacer pacer;
    EXPECT_TRUE(mainLoopTurn(pacer));
    failingAllocator::stop();
    ASSERT_EQ(1u, platform::testing::recordedMessages().size());
    EXPECT_EQ("Chyba!", platform::testing::recordedMessages()[0].caption);
    EXPECT_FALSE(mainLoopTurn(pacer));
    EXPECT_EQ(nullptr, g_pApplication.get());
    endGame();
    resetQuit();
    EXPECT_EQ(std::string("\x02" "Zed\0\x05\0", 7), scratch.read("Quadrill.dat").substr(0, 7));
}

}  // namespace
