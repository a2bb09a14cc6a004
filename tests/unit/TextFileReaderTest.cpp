#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ResourceTable.h"
#include "resources/TextFileReader.h"
#include "support/PlatformFaults.h"

namespace {

class TextFileReaderTest : public ::testing::Test {
protected:
    // Serves bytes of the test's own under a made-up name.
    void serve(const std::string& bytes) {
        text = bytes;
        platform::testing::overrideResource("txtProbe", "TextFile", reinterpret_cast<const unsigned char*>(text.data()),
                                            text.size());
        ASSERT_EQ(0, reader.openText("txtProbe", "TextFile"));
    }

    PlatformFaults faults;
    TextFileReader reader;
    std::string text;
};

TEST_F(TextFileReaderTest, FontSizeReadsTwoNumbersThenZero) {
    ASSERT_EQ(0, reader.openText("txtFont", "TextFile"));
    EXPECT_EQ(110, reader.readInt());
    EXPECT_EQ(56, reader.readInt());
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ("", reader.readString());
}

TEST_F(TextFileReaderTest, NamesAndTypesIgnoreLetterCase) {
    EXPECT_EQ(0, reader.openText("TXTFONT", "textfile"));
    EXPECT_EQ(110, reader.readInt());
}

TEST_F(TextFileReaderTest, MessageTableKeepsQuotesAndTurnsMarksIntoLineBreaks) {
    ASSERT_EQ(0, reader.openText("txtErrors", "TextFile"));
    EXPECT_EQ(22, reader.readInt());
    std::string idThree, idHundredOne;
    for (int i = 0; i < 22; ++i) {
        const int id = reader.readInt();
        const std::string message = reader.readString();
        if (id == 3) idThree = message;
        if (id == 101) idHundredOne = message;
    }
    EXPECT_EQ("Unable to open internal file: \"%s\"!", idThree);
    EXPECT_EQ("Unable to create IDirectInput8 instance!\r\nError: %s", idHundredOne);
}

TEST_F(TextFileReaderTest, NumberRunsFollowTheirOwnRules) {
    serve("2.54 7 -1 - 5.68 +5 .5 --3 99999999999");
    EXPECT_EQ(2, reader.readInt());  // the whole run "2.54" is used up
    EXPECT_EQ(7, reader.readInt());
    EXPECT_EQ(-1, reader.readInt());
    EXPECT_EQ(0, reader.readInt());  // a lone minus
    EXPECT_DOUBLE_EQ(5.68, reader.readDouble());
    EXPECT_EQ(5, reader.readInt());  // the plus is skipped like any character
    EXPECT_EQ(5, reader.readInt());  // a number cannot begin with a point
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ(2147483647, reader.readInt());  // clamps instead of overflowing
}

TEST_F(TextFileReaderTest, DoubleOfTheSameRunAsAnInt) {
    serve("2.54 2.54 -1");
    EXPECT_DOUBLE_EQ(2.54, reader.readDouble());
    EXPECT_EQ(2, reader.readInt());
    EXPECT_DOUBLE_EQ(-1.0, reader.readDouble());
}

TEST_F(TextFileReaderTest, NumbersSkipBracedTextAndStringsSkipNumbers) {
    serve("{12} 34 {a&b|c} 56 {tail");
    EXPECT_EQ(12, reader.readInt());  // digits inside braces count as a number
    EXPECT_EQ("a\rb\nc", reader.readString());
    EXPECT_EQ(56, reader.readInt());
    EXPECT_EQ("tail", reader.readString());  // no closing brace: runs to the end
    EXPECT_EQ("", reader.readString());
    EXPECT_EQ(0, reader.readInt());
}

TEST_F(TextFileReaderTest, EmptyStringThenNumbersOfTheCentreRow) {
    serve("175 140 225 187 {}  0 1");
    EXPECT_EQ(175, reader.readInt());
    EXPECT_EQ(140, reader.readInt());
    EXPECT_EQ(225, reader.readInt());
    EXPECT_EQ(187, reader.readInt());
    EXPECT_EQ("", reader.readString());
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ(1, reader.readInt());
}

TEST_F(TextFileReaderTest, ByteKeepsTheLowEightBits) {
    serve("258 -1");
    EXPECT_EQ(2, reader.readByte());
    EXPECT_EQ(255, reader.readByte());
}

TEST_F(TextFileReaderTest, OpenFailuresGiveTheirCodesAndHoldNothing) {
    EXPECT_EQ(TextFileReader::kNotFound, reader.openText("txtNothing", "TextFile"));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ(TextFileReader::kNotFound, reader.openText("txtFont", "WAVE"));

    platform::testing::setResourceFault("txtFont", platform::ResourceResult::NotLoaded);
    EXPECT_EQ(TextFileReader::kNotLoaded, reader.openText("txtFont", "TextFile"));
    platform::testing::setResourceFault("txtFont", platform::ResourceResult::NotLocked);
    EXPECT_EQ(TextFileReader::kNotLocked, reader.openText("txtFont", "TextFile"));
    EXPECT_FALSE(reader.isOpen());
}

TEST_F(TextFileReaderTest, ReopeningStartsOverOnTheNewResource) {
    ASSERT_EQ(0, reader.openText("txtFont", "TextFile"));
    EXPECT_EQ(110, reader.readInt());
    ASSERT_EQ(0, reader.openText("txtFont", "TextFile"));
    EXPECT_EQ(110, reader.readInt());
}

TEST_F(TextFileReaderTest, BinaryReadsStopAtTheEndOfTheResource) {
    const unsigned char bytes[] = {0x01, 0x02, 0x03, 0x04, 0xFF, 0x7F};
    platform::testing::overrideResource("probe", "WAVE", bytes, sizeof bytes);
    ASSERT_EQ(0, reader.openBinary("probe", "WAVE"));
    EXPECT_EQ(0x04030201, reader.readInt());
    EXPECT_DOUBLE_EQ(-1.0, reader.readDouble());
    EXPECT_EQ(2, reader.remaining());
    // Two bytes left: the missing high bytes of the number read as zero.
    EXPECT_EQ(0x7FFF, reader.readInt());
    EXPECT_EQ(0, reader.readByte());
    reader.skip(1000);
    EXPECT_EQ(0, reader.remaining());
    EXPECT_EQ(0, reader.readInt());
    reader.skip(-1000);
    EXPECT_EQ(0x01, reader.readByte());
}

}  // namespace
