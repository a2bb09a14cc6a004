#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
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

// A link someone planted (in an unpacked archive, a shared folder) must
// not turn a save into a write over whatever it names.
TEST_F(SafeSaveTest, OnlyThePlayersOwnLinksToTheirOwnFilesAreWrittenThrough) {
    const uid_t other = ::geteuid() == 0 ? 65534 : 0;
    std::string othersFile = "/etc/passwd";  // as a plain user, root's
    if (::geteuid() == 0) {
        scratch.write("theirs", "their bytes");
        ASSERT_EQ(0, ::chown(at("theirs").c_str(), other, other));
        othersFile = at("theirs");
    }
    auto contents = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string before = contents(othersFile);
    ASSERT_EQ(0, ::symlink(othersFile.c_str(), at("to-theirs").c_str()));
    EXPECT_FALSE(save("to-theirs", "table"));
    EXPECT_EQ("it is a link to a file of another user", reason);
    EXPECT_EQ(before, contents(othersFile));

    ASSERT_EQ(0, ::symlink("nowhere/table.dat", at("dangling").c_str()));
    EXPECT_FALSE(save("dangling", "table"));
    EXPECT_EQ("it is a link that leads to no file", reason);

    scratch.write("mine", "my bytes");
    ASSERT_EQ(0, ::symlink("mine", at("link-to-mine").c_str()));
    if (::geteuid() == 0) {
        // Another user's link to my own file, and my link to theirs.
        ASSERT_EQ(0, ::lchown(at("link-to-mine").c_str(), other, other));
        EXPECT_FALSE(save("link-to-mine", "table"));
        EXPECT_EQ("it is a link another user made", reason);
        EXPECT_EQ("my bytes", scratch.read("mine"));
        ASSERT_EQ(0, ::lchown(at("link-to-mine").c_str(), 0, 0));
    }
    ASSERT_EQ(0, ::symlink("link-to-mine", at("chain").c_str()));
    EXPECT_TRUE(save("chain", "table")) << reason;
    EXPECT_EQ("table", scratch.read("mine"));
    EXPECT_EQ(0777u, modeOf("chain"));
    EXPECT_FALSE(scratch.exists("nowhere"));
}

// A game killed in the middle of a save leaves its hidden new file behind;
// the next save in that folder clears such files once they are a minute
// old, and nothing else.
TEST_F(SafeSaveTest, WhatAKilledSaveLeftIsClearedByTheNextSave) {
    const char* const leftovers[] = {".table.dat.qsave-AbC123", ".settings.ini.qsave-x9Y8z7",
                                     ".2026-12-09_10-05-00.qrpl.qsave-000000"};
    const char* const kept[] = {"table.dat.backup", ".table.dat.qsave-toolong", "table.dat.qsave-AbC123",
                                ".table.dat.qsave-AbC12!"};
    const timeval twoMinutesAgo[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    for (const char* name : leftovers) scratch.write(name, "half a save");
    for (const char* name : kept) scratch.write(name, "a player's own");
    scratch.write(".table.dat.qsave-fresh1", "a save going on right now");
    scratch.write("elsewhere", "x");
    ASSERT_EQ(0, ::symlink("elsewhere", at(".link.qsave-abcdef").c_str()));
    for (const Names::value_type& name : scratch.names()) {
        if (name == ".table.dat.qsave-fresh1") continue;
        ASSERT_EQ(0, ::lutimes(at(name).c_str(), twoMinutesAgo)) << name;
    }

    ASSERT_TRUE(save("table.dat", "whole")) << reason;
    EXPECT_EQ((Names{".link.qsave-abcdef", ".table.dat.qsave-AbC12!", ".table.dat.qsave-fresh1",
                     ".table.dat.qsave-toolong", "elsewhere", "table.dat", "table.dat.backup",
                     "table.dat.qsave-AbC123"}),
              scratch.names());

    // A replay saved under a new name clears them too.
    scratch.write(".2026-12-09_10-06-00.qrpl.qsave-000000", "half a replay");
    platform::testing::setLeftoverAge(0);
    EXPECT_EQ(platform::NewFileResult::Saved, platform::saveNewFileSafely(at("match.qrpl"), "replay", reason));
    platform::testing::setLeftoverAge(-1);
    EXPECT_FALSE(scratch.exists(".2026-12-09_10-06-00.qrpl.qsave-000000"));
    EXPECT_FALSE(scratch.exists(".table.dat.qsave-fresh1"));
    EXPECT_EQ("replay", scratch.read("match.qrpl"));
}

// Two games storing a replay under the same name at once: one has it, the
// other is told the name is taken, and neither file is half of both.
TEST_F(SafeSaveTest, ANewNameIsClaimedWholeOrNotAtAll) {
    EXPECT_EQ(platform::NewFileResult::Saved, platform::saveNewFileSafely(at("match.qrpl"), "first", reason));
    EXPECT_EQ(platform::NewFileResult::NameTaken, platform::saveNewFileSafely(at("match.qrpl"), "second", reason));
    EXPECT_EQ("first", scratch.read("match.qrpl"));
    ASSERT_EQ(0, ::symlink("nowhere", at("planted.qrpl").c_str()));
    EXPECT_EQ(platform::NewFileResult::NameTaken, platform::saveNewFileSafely(at("planted.qrpl"), "third", reason));
    EXPECT_FALSE(scratch.exists("nowhere"));
    platform::testing::setWriteLimit(3);
    EXPECT_EQ(platform::NewFileResult::Failed, platform::saveNewFileSafely(at("full.qrpl"), "fourth", reason));
    EXPECT_EQ("No space left on device", reason);
    EXPECT_EQ((Names{"match.qrpl", "planted.qrpl"}), scratch.names());
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
