#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/SafeSave.h"
#include "support/PlainUser.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

namespace {

using Names = std::vector<std::string>;

class SafeSaveTest : public ::testing::Test {
protected:
    std::string at(const std::string& name) const { return scratch.path() + "/" + name; }
    unsigned modeOf(const std::string& name) const {
        struct stat info;
        return ::lstat(at(name).c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    bool save(const std::string& name, const std::string& bytes) {
        return platform::saveFileSafely(at(name), bytes, reason);
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    std::string reason;
};

TEST_F(SafeSaveTest, ReplacesTheWholeFileKeepingItsPermissionsAndSyncsTheFolder) {
    scratch.write("table.dat", "old bytes, more of them");
    ASSERT_EQ(0, ::chmod(at("table.dat").c_str(), 0640));
    ASSERT_TRUE(save("table.dat", "new")) << reason;
    EXPECT_EQ("new", scratch.read("table.dat"));
    EXPECT_EQ(0640u, modeOf("table.dat"));
    EXPECT_EQ(Names{"table.dat"}, scratch.names());
    EXPECT_EQ(scratch.path(), platform::testing::lastSyncedFolder());
}

TEST_F(SafeSaveTest, WhatLiesBesideTheFileIsNeverWrittenThrough) {
    // A link where an older game put its temporary file, and another copy
    // of the game's file half written under that same name.
    scratch.write("victim", "precious");
    ASSERT_EQ(0, ::symlink(at("victim").c_str(), at("table.dat.new").c_str()));
    ASSERT_TRUE(save("table.dat", "first")) << reason;
    EXPECT_EQ("precious", scratch.read("victim"));
    ASSERT_EQ(0, ::unlink(at("table.dat.new").c_str()));
    scratch.write("table.dat.new", "someone else's");
    ASSERT_TRUE(save("table.dat", "second")) << reason;
    EXPECT_EQ("second", scratch.read("table.dat"));
    EXPECT_EQ("someone else's", scratch.read("table.dat.new"));
    EXPECT_EQ((Names{"table.dat", "table.dat.new", "victim"}), scratch.names());
}

TEST_F(SafeSaveTest, TwoGamesSavingInOneFolderNeverMeet) {
    const std::string mine(300, 'm');
    const std::string theirs(200, 't');
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        std::string why;
        bool all = true;
        for (int i = 0; i < 60; ++i) all = platform::saveFileSafely(at("table.dat"), theirs, why) && all;
        ::_exit(all ? 0 : 1);
    }
    int failed = 0;
    for (int i = 0; i < 60; ++i) failed += save("table.dat", mine) ? 0 : 1;
    int status = 0;
    ASSERT_EQ(other, ::waitpid(other, &status, 0));
    EXPECT_EQ(0, failed) << reason;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string last = scratch.read("table.dat");
    EXPECT_TRUE(last == mine || last == theirs) << last.size() << " bytes";
    EXPECT_EQ(Names{"table.dat"}, scratch.names());
}

TEST_F(SafeSaveTest, ALinkIsWrittenThroughToTheFileItNames) {
    ASSERT_EQ(0, ::mkdir(at("real").c_str(), 0755));
    scratch.write("real/table.dat", "old");
    ASSERT_EQ(0, ::chmod(at("real/table.dat").c_str(), 0600));
    ASSERT_EQ(0, ::symlink("real/table.dat", at("table.dat").c_str()));
    ASSERT_TRUE(save("table.dat", "new")) << reason;
    EXPECT_EQ(0777u, modeOf("table.dat"));  // still the link
    EXPECT_EQ("new", scratch.read("real/table.dat"));
    EXPECT_EQ(0600u, modeOf("real/table.dat"));
    EXPECT_EQ((Names{"real", "table.dat"}), scratch.names());
    EXPECT_EQ(Names{"table.dat"}, scratch.names("real"));
    EXPECT_EQ(at("real"), platform::testing::lastSyncedFolder());
}

TEST_F(SafeSaveTest, AFolderOfThatNameIsNeverReplaced) {
    ASSERT_EQ(0, ::mkdir(at("table.dat").c_str(), 0755));
    scratch.write("table.dat/inside", "kept");
    EXPECT_FALSE(save("table.dat", "new"));
    EXPECT_EQ("Is a directory", reason);
    EXPECT_EQ("kept", scratch.read("table.dat/inside"));
    EXPECT_EQ(Names{"table.dat"}, scratch.names());
}

TEST_F(SafeSaveTest, AFolderWeMayNotWriteInHasItsFileRewrittenInPlace) {
    ASSERT_EQ(0, ::mkdir(at("locked").c_str(), 0755));
    scratch.write("locked/table.dat", "the old table, longer");
    ASSERT_EQ(0, ::chmod(at("locked/table.dat").c_str(), 0600));
    ASSERT_EQ(0, ::chmod(at("locked").c_str(), 0500));
    const std::string file = at("locked/table.dat");
    const std::string absent = at("locked/other.dat");
    EXPECT_TRUE(asPlainUser(scratch.path(), [&] {
        std::string why;
        return platform::saveFileSafely(file, "new", why) && !platform::saveFileSafely(absent, "x", why) &&
               why == "Permission denied";
    }));
    EXPECT_EQ("new", scratch.read("locked/table.dat"));
    EXPECT_EQ(0600u, modeOf("locked/table.dat"));
    EXPECT_EQ(Names{"table.dat"}, scratch.names("locked"));
}

}  // namespace
