#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay/ReplayArchive.h"
#include "replay/ReplayReader.h"
#include "support/ScratchDirectory.h"

namespace {

class ReplayArchiveTest : public ::testing::Test {
protected:
    ReplayArchiveTest() : archive(scratch.path() + "/replays") {
        replay.gameVersion = "1.0";
        replay.setFrames(std::vector<replay::Frame>(70, replay::Frame{16, 0}));
        replay.checkpoints.push_back(7);
        replay.random = MatchRandom().state();
    }

    // Local time, one match a minute from 2026-12-09 10:00.
    static std::time_t minute(int n) {
        std::tm when{};
        when.tm_year = 126;
        when.tm_mon = 11;
        when.tm_mday = 9;
        when.tm_hour = 10;
        when.tm_min = n;
        when.tm_isdst = -1;
        return std::mktime(&when);
    }

    std::string store(std::time_t when) {
        std::string name;
        std::string reason;
        EXPECT_TRUE(archive.store(replay, when, name, reason)) << reason;
        return name;
    }

    ScratchDirectory scratch;
    replay::ReplayArchive archive;
    replay::Replay replay;
};

TEST_F(ReplayArchiveTest, MatchesAreFiledByTheirDateAndTime) {
    EXPECT_EQ("2026-12-09_10-05-00.qrpl", store(minute(5)));
    EXPECT_EQ("2026-12-09_10-05-00-2.qrpl", store(minute(5)));
    EXPECT_EQ((std::vector<std::string>{"2026-12-09_10-05-00.qrpl", "2026-12-09_10-05-00-2.qrpl"}), archive.recent());
    replay::Replay read;
    std::string error;
    EXPECT_TRUE(replay::loadReplay(scratch.path() + "/replays/2026-12-09_10-05-00-2.qrpl", read, error)) << error;
    EXPECT_EQ(70u, read.frameCount);
}

TEST_F(ReplayArchiveTest, TheLastFiftyStayAndThoseInTheTableForGood) {
    const std::string first = store(minute(0));
    const std::string second = store(minute(1));
    std::string reason;
    ASSERT_TRUE(archive.keepForGood(second, 0, 12, reason)) << reason;
    scratch.write("replays/my-favourite.qrpl", "mine");
    for (int n = 2; n < 60; ++n) store(minute(n));

    const std::vector<std::string> kept = archive.recent();
    ASSERT_EQ(51u, kept.size());
    EXPECT_EQ(second, kept.front());
    EXPECT_EQ("2026-12-09_10-10-00.qrpl", kept[1]);
    EXPECT_EQ("2026-12-09_10-59-00.qrpl", kept.back());
    EXPECT_FALSE(scratch.exists(("replays/" + first).c_str()));
    EXPECT_EQ("mine", scratch.read("replays/my-favourite.qrpl"));
}

// The index follows the table: a better result pushes the others down a
// row, and out of the table after the third.
TEST_F(ReplayArchiveTest, TheIndexLinksEachKeptReplayToItsRowNow) {
    std::string reason;
    const std::string a = store(minute(1));
    const std::string b = store(minute(2));
    const std::string c = store(minute(3));
    const std::string d = store(minute(4));
    ASSERT_TRUE(archive.keepForGood(a, 0, 5, reason));
    ASSERT_TRUE(archive.keepForGood(b, 1, 3, reason));
    ASSERT_TRUE(archive.keepForGood(c, 0, 9, reason));
    ASSERT_TRUE(archive.keepForGood(d, 2, 4, reason));
    const std::vector<replay::ReplayArchive::Kept> kept = archive.keptForGood();
    ASSERT_EQ(4u, kept.size());
    EXPECT_EQ(a, kept[0].name);
    EXPECT_EQ(2, kept[0].row);
    EXPECT_EQ(0, kept[1].row);  // b, pushed out of the table
    EXPECT_EQ(1, kept[2].row);  // c
    EXPECT_EQ(3, kept[3].row);  // d
    EXPECT_EQ(4, kept[3].score);

    // Lines that make no sense are passed over.
    scratch.write("replays/kept-for-good.txt", "garbage\n" + a + " 2 5\n../etc/passwd 1 1\n" + b + " 9 1\n");
    ASSERT_EQ(1u, archive.keptForGood().size());
}

}  // namespace
