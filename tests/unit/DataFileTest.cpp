#include <gtest/gtest.h>

#include <string>

#include "menu/DataFile.h"
#include "platform/File.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

namespace {

class DataFileTest : public ::testing::Test {
protected:
    PlatformFaults faults;
    ScratchDirectory scratch;
};

TEST_F(DataFileTest, BinaryRoundTrip) {
    {
        DataFile file;
        ASSERT_TRUE(file.createBinary("probe.dat"));
        file.writeByte(0x0F);
        file.writeString("Ball");
        file.writeWord(0xFFFE);
        file.writeString("");
        file.writeWord(5);
        EXPECT_TRUE(file.close());
        EXPECT_FALSE(file.writeFailed());
    }
    EXPECT_EQ(std::string("\x0F" "Ball\0\xFE\xFF\0\x05\0", 11), scratch.read("probe.dat"));
    DataFile file;
    ASSERT_TRUE(file.openRead("probe.dat"));
    EXPECT_EQ(0x0F, file.readByte());
    EXPECT_EQ("Ball", file.readString());
    EXPECT_EQ(0xFFFE, file.readWord());
    EXPECT_EQ("", file.readString());
    EXPECT_EQ(5, file.readWord());
}

TEST_F(DataFileTest, TextModeWritesStringsOnly) {
    DataFile file;
    ASSERT_TRUE(file.createText("probe.txt"));
    file.writeString("ab");
    file.writeByte(1);
    file.writeWord(2);
    file.writeString("c\r\n");
    file.close();
    EXPECT_EQ("abc\r\n", scratch.read("probe.txt"));
}

TEST_F(DataFileTest, ReadingPastTheEndGivesDefinedValues) {
    scratch.write("short.dat", std::string("\x07Na", 3));
    DataFile file;
    ASSERT_TRUE(file.openRead("short.dat"));
    EXPECT_EQ(7, file.readByte());
    EXPECT_EQ("Na", file.readString());  // no zero byte: ends with the file
    EXPECT_EQ(0, file.readWord());
    EXPECT_EQ(0, file.readByte());
    EXPECT_EQ("", file.readString());
}

TEST_F(DataFileTest, WithoutAHandleNothingHappens) {
    DataFile file;
    EXPECT_FALSE(file.openRead("missing.dat"));
    EXPECT_EQ(0, file.readByte());
    EXPECT_EQ(0, file.readWord());
    EXPECT_EQ("", file.readString());
    file.writeString("x");
    EXPECT_FALSE(file.writeFailed());
    EXPECT_TRUE(file.close());
}

TEST_F(DataFileTest, FullDiskIsNoticed) {
    platform::testing::setWriteLimit(3);
    DataFile file;
    ASSERT_TRUE(file.createBinary("full.dat"));
    file.writeString("Ball");
    EXPECT_TRUE(file.writeFailed());
    file.close();
    EXPECT_EQ("Bal", scratch.read("full.dat"));
}

}  // namespace
