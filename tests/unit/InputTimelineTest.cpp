#include "net/InputTimeline.h"

#include <gtest/gtest.h>

namespace {

using net::InputRun;
using net::InputTimeline;
using net::kNobody;

// Green and yellow on machine 0, red on machine 1, blue on machine 2.
InputTimeline threeMachines() {
    InputTimeline timeline;
    const std::uint8_t owners[4] = {0, 0, 1, 2};
    timeline.begin(owners);
    return timeline;
}

TEST(InputTimeline, KeepsOnlyAMachinesOwnColoursAndNoGaps) {
    InputTimeline timeline = threeMachines();
    const InputRun runs[2] = {{3, 0xFF}, {2, 0x10}};
    EXPECT_EQ(timeline.add(1, 0, runs, 2), 5u);
    EXPECT_EQ(timeline.keys(1, 0), 0x30);  // red's two keys of all eight
    EXPECT_EQ(timeline.keys(1, 4), 0x10);
    // Frames already held are not changed, and a gap is not left open.
    const InputRun later[1] = {{4, 0x20}};
    EXPECT_EQ(timeline.add(1, 3, later, 1), 2u);
    EXPECT_EQ(timeline.keys(1, 4), 0x10);
    EXPECT_EQ(timeline.keys(1, 6), 0x20);
    EXPECT_EQ(timeline.add(1, 9, later, 1), 0u);
    EXPECT_EQ(timeline.held(1), 7u);
}

TEST(InputTimeline, ConfirmedFramesWaitForTheSlowestMachineUntilItLeaves) {
    InputTimeline timeline = threeMachines();
    const InputRun ten[1] = {{10, 0}};
    const InputRun four[1] = {{4, 0}};
    timeline.add(0, 0, ten, 1);
    timeline.add(1, 0, ten, 1);
    timeline.add(2, 0, four, 1);
    EXPECT_EQ(timeline.confirmed(), 4u);

    // Blue's machine goes after frame 6; until its frames 4 and 5 arrive
    // the others wait, then only they count.
    timeline.leave(2, 6);
    EXPECT_EQ(timeline.confirmed(), 4u);
    const InputRun two[1] = {{5, 0xC0}};
    timeline.add(2, 4, two, 1);
    EXPECT_EQ(timeline.held(2), 6u);
    EXPECT_EQ(timeline.confirmed(), 10u);

    std::uint8_t human[4];
    timeline.people(5, human);
    EXPECT_EQ(human[3], 1);
    timeline.people(6, human);
    EXPECT_EQ(human[3], 0);
    EXPECT_EQ(human[2], 1);
}

TEST(InputTimeline, FramesGoOutAsRunsWithinTheLimits) {
    InputTimeline timeline = threeMachines();
    for (std::uint32_t frame = 0; frame < 300; ++frame) timeline.add(0, frame, frame < 280 ? 0x01 : 0x02);
    InputRun runs[4];
    EXPECT_EQ(timeline.runsFrom(0, 0, 64, runs, 4, 255), 1);
    EXPECT_EQ(runs[0].length, 64);
    EXPECT_EQ(timeline.runsFrom(0, 270, 64, runs, 4, 255), 2);
    EXPECT_EQ(runs[0].length, 10);
    EXPECT_EQ(runs[1].length, 20);
    EXPECT_EQ(runs[1].bits, 0x02);
    EXPECT_EQ(timeline.keyMask(3), 0);
    const std::uint8_t nobody[4] = {kNobody, kNobody, kNobody, kNobody};
    timeline.begin(nobody);
    EXPECT_EQ(timeline.confirmed(), net::kMaxFrame);
}

}  // namespace
