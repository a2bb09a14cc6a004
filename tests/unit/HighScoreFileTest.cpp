#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreFile.h"
#include "menu/HighScoreTable.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "resources/TextFileReader.h"
#include "support/PlatformFaults.h"
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
};

TEST_F(HighScoreFileTest, DefaultsAreStoredAsTheirTwentyTwoBytes) {
    EXPECT_FALSE(highScoreFile::read(table, setup));
    ASSERT_EQ(1, highScoreFile::readDefaults(table, setup, logger));
    EXPECT_EQ("Ball:5 Bead:2 Blob:0 ", rows());
    EXPECT_EQ(0, setup.bHuman[0]);
    EXPECT_EQ(1, setup.bHuman[1]);
    EXPECT_EQ(0, setup.bHuman[2]);
    EXPECT_EQ(0, setup.bHuman[3]);
    ASSERT_TRUE(highScoreFile::write(table, highScoreFile::playerBitsOf(setup)));
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_FALSE(scratch.exists("Quadrill.dat.new"));
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
    ASSERT_TRUE(highScoreFile::write(table, 0x0F));
    EXPECT_EQ(std::string("\x0F" "Ann\0\xF9\xFF" "\0\x2C\x01" "Zed\0\x01\0", 16), scratch.read("Quadrill.dat"));
    HighScoreTable again(display);
    TextFileReader reader;
    ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
    for (int i = 0; i < 4; ++i) reader.readInt();
    again.load(reader);
    PlayerSetup players;
    ASSERT_TRUE(highScoreFile::read(again, players));
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
        ASSERT_TRUE(highScoreFile::read(table, setup));
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
        ASSERT_TRUE(highScoreFile::read(table, setup));
        for (int r = 0; r < 3; ++r) ASSERT_LE(table.name(r).size(), 5u);
        for (int c = 0; c < 4; ++c) ASSERT_LE(setup.bHuman[c], 1);
    }
}

TEST_F(HighScoreFileTest, FailedWritesLeaveTheOldFileAsItWas) {
    scratch.write("Quadrill.dat", kDefaultBytes);
    table.setName(0, "New");
    table.setScore(0, 99);

    platform::testing::setWriteLimit(5);  // the disk fills up half way
    EXPECT_FALSE(highScoreFile::write(table, 1));
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_FALSE(scratch.exists("Quadrill.dat.new"));

    platform::testing::failCreate(true);
    EXPECT_FALSE(highScoreFile::write(table, 1));
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));

    platform::testing::failRename(true);
    EXPECT_FALSE(highScoreFile::write(table, 1));
    platform::testing::clearFileFaults();
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
    EXPECT_FALSE(scratch.exists("Quadrill.dat.new"));

    // A directory standing where the new file would go.
    ASSERT_EQ(0, mkdir((scratch.path() + "/Quadrill.dat.new").c_str(), 0755));
    EXPECT_FALSE(highScoreFile::write(table, 1));
    EXPECT_EQ(kDefaultBytes, scratch.read("Quadrill.dat"));
}

}  // namespace
