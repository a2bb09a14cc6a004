#include <gtest/gtest.h>

#include <new>

#include "app/OutOfMemory.h"
#include "app/WindowSize.h"
#include "platform/EventPump.h"
#include "platform/MessageBox.h"
#include "support/PlatformFaults.h"

namespace {

TEST(WindowSizeTest, LargestWholeMultipleInEightyFivePercentOfTheDesktop) {
    EXPECT_EQ(400, windowSideFor(0));       // unknown
    EXPECT_EQ(400, windowSideFor(768));
    EXPECT_EQ(400, windowSideFor(800));
    EXPECT_EQ(800, windowSideFor(1080));
    EXPECT_EQ(1200, windowSideFor(1440));
    EXPECT_EQ(1600, windowSideFor(2160));
    EXPECT_EQ(800, windowSideFor(2160, 1000));  // an upright screen
    // Too small for the picture: a window that fits, the picture scaled down.
    EXPECT_EQ(340, windowSideFor(400));
    EXPECT_EQ(200, windowSideFor(100));
}

TEST(WindowSizeTest, TheSizeLeftLastTimeComesBackWhereItFits) {
    int width = 0;
    int height = 0;
    firstWindowSize(0, 0, 1080, 1920, width, height);
    EXPECT_EQ(800, width);
    EXPECT_EQ(800, height);
    firstWindowSize(1000, 700, 1080, 1920, width, height);
    EXPECT_EQ(1000, width);
    EXPECT_EQ(700, height);
    firstWindowSize(2400, 1600, 1040, 1920, width, height);  // kept from a bigger screen
    EXPECT_EQ(1920, width);
    EXPECT_EQ(1040, height);
    firstWindowSize(50, 60, 1080, 1920, width, height);
    EXPECT_EQ(200, width);
    EXPECT_EQ(200, height);
}

TEST(OutOfMemoryTest, TellsTheSizeAsksToCloseAndEndsTheOperation) {
    PlatformFaults faults;
    platform::clearCloseRequest();
    EXPECT_THROW(reportOutOfMemory(123456), std::bad_alloc);
    ASSERT_EQ(1u, platform::testing::recordedMessages().size());
    EXPECT_EQ("Chyba!", platform::testing::recordedMessages()[0].caption);
    EXPECT_EQ("Insufficient memory to create an object!\nMemory needed: 123456",
              platform::testing::recordedMessages()[0].text);
    EXPECT_TRUE(platform::closeRequested());
    platform::clearCloseRequest();

    char buffer[100];
    // A huge size still fits the buffer.
    EXPECT_LT(std::string(outOfMemoryText(static_cast<std::size_t>(-1), buffer)).size(), 100u);
}

}  // namespace
