#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>

#include <cstdlib>
#include <string>
#include <vector>

#include "combat/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "resources/TextFileReader.h"
#include "settings/DataFolders.h"
#include "support/PlainUser.h"
#include "support/PlatformFaults.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace {

const std::string kDefaultBytes("\x02" "Ball\0\x05\0" "Bead\0\x02\0" "Blob\0\0\0", 22);

class HighScoreFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextFileReader reader;
        ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
        for (int i = 0; i < 4; ++i) reader.readInt();
        table.load(reader);
        ASSERT_EQ(1, logger.init());
    }

    highScoreFile::Found read(HighScoreTable& into, PlayerSetup& players) {
        return highScoreFile::read(dataFolders::highScorePath(), into, players, reason);
    }
    bool write(std::uint8_t bits) { return highScoreFile::write(dataFolders::highScorePath(), table, bits, reason); }

    std::string rows() const {
        std::string text;
        for (int r = 0; r < table.rows(); ++r) text += table.name(r) + ":" + std::to_string(table.score(r)) + " ";
        return text;
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    DisplayDevice display;
    HighScoreTable table{display};
    PlayerSetup setup;
    std::string reason;
};

TEST_F(HighScoreFileTest, DefaultsAreStoredAsTheirTwentyTwoBytes) {
    EXPECT_EQ(highScoreFile::Found::NoFile, read(table, setup));
    ASSERT_EQ(1, highScoreFile::readDefaults(table, setup, logger));
    EXPECT_EQ("Ball:5 Bead:2 Blob:0 ", rows());
    EXPECT_EQ(0, setup.bHuman[0]);
    EXPECT_EQ(1, setup.bHuman[1]);
    EXPECT_EQ(0, setup.bHuman[2]);
    EXPECT_EQ(0, setup.bHuman[3]);
    ASSERT_TRUE(write(highScoreFile::playerBitsOf(setup))) << reason;
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_EQ(std::vector<std::string>{"Quadrill.dat"}, scratch.names());
}

TEST_F(HighScoreFileTest, MissingDefaultsAreReported) {
    platform::testing::setResourceFault("txtHiScore", platform::ResourceResult::NotFound);
    EXPECT_EQ(0, highScoreFile::readDefaults(table, setup, logger));
    ASSERT_EQ(1u, platform::testing::recordedMessages().size());
    EXPECT_EQ("Unable to open internal file: \"txtHiScore\"!", platform::testing::recordedMessages()[0].text);
}

TEST_F(HighScoreFileTest, RoundTripWithEmptyNameAndAllPlayers) {
    table.setName(0, "Ann");
    table.setScore(0, -7);
    table.setName(1, "");
    table.setScore(1, 300);
    table.setName(2, "Zed");
    table.setScore(2, 1);
    ASSERT_TRUE(write(0x0F)) << reason;
    EXPECT_EQ(std::string("\x0F" "Ann\0\xF9\xFF" "\0\x2C\x01" "Zed\0\x01\0", 16), scratch.read("Quadrill.dat"));
    HighScoreTable again(display);
    TextFileReader reader;
    ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
    for (int i = 0; i < 4; ++i) reader.readInt();
    again.load(reader);
    PlayerSetup players;
    ASSERT_EQ(highScoreFile::Found::File, read(again, players));
    for (int c = 0; c < 4; ++c) EXPECT_EQ(1, players.bHuman[c]);
    EXPECT_EQ("", again.name(1));
    EXPECT_EQ(300, again.score(1));
    EXPECT_EQ(-7, again.score(0));
}

TEST_F(HighScoreFileTest, BadFilesGiveDefinedValues) {
    struct Case {
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"", ":0 :0 :0 "},
        {"\x0F", ":0 :0 :0 "},
        {std::string("\x02" "Bal", 4), "Bal:0 :0 :0 "},
        {"\x02" + std::string(200, 'q'), "qqqqq:0 :0 :0 "},
        {std::string("\xF3" "Ann\0\x05", 6), "Ann:5 :0 :0 "},
    };
    for (const Case& c : cases) {
        scratch.write("Quadrill.dat", c.bytes);
        ASSERT_EQ(highScoreFile::Found::File, read(table, setup));
        EXPECT_EQ(c.expected, rows()) << "file of " << c.bytes.size() << " bytes";
        for (int r = 0; r < 3; ++r) EXPECT_LE(table.name(r).size(), 5u);
    }
    // The upper bits are ignored: 0xF3 means green and yellow.
    EXPECT_EQ(1, setup.bHuman[0]);
    EXPECT_EQ(1, setup.bHuman[1]);
    EXPECT_EQ(0, setup.bHuman[2]);
}

