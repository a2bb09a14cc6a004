#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "errors/ErrorLogger.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "replay/MatchRecording.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayReader.h"
#include "support/PlatformFaults.h"
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

TEST_F(ReplayArchiveTest, MatchesAreFiledByTheirNumberDateAndTime) {
    EXPECT_EQ("000001_2026-12-09_10-05-00.qrpl", store(minute(5)));
    EXPECT_EQ("000002_2026-12-09_10-05-00.qrpl", store(minute(5)));
    // A clock put back files later matches after the earlier ones still.
    EXPECT_EQ("000003_2026-12-09_10-01-00.qrpl", store(minute(1)));
    EXPECT_EQ((std::vector<std::string>{"000001_2026-12-09_10-05-00.qrpl", "000002_2026-12-09_10-05-00.qrpl",
                                        "000003_2026-12-09_10-01-00.qrpl"}),
              archive.recent());
    replay::Replay read;
    std::string error;
    EXPECT_TRUE(replay::loadReplay(scratch.path() + "/replays/000002_2026-12-09_10-05-00.qrpl", read, error)) << error;
    EXPECT_EQ(70u, read.frameCount);
}

// Names of older versions, 50 of them dated ahead of today's clock (a clock
// once set ahead, a move west): the match just stored is never the one let
// go, and they leave first.
TEST_F(ReplayArchiveTest, TheReplayJustStoredIsNeverLetGo) {
    ASSERT_EQ(0, mkdir((scratch.path() + "/replays").c_str(), 0700));
    for (int n = 1; n <= 50; ++n) {
        scratch.write(("replays/2099-01-01_00-00-00" + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".qrpl")
                          .c_str(),
                      "old");
    }
    const std::string stored = store(minute(0));
    EXPECT_EQ("000001_2026-12-09_10-00-00.qrpl", stored);
    replay::Replay read;
    std::string error;
    EXPECT_TRUE(replay::loadReplay(scratch.path() + "/replays/" + stored, read, error)) << error;
    std::vector<std::string> filed = archive.recent();
    ASSERT_EQ(50u, filed.size());
    EXPECT_EQ("2099-01-01_00-00-00-2.qrpl", filed.front());
    EXPECT_EQ(stored, filed.back());

    // Numbers too far ahead are no different.
    scratch.write("replays/999999999_2099-01-01_00-00-00.qrpl", "planted");
    EXPECT_EQ("1000000000_2026-12-09_10-01-00.qrpl", store(minute(1)));
    filed = archive.recent();
    ASSERT_EQ(50u, filed.size());
    EXPECT_EQ("1000000000_2026-12-09_10-01-00.qrpl", filed.back());
}

// Two games sharing the folder, filing at the same moment under the same
// date and time: each replay keeps a name of its own, whole.
TEST_F(ReplayArchiveTest, TwoGamesFilingTogetherKeepEveryReplay) {
    constexpr int kEach = 20;
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        replay::ReplayArchive theirs(scratch.path() + "/replays");
        bool all = true;
        for (int i = 0; i < kEach; ++i) {
            std::string name;
            std::string reason;
            all = theirs.store(replay, minute(7), name, reason) && all;
        }
        _exit(all ? 0 : 1);
    }
    for (int i = 0; i < kEach; ++i) store(minute(7));
    int status = 0;
    ASSERT_EQ(other, waitpid(other, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::vector<std::string> filed = archive.recent();
    EXPECT_EQ(static_cast<std::size_t>(2 * kEach), filed.size());
    for (const std::string& name : filed) {
        replay::Replay read;
        std::string error;
        EXPECT_TRUE(replay::loadReplay(scratch.path() + "/replays/" + name, read, error)) << name << ": " << error;
    }
}

// A replay that cannot be kept is told to the player in the window, as a
// table that cannot be saved is.
TEST_F(ReplayArchiveTest, AReplayThatCannotBeSavedIsToldWithItsReason) {
    PlatformFaults faults;
    ErrorLogger logger;
    ASSERT_EQ(1, logger.init());
    replay::Seat seats[4];
    seats[0] = replay::Seat{replay::Device::kKeyboard, 0};
    replay::MatchRecording recording(seats, MatchRandom().state(), scratch.path() + "/replays", 0x1234, &logger);
    for (int frame = 0; frame < 40; ++frame) recording.recorder().addFrame(16, 0, 1);
    platform::testing::setWriteLimit(10);  // the disk fills up
    const std::int32_t scores[4] = {1, 0, 0, 0};
    recording.file(replay::MatchEnd::kOver, 5, scores);
    platform::testing::setWriteLimit(-1);
    EXPECT_TRUE(recording.filedAs().empty());
    const auto& told = platform::testing::recordedMessages();
    ASSERT_EQ(1u, told.size());
    EXPECT_EQ("Could not save the match's replay in " + scratch.path() + "/replays: No space left on device.",
              told[0].text);
    EXPECT_EQ(told[0].text, recording.failure());
    EXPECT_TRUE(archive.recent().empty());
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
    EXPECT_EQ("000011_2026-12-09_10-10-00.qrpl", kept[1]);
    EXPECT_EQ("000060_2026-12-09_10-59-00.qrpl", kept.back());
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
