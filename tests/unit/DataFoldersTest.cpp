#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "settings/DataFolders.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace {

class DataFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"QUADRILL_DATA_DIR", "QUADRILL_CONFIG_DIR", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                 "XDG_CONFIG_HOME"}) {
            environment.unset(name);
        }
        environment.set("HOME", "/home/ann");
    }

    ScratchDirectory scratch;
    ScopedEnvironment environment;
};

TEST_F(DataFoldersTest, FoldersFollowTheXdgVariablesAndTheHome) {
    EXPECT_EQ("/home/ann/.local/share/quadrill", dataFolders::dataDir());
    EXPECT_EQ("/home/ann/.local/state/quadrill", dataFolders::stateDir());
    EXPECT_EQ("/home/ann/.config/quadrill", dataFolders::configDir());
    EXPECT_EQ("/home/ann/.local/state/quadrill/logError.txt", dataFolders::logPath());

    environment.set("XDG_DATA_HOME", "/srv/data");
    environment.set("XDG_STATE_HOME", "/srv/state");
    environment.set("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ("/srv/data/quadrill", dataFolders::dataDir());
    EXPECT_EQ("/srv/state/quadrill", dataFolders::stateDir());
    EXPECT_EQ("/srv/config/quadrill", dataFolders::configDir());

    // Empty or relative values are not to be used.
    environment.set("XDG_DATA_HOME", "");
    environment.set("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ("/home/ann/.local/share/quadrill", dataFolders::dataDir());
    EXPECT_EQ("/home/ann/.local/state/quadrill", dataFolders::stateDir());

    environment.set("QUADRILL_DATA_DIR", "/media/stick/quadrill");
    environment.set("QUADRILL_CONFIG_DIR", "/media/stick/settings");
    EXPECT_EQ("/media/stick/quadrill", dataFolders::dataDir());
    EXPECT_EQ("/media/stick/quadrill/logError.txt", dataFolders::logPath());
    EXPECT_EQ("/media/stick/quadrill/Quadrill.dat", dataFolders::highScorePath());
    EXPECT_EQ("/media/stick/settings", dataFolders::configDir());
}

TEST_F(DataFoldersTest, WithoutHomeTheUsersEntryIsAsked) {
    environment.unset("HOME");
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(nullptr, user);
    EXPECT_EQ(std::string(user->pw_dir) + "/.config/quadrill", dataFolders::configDir());
}

TEST_F(DataFoldersTest, ATableInTheWorkingDirectoryStaysInUse) {
    EXPECT_EQ("/home/ann/.local/share/quadrill/Quadrill.dat", dataFolders::highScorePath());
    scratch.write("Quadrill.dat", "x");
    EXPECT_EQ("Quadrill.dat", dataFolders::highScorePath());
    // A link of the player's own to a table of their own, too; but not one
    // that leads nowhere, nor anything that is not a file.
    ASSERT_EQ(0, rename("Quadrill.dat", "kept.dat"));
    ASSERT_EQ(0, symlink("kept.dat", "Quadrill.dat"));
    EXPECT_EQ("Quadrill.dat", dataFolders::highScorePath());
    ASSERT_EQ(0, unlink("Quadrill.dat"));
    ASSERT_EQ(0, symlink("elsewhere/Quadrill.dat", "Quadrill.dat"));
    EXPECT_EQ("/home/ann/.local/share/quadrill/Quadrill.dat", dataFolders::highScorePath());
    ASSERT_EQ(0, unlink("Quadrill.dat"));
    ASSERT_EQ(0, mkdir("Quadrill.dat", 0700));
    EXPECT_EQ("/home/ann/.local/share/quadrill/Quadrill.dat", dataFolders::highScorePath());
}

TEST_F(DataFoldersTest, MakeFoldersMakesPrivateFoldersOrSaysWhyNot) {
    std::string reason;
    ASSERT_TRUE(dataFolders::makeFolders(scratch.path() + "/a/b/c", reason)) << reason;
    struct stat info;
    ASSERT_EQ(0, stat((scratch.path() + "/a/b/c").c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777);
    EXPECT_TRUE(dataFolders::makeFolders(scratch.path() + "/a/b/c", reason));

    scratch.write("file", "");
    EXPECT_FALSE(dataFolders::makeFolders(scratch.path() + "/file/sub", reason));
    EXPECT_EQ(scratch.path() + "/file/sub: Not a directory", reason);
    EXPECT_FALSE(dataFolders::makeFolders(scratch.path() + "/file", reason));
}

}  // namespace