TEST_F(HighScoreFileTest, RandomFilesNeverBreakReading) {
    std::srand(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(static_cast<std::size_t>(std::rand() % 40), '\0');
        for (char& b : bytes) b = static_cast<char>(std::rand() % 256);
        scratch.write("Quadrill.dat", bytes);
        ASSERT_EQ(highScoreFile::Found::File, read(table, setup));
        for (int r = 0; r < 3; ++r) ASSERT_LE(table.name(r).size(), 5u);
        for (int c = 0; c < 4; ++c) ASSERT_LE(setup.bHuman[c], 1);
    }
}

TEST_F(HighScoreFileTest, FailedWritesLeaveTheOldFileAsItWas) {
    scratch.write("Quadrill.dat", kDefaultBytes);
    table.setName(0, "New");
    table.setScore(0, 99);
    const std::vector<std::string> onlyTheTable = {"Quadrill.dat"};

    platform::testing::setWriteLimit(5);  // the disk fills up half way
    EXPECT_FALSE(write(1));
    EXPECT_EQ("No space left on device", reason);
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_EQ(onlyTheTable, scratch.names());

    platform::testing::failCreate(true);
    EXPECT_FALSE(write(1));
    EXPECT_EQ("Read-only file system", reason);
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));

    platform::testing::failRename(true);
    EXPECT_FALSE(write(1));
    EXPECT_FALSE(reason.empty());
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_EQ(onlyTheTable, scratch.names());

    // A folder left where an older game put its temporary file is in
    // nobody's way any more, and stays as it was.
    ASSERT_EQ(0, mkdir((scratch.path() + "/Quadrill.dat.new").c_str(), 0755));
    EXPECT_TRUE(write(1)) << reason;
    EXPECT_EQ(std::string("\x01" "New\0\x63\0", 7), scratch.read("Quadrill.dat").substr(0, 7));
    EXPECT_EQ((std::vector<std::string>{"Quadrill.dat", "Quadrill.dat.new"}), scratch.names());
}

TEST_F(HighScoreFileTest, SomethingThereThatCannotBeReadIsToldFromNoFile) {
    ASSERT_EQ(0, mkdir((scratch.path() + "/Quadrill.dat").c_str(), 0755));
    EXPECT_EQ(highScoreFile::Found::Unreadable, read(table, setup));
    EXPECT_EQ("Is a directory", reason);
    ASSERT_EQ(0, rmdir((scratch.path() + "/Quadrill.dat").c_str()));

    scratch.write("Quadrill.dat", kDefaultBytes);
    platform::testing::failRead(true);  // a bad sector under the file
    EXPECT_EQ(highScoreFile::Found::Unreadable, read(table, setup));
    EXPECT_EQ("Input/output error", reason);
    platform::testing::failRead(false);

    ASSERT_EQ(0, chmod((scratch.path() + "/Quadrill.dat").c_str(), 0));
    EXPECT_TRUE(asPlainUser(scratch.path(), [&] {
        return read(table, setup) == highScoreFile::Found::Unreadable && reason == "Permission denied";
    }));
}

TEST_F(HighScoreFileTest, AnUnreadableFileIsToldOnceTheDefaultsShownAndTheFileKept) {
    bool keepOldFile = true;
    ASSERT_EQ(1, highScoreFile::load(table, setup, logger, keepOldFile));
    EXPECT_FALSE(keepOldFile);
    EXPECT_TRUE(platform::testing::recordedMessages().empty());

    scratch.write("Quadrill.dat", std::string("\x0F" "Ann\0\x09\0", 7));
    platform::testing::failRead(true);
    ASSERT_EQ(1, highScoreFile::load(table, setup, logger, keepOldFile));
    EXPECT_TRUE(keepOldFile);
    EXPECT_EQ("Ball:5 Bead:2 Blob:0 ", rows());
    EXPECT_EQ(1, setup.bHuman[1]);
    ASSERT_EQ(1u, platform::testing::recordedMessages().size());
    EXPECT_EQ("General error!", platform::testing::recordedMessages()[0].caption);
    EXPECT_EQ("Could not read the high scores from " + scratch.path() +
                  "/Quadrill.dat: Input/output error. The built-in table is shown, and the file will be left as it is.",
              platform::testing::recordedMessages()[0].text);
}

