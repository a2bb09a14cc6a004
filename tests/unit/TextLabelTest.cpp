#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "GraphicsTestKit.h"
#include "combat/TextLabel.h"
#include "graphics/DigitFont.h"
#include "graphics/Font.h"
#include "platform/ResourceTable.h"
#include "resources/TextFileReader.h"

namespace {

using namespace platform::status;

const Rgb kWhite{255, 255, 255};

class TextLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.fillBackBuffer(kWhite);
        font.create("comic sans", 40);
    }

    // Reads one label from a row written the way the layout tables are.
    void read(TextLabel& label, const char* row, bool counter = false) {
        rows.emplace_back(row);
        const std::string& text = rows.back();
        platform::testing::overrideResource("testLabel", "TextFile",
                                            reinterpret_cast<const unsigned char*>(text.data()), text.size());
        TextFileReader reader;
        ASSERT_EQ(0, reader.openText("testLabel", "TextFile"));
        if (counter) {
            label.loadCounter(reader);
        } else {
            label.load(reader);
        }
    }

    bool blank() const {
        for (int y = 0; y < 400; y += 2) {
            for (int x = 0; x < 400; x += 2) {
                if (!(fixture.pixel(x, y) == kWhite)) return false;
            }
        }
        return true;
    }

    GraphicsFixture fixture;
    Font font;
    std::vector<std::string> rows;
};

TEST_F(TextLabelTest, HiddenLabelDrawsNothingButStillCounts) {
    TextLabel label;
    read(label, "175 140 225 187 {0} 0 1", true);
    label.setVisible(false);
    EXPECT_EQ(S_OK, label.drawText(fixture.display, font));
    EXPECT_TRUE(blank());
    label.addToValue(3);
    EXPECT_EQ(3, label.getValue());
    EXPECT_EQ("3", label.getText());
    EXPECT_EQ(S_OK, label.drawText(fixture.display, font));
    EXPECT_TRUE(blank());
    label.setVisible(true);
    label.drawText(fixture.display, font);
    EXPECT_FALSE(blank());
}

TEST_F(TextLabelTest, HiddenDigitLabelDrawsNothing) {
    fixture.serveFilledBitmap("picFont", 110, 56, Rgb{200, 0, 0});
    DigitFont digits;
    ASSERT_EQ(1, digits.load(fixture.display, fixture.logger));
    TextLabel score;
    read(score, "10 10 60 24 {0} 2 1", true);
    score.setVisible(false);
    score.drawDigits(digits);
    EXPECT_TRUE(blank());
    score.setVisible(true);
    score.drawDigits(digits);
    // One glyph, centred: x0 = 10 + 25 - 5.
    EXPECT_EQ(kWhite, fixture.pixel(29, 12));
    EXPECT_EQ((Rgb{200, 0, 0}), fixture.pixel(30, 12));
    EXPECT_EQ((Rgb{200, 0, 0}), fixture.pixel(39, 12));
    EXPECT_EQ(kWhite, fixture.pixel(40, 12));
}

TEST_F(TextLabelTest, CounterGoesBelowZeroAndWrapsLikeA32BitNumber) {
    TextLabel label;
    read(label, "0 0 50 20 {0} 3 1", true);
    label.addToValue(-1);
    EXPECT_EQ(-1, label.getValue());
    EXPECT_EQ("-1", label.getText());
    label.addToValue(INT_MIN);
    EXPECT_EQ(INT_MAX, label.getValue());
    EXPECT_EQ("2147483647", label.getText());
}

TEST_F(TextLabelTest, CentredTextIsCentredInItsRectangle) {
    TextLabel label;
    read(label, "175 140 225 187 {8} 0 1");
    ASSERT_EQ(S_OK, label.drawText(fixture.display, font));
    int left = 400, right = -1;
    for (int y = 140; y < 187; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (fixture.pixel(x, y) == kWhite) continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
    }
    ASSERT_GE(right, 0);
    EXPECT_NEAR(200.0, (left + right) / 2.0, 3.0);
    EXPECT_GE(left, 175);
    EXPECT_LE(right, 225);
}

TEST_F(TextLabelTest, EmptyTextDrawsNothingAndStaysAValidText) {
    TextLabel label;
    read(label, "162 256 227 278 {}   11790589 0");
    EXPECT_EQ("", label.getText());
    EXPECT_EQ(S_OK, label.drawText(fixture.display, font));
    EXPECT_TRUE(blank());
    label.setText(nullptr);
    EXPECT_EQ("", label.getText());
    label.setText("Ann");
    EXPECT_EQ("Ann", label.getText());
}

}  // namespace
