#include <gtest/gtest.h>

#include <vector>

#include "platform/FramePacer.h"

namespace {

std::uint64_t g_nowUs = 0;
std::vector<std::uint32_t> g_sleeps;

std::uint64_t testClock() { return g_nowUs; }
void testSleep(std::uint32_t ms) {
    g_sleeps.push_back(ms);
    g_nowUs += ms * 1000ull;
}

// Frames that each take workUs, from a clock that starts at startUs.
std::vector<std::uint32_t> pace(std::uint64_t startUs, int frames, std::uint64_t workUs,
                                std::uint64_t jumpAtFrame = 0, std::int64_t jumpUs = 0) {
    g_nowUs = startUs;
    g_sleeps.clear();
    platform::FramePacer pacer(testClock, testSleep);
    pacer.setRefreshRate(60);
    for (int frame = 1; frame <= frames; ++frame) {
        g_nowUs += workUs;
        if (static_cast<std::uint64_t>(frame) == jumpAtFrame) g_nowUs += static_cast<std::uint64_t>(jumpUs);
        pacer.waitForNextFrame();
    }
    return g_sleeps;
}

TEST(FramePacerTest, MicrosecondsDoNotOverflowAfterFiveHoursOfUptime) {
    const std::uint64_t nanosecondsPerSecond = 1000000000ull;
    // Just past 2^64 / 10^6 ns, where counter * 10^6 used to wrap.
    const std::uint64_t counter = 18446744073709ull * 1000ull + 123456ull;
    EXPECT_EQ(counter / 1000ull, platform::microsecondsOf(counter, nanosecondsPerSecond));
    EXPECT_EQ(1500000ull, platform::microsecondsOf(3, 2));
    EXPECT_EQ(0ull, platform::microsecondsOf(5, 0));
}

TEST(FramePacerTest, NeverWaitsLongerThanOneFrameWhateverTheClockDoes) {
    const std::uint64_t nearOverflowUs = 18446744073709ull * 1000ull - 50000ull;
    const std::uint64_t interval = 16666;
    for (const std::uint64_t start : {std::uint64_t{1000}, nearOverflowUs / 1000, nearOverflowUs}) {
        // Light frames sleep the rest of each interval.
        std::vector<std::uint32_t> sleeps = pace(start, 20, 2000);
        ASSERT_FALSE(sleeps.empty());
        for (std::uint32_t ms : sleeps) EXPECT_LE(ms * 1000ull, interval + 999);

        // The clock jumps back by an hour, then forward by an hour.
        sleeps = pace(start + 7200000000ull, 20, 2000, 10, -3600000000ll);
        for (std::uint32_t ms : sleeps) EXPECT_LE(ms * 1000ull, interval + 999);
        sleeps = pace(start, 20, 2000, 10, 3600000000ll);
        for (std::uint32_t ms : sleeps) EXPECT_LE(ms * 1000ull, interval + 999);
    }
}

// Frames that take almost no time (a headless match) still come one an
// interval, not two at a time.
TEST(FramePacerTest, LightFramesComeOneAnInterval) {
    const std::vector<std::uint32_t> sleeps = pace(5000000, 61, 50);
    std::uint64_t slept = 0;
    for (std::uint32_t ms : sleeps) {
        EXPECT_GE(ms, 16u);
        slept += ms;
    }
    EXPECT_NEAR(1000.0, static_cast<double>(slept), 30.0);
}

TEST(FramePacerTest, KeepsTheRefreshRateAndSleepsOnlyWhatIsLeft) {
    // Frames of 10 ms at 60 Hz leave about 6.7 ms each to sleep.
    const std::vector<std::uint32_t> sleeps = pace(5000000, 30, 10000);
    std::uint64_t slept = 0;
    for (std::uint32_t ms : sleeps) slept += ms;
    EXPECT_NEAR(29 * 6.67, static_cast<double>(slept), 30.0);

    platform::FramePacer pacer(testClock, testSleep);
    pacer.setRefreshRate(144);
    EXPECT_EQ(6944u, pacer.intervalMicroseconds());
    pacer.setRefreshRate(0);  // unknown
    EXPECT_EQ(16666u, pacer.intervalMicroseconds());
}

}  // namespace