// A Quadrill.dat in the start folder that is not the player's table is
// never written over: the table goes to the data folder.
TEST_F(HighScoreFileTest, AQuadrillDatThatIsNoTableOfThePlayersIsLeftAsItIs) {
    ScopedEnvironment environment;
    environment.unset("QUADRILL_DATA_DIR");
    environment.set("XDG_DATA_HOME", scratch.path() + "/data");
    const std::string inDataFolder = scratch.path() + "/data/quadrill/Quadrill.dat";
    const std::string bashrc = "# ~/.bashrc: executed by bash(1) for non-login shells.\n";
    scratch.write("notes", bashrc);
    scratch.write("theirs", kDefaultBytes);
    if (geteuid() == 0) {
        ASSERT_EQ(0, chown((scratch.path() + "/theirs").c_str(), 65534, 65534));
    }
    struct Case {
        const char* what;
        const char* linkTo;  // nullptr: a file of that name itself
        std::string bytes;
        bool toldInTheWindow;  // else only on stderr, as the start-up chose
    };
    const Case cases[] = {
        {"a link to a file that is no table", "notes", "", true},
        {"a link that leads nowhere", "gone/Quadrill.dat", "", false},
        {"a file larger than any table", nullptr, std::string(26, 'A'), true},
        {"a file whose bytes are no table", nullptr,
         std::string("\x02" "Ball\0\x05\0" "Bead\0\x02\0" "Blob\0\0\0!", 23), true},
    };
    // As root another user's file can be made; as a plain user it is root's.
    std::vector<Case> all(std::begin(cases), std::end(cases));
    if (geteuid() == 0) all.push_back({"a link to another user's table", "theirs", "", false});
    for (const Case& c : all) {
        SCOPED_TRACE(c.what);
        std::remove((scratch.path() + "/Quadrill.dat").c_str());
        std::remove(inDataFolder.c_str());
        if (c.linkTo) {
            ASSERT_EQ(0, symlink(c.linkTo, "Quadrill.dat"));
        } else {
            scratch.write("Quadrill.dat", c.bytes);
        }
        platform::testing::clearRecordedMessages();
        bool keepOldFile = true;
        ASSERT_EQ(1, highScoreFile::load(table, setup, logger, keepOldFile));
        EXPECT_EQ("Ball:5 Bead:2 Blob:0 ", rows());
        EXPECT_FALSE(keepOldFile);
        highScoreFile::save(table, 0x02, logger);
        EXPECT_EQ(kDefaultBytes, scratch.read("data/quadrill/Quadrill.dat"));
        if (!c.linkTo) {
            EXPECT_EQ(c.bytes, scratch.read("Quadrill.dat"));
        }
        const auto& told = platform::testing::recordedMessages();
        ASSERT_EQ(c.toldInTheWindow ? 1u : 0u, told.size());
        if (c.toldInTheWindow) {
            EXPECT_NE(std::string::npos, told[0].text.find(inDataFolder)) << told[0].text;
        }
    }
    EXPECT_EQ(bashrc, scratch.read("notes"));
    EXPECT_EQ(kDefaultBytes, scratch.read("theirs"));
    EXPECT_FALSE(scratch.exists("gone"));
}

TEST_F(HighScoreFileTest, APlayersOwnLinkToTheirOwnTableStillWorks) {
    ScopedEnvironment environment;
    environment.unset("QUADRILL_DATA_DIR");
    environment.set("XDG_DATA_HOME", scratch.path() + "/data");
    ASSERT_EQ(0, mkdir((scratch.path() + "/tables").c_str(), 0700));
    scratch.write("tables/mine.dat", std::string("\x0F" "Ann\0\x09\0" "\0\0\0" "\0\0\0", 13));
    ASSERT_EQ(0, symlink("tables/mine.dat", "Quadrill.dat"));
    bool keepOldFile = true;
    ASSERT_EQ(1, highScoreFile::load(table, setup, logger, keepOldFile));
    EXPECT_EQ("Ann:9 :0 :0 ", rows());
    table.setName(1, "Bo");
    highScoreFile::save(table, 0x0F, logger);
    EXPECT_TRUE(platform::testing::recordedMessages().empty());
    EXPECT_EQ(std::string("\x0F" "Ann\0\x09\0" "Bo\0\0\0" "\0\0\0", 15), scratch.read("tables/mine.dat"));
    struct stat info;
    ASSERT_EQ(0, lstat((scratch.path() + "/Quadrill.dat").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_FALSE(scratch.exists("data"));
}

TEST_F(HighScoreFileTest, TheFirstSaveMakesTheDataFolder) {
    ScopedEnvironment environment;
    environment.set("QUADRILL_DATA_DIR", scratch.path() + "/deep/data");
    ASSERT_TRUE(write(0x02)) << reason;
    EXPECT_EQ(std::string(1, '\x02'), scratch.read("deep/data/Quadrill.dat").substr(0, 1));
    struct stat info;
    ASSERT_EQ(0, stat((scratch.path() + "/deep/data").c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777);
}

}  // namespace
