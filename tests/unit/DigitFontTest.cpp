#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestKit.h"
#include "graphics/DigitFont.h"
#include "platform/DisplayFaults.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"

namespace {

using namespace platform::status;
using platform::testing::recordedMessages;

const Rgb kGround{20, 20, 60};
const Rgb kRowColours[4] = {{235, 215, 90}, {226, 95, 101}, {129, 187, 227}, {130, 200, 84}};

// Eleven cells in four colour rows; each glyph carries its cell number in
// binary along its top so that a glyph drawn from the wrong cell shows.
std::vector<unsigned char> glyphSheet() {
    return makeBitmap(110, 56, [](int x, int y) {
        const int cell = x / 10, row = y / 14, cx = x % 10, cy = y % 14;
        const bool bit = cy == 1 && cx >= 1 && cx <= 4 && ((cell >> (cx - 1)) & 1);
        const bool body = cy >= 3 && cy <= 11 && cx >= 1 && cx <= 7 && (cx + cy) % 3 != 0;
        return bit || body ? kRowColours[row] : kPureGreen;
    });
}

class DigitFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!realBitmapEmbedded("picFont")) fixture.serveBitmap("picFont", glyphSheet());
        ASSERT_TRUE(decodeBitmap("picFont", sheet));
        ASSERT_EQ(1, digits.load(fixture.display, fixture.logger));
        fixture.fillBackBuffer(kGround);
    }

    // The back buffer at (x, y) shows the glyph of that cell and row, its
    // green left out.
    ::testing::AssertionResult showsGlyph(int x, int y, int cell, int row) const {
        for (int py = 0; py < 14; ++py) {
            for (int px = 0; px < 10; ++px) {
                const Rgb source = sheet.at(cell * 10 + px, row * 14 + py);
                const Rgb expected = source == kPureGreen ? kGround : source;
                if (!nearly(expected, fixture.pixel(x + px, y + py))) {
                    const Rgb got = fixture.pixel(x + px, y + py);
                    return ::testing::AssertionFailure() << "cell " << cell << " differs at " << px << "," << py
                                                         << ": " << int(got.red) << " " << int(got.green) << " "
                                                         << int(got.blue);
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    bool untouched(int left, int top, int right, int bottom) const {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (!(fixture.pixel(x, y) == kGround)) return false;
            }
        }
        return true;
    }

    GraphicsFixture fixture;
    Picture sheet;
    DigitFont digits;
};

TEST_F(DigitFontTest, SingleDigitIsCentredByHalfTheWidthRoundedDown) {
    digits.drawNumber("0", 0, Rect{13, 100, 50, 114});
    EXPECT_TRUE(showsGlyph(26, 100, 1, 0));
    EXPECT_TRUE(untouched(0, 100, 26, 114));
    EXPECT_TRUE(untouched(36, 100, 400, 114));
}

TEST_F(DigitFontTest, NegativeNumberDrawsMinusThenDigitsTenApart) {
    // Width 61: x0 = 100 + 30 - 15.
    digits.drawNumber("-12", 2, Rect{100, 50, 161, 90});
    EXPECT_TRUE(showsGlyph(115, 50, 0, 2));
    EXPECT_TRUE(showsGlyph(125, 50, 2, 2));
    EXPECT_TRUE(showsGlyph(135, 50, 3, 2));
    // No vertical centring: nothing below the glyph row.
    EXPECT_TRUE(untouched(100, 64, 161, 90));
    bool blue = false;
    for (int x = 115; x < 145; ++x) {
        for (int y = 50; y < 64; ++y) blue = blue || nearly(kRowColours[2], fixture.pixel(x, y));
    }
    EXPECT_TRUE(blue);
}

TEST_F(DigitFontTest, LongTextStartsLeftOfItsRectangle) {
    digits.drawNumber("-1234567", 3, Rect{100, 200, 120, 214});
    EXPECT_TRUE(showsGlyph(70, 200, 0, 3));
    EXPECT_TRUE(showsGlyph(140, 200, 8, 3));
}

TEST_F(DigitFontTest, GlyphsOffTheBackBufferAreLeftOut) {
    digits.drawNumber("55", 1, Rect{390, 0, 400, 14});
    EXPECT_TRUE(showsGlyph(385, 0, 6, 1));
    EXPECT_TRUE(untouched(0, 14, 400, 40));

    fixture.fillBackBuffer(kGround);
    digits.drawNumber("99", 1, Rect{-20, 0, -10, 14});
    digits.drawNumber("7", 1, Rect{0, 390, 10, 404});
    digits.drawNumber("7", 9, Rect{0, 300, 10, 314});  // no such colour row
    EXPECT_TRUE(untouched(0, 0, 400, 400));
}

TEST_F(DigitFontTest, AnythingButDigitsAndMinusIsSkipped) {
    digits.drawNumber("1x/:2", 0, Rect{0, 0, 50, 14});
    // x0 = 25 - 25 = 0; the 1 and the 2 keep their places.
    EXPECT_TRUE(showsGlyph(0, 0, 2, 0));
    EXPECT_TRUE(untouched(10, 0, 40, 14));
    EXPECT_TRUE(showsGlyph(40, 0, 3, 0));
    digits.drawNumber(nullptr, 0, Rect{0, 100, 50, 114});
    EXPECT_TRUE(untouched(0, 100, 50, 114));
}

TEST_F(DigitFontTest, ReloadAfterLostSurfacesAndRecreateAfterAModeChange) {
    platform::testing::loseSurfaces();
    fixture.display.restoreAll();
    fixture.fillBackBuffer(kGround);
    digits.drawNumber("8", 3, Rect{0, 0, 10, 14});
    EXPECT_FALSE(showsGlyph(0, 0, 9, 3));
    digits.reload();
    fixture.fillBackBuffer(kGround);
    digits.drawNumber("8", 3, Rect{0, 0, 10, 14});
    EXPECT_TRUE(showsGlyph(0, 0, 9, 3));

    platform::testing::changeDisplayMode(16);
    fixture.display.releaseInterfaces();
    ASSERT_EQ(1, fixture.display.start(fixture.window, fixture.logger));
    ASSERT_EQ(1, digits.recreate(fixture.logger));
    fixture.fillBackBuffer(kGround);
    digits.drawNumber("8", 3, Rect{0, 0, 10, 14});
    EXPECT_TRUE(showsGlyph(0, 0, 9, 3));
}

class DigitFontLoadTest : public ::testing::Test {
protected:
    GraphicsFixture fixture;
    DigitFont digits;
};

TEST_F(DigitFontLoadTest, MissingSizeTableIsReported) {
    platform::testing::setResourceFault("txtFont", platform::ResourceResult::NotFound);
    EXPECT_EQ(0, digits.load(fixture.display, fixture.logger));
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("Unable to open internal file: \"txtFont\"!", recordedMessages()[0].text);
    digits.drawNumber("1", 0, Rect{0, 0, 10, 14});
}

TEST_F(DigitFontLoadTest, GlyphSurfaceThatCannotBeMadeIsReported) {
    platform::testing::failVideoMemory(true);
    platform::testing::failSystemMemory(DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(0, digits.load(fixture.display, fixture.logger));
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("Unable to create off screen surface for \"picFont\"!\r\nError: DDERR_OUTOFVIDEOMEMORY",
              recordedMessages()[0].text);
    digits.drawNumber("1", 0, Rect{0, 0, 10, 14});
}

}  // namespace
