#include <gtest/gtest.h>

#include <string>

#include "combat/PlayerSetup.h"
#include "graphics/DisplayDevice.h"
#include "menu/HighScoreTable.h"
#include "resources/TextFileReader.h"
#include "support/PlatformFaults.h"

namespace {

class HighScoreTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextFileReader reader;
        ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
        for (int i = 0; i < 4; ++i) reader.readInt();  // the sprite sheet's rectangle
        table.load(reader);
        fill({"Ball", "Bead", "Blob"}, {5, 2, 0});
    }

    void fill(std::initializer_list<const char*> names, std::initializer_list<int> scores) {
        int row = 0;
        for (const char* name : names) table.setName(row++, name);
        row = 0;
        for (int score : scores) table.setScore(row++, static_cast<std::int16_t>(score));
    }

    std::string rows() const {
        std::string text;
        for (int r = 0; r < table.rows(); ++r) {
            text += table.name(r) + ":" + std::to_string(table.score(r)) + " ";
        }
        return text;
    }

    void type(const char* text) {
        for (const char* p = text; *p; ++p) table.onChar(static_cast<std::uint8_t>(*p));
    }

    PlatformFaults faults;
    DisplayDevice display;
    HighScoreTable table{display};
};

TEST_F(HighScoreTableTest, NineLabelsFromTheMainTable) {
    ASSERT_EQ(3, table.rows());
    EXPECT_EQ("1.", table.label(0).getText());
    EXPECT_EQ("3.", table.label(2).getText());
    EXPECT_EQ(162, table.label(3).getTopLeft().x);
    EXPECT_EQ(292, table.label(8).getTopLeft().y);
    EXPECT_EQ(11790589u, table.label(4).getColour());
    // Names and scores show in their labels.
    EXPECT_EQ("Bead", table.label(4).getText());
    EXPECT_EQ("5", table.label(6).getText());
}

TEST_F(HighScoreTableTest, ResultGoesBelowEqualScores) {
    EXPECT_EQ(1, table.offerResult(2));
    EXPECT_EQ("Ball:5 Bead:2 :2 ", rows());
    EXPECT_TRUE(table.isTyping());
    EXPECT_TRUE(table.caret().isShown());
    EXPECT_EQ("", table.label(5).getText());
    EXPECT_EQ("2", table.label(8).getText());
}

TEST_F(HighScoreTableTest, BestResultPushesTheOthersDown) {
    EXPECT_EQ(1, table.offerResult(6));
    EXPECT_EQ(":6 Ball:5 Bead:2 ", rows());
    EXPECT_EQ("Ball", table.label(4).getText());
    EXPECT_EQ("2", table.label(8).getText());
}

TEST_F(HighScoreTableTest, ResultThatBeatsNoRowIsNotInserted) {
    EXPECT_EQ(-1, table.offerResult(0));
    EXPECT_EQ("Ball:5 Bead:2 Blob:0 ", rows());
    EXPECT_FALSE(table.isTyping());
    EXPECT_EQ(-1, table.onChar('x'));
}

TEST_F(HighScoreTableTest, TypingKeepsLettersOnlyAndAtMostFive) {
    ASSERT_EQ(1, table.offerResult(9));
    EXPECT_EQ(2, table.onChar(8));  // Backspace on an empty name
    EXPECT_EQ(-1, table.onChar('7'));
    EXPECT_EQ(-1, table.onChar(' '));
    type("ZoeAnn");
    EXPECT_EQ("ZoeAn", table.name(0));
    EXPECT_EQ(-1, table.onChar('x'));
    EXPECT_EQ(2, table.onChar(8));
    EXPECT_EQ("ZoeA", table.name(0));
    EXPECT_EQ("ZoeA", table.label(3).getText());
    EXPECT_EQ(1, table.onChar(13));
    EXPECT_FALSE(table.caret().exists());
    EXPECT_EQ("ZoeA:9 Ball:5 Bead:2 ", rows());
}

TEST_F(HighScoreTableTest, NextOfferAfterEnterStartsAtTheRowJustFilled) {
    ASSERT_EQ(1, table.offerResult(7));
    type("Ann");
    ASSERT_EQ(1, table.onChar(13));
    ASSERT_EQ(1, table.offerResult(7));  // ties go below
    type("Bo");
    EXPECT_EQ("Ann:7 Bo:7 Ball:5 ", rows());
}

TEST_F(HighScoreTableTest, EndingAnEntryKeepsWhatWasTyped) {
    ASSERT_EQ(1, table.offerResult(3));
    type("Al");
    EXPECT_EQ(1, table.endEntry());
    EXPECT_EQ(-1, table.endEntry());
    EXPECT_FALSE(table.caret().exists());
    EXPECT_EQ("Ball:5 Al:3 Bead:2 ", rows());
    EXPECT_EQ(-1, table.onChar('b'));
}

TEST_F(HighScoreTableTest, LongNamesAreCutToFive) {
    table.setName(1, "Bartholomew");
    EXPECT_EQ("Barth", table.name(1));
    EXPECT_EQ("Barth", table.label(4).getText());
    table.setScore(2, -3);
    EXPECT_EQ("-3", table.label(8).getText());
}

}  // namespace
