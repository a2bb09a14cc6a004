#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestKit.h"
#include "graphics/Font.h"
#include "platform/DisplayFaults.h"
#include "platform/FontFace.h"

namespace {

using namespace platform::status;

const Rgb kWhite{255, 255, 255};

struct Ink {
    int left = 400, top = 400, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

class FontTest : public ::testing::Test {
protected:
    void SetUp() override { fixture.fillBackBuffer(kWhite); }

    // The box around every pixel that is no longer white.
    Ink ink() const {
        Ink box;
        for (int y = 0; y < 400; ++y) {
            for (int x = 0; x < 400; ++x) {
                if (fixture.pixel(x, y) == kWhite) continue;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
        return box;
    }

    GraphicsFixture fixture;
};

TEST(FontFaceTest, CellHeightIsTheLargestLineThatFits) {
    for (const char* face : {"comic sans", "arial narrow"}) {
        for (int height : {40, 20, 16, 9}) {
            Font font;
            font.create(face, height);
            ASSERT_NE(nullptr, font.face()) << face;
            EXPECT_LE(font.face()->lineHeight(), height) << face << " " << height;
            // One point more and the line would not fit the cell.
            const auto larger = platform::FontFace::open(face, -(font.face()->pointSize() + 1));
            ASSERT_NE(nullptr, larger);
            EXPECT_GT(larger->lineHeight(), height) << face << " " << height;
        }
    }
}

TEST(FontFaceTest, FacesDifferAndUnknownNamesStillGiveAFont) {
    Font comic, narrow, unknown;
    comic.create("Comic Sans", 40);
    narrow.create("arial narrow", 40);
    unknown.create("no such face", 40);
    ASSERT_NE(nullptr, comic.face());
    ASSERT_NE(nullptr, narrow.face());
    ASSERT_NE(nullptr, unknown.face());
    int comicWidth = 0, narrowWidth = 0, height = 0;
    comic.face()->measure("Quadrill 1234", comicWidth, height);
    narrow.face()->measure("Quadrill 1234", narrowWidth, height);
    EXPECT_GT(comicWidth, narrowWidth) << "the narrow face is the narrower";
    Font none;
    EXPECT_EQ(nullptr, none.face());
    comic.destroy();
    EXPECT_EQ(nullptr, comic.face());
}

TEST_F(FontTest, MeasureGivesWidthAndTheLineHeight) {
    Font font;
    font.create("arial narrow", 20);
    std::int32_t width = -1, height = -1;
    EXPECT_EQ(S_OK, fixture.display.measureText(font, "", width, height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(font.face()->lineHeight(), height);
    std::int32_t narrowWidth = 0;
    fixture.display.measureText(font, "iii", narrowWidth, height);
    fixture.display.measureText(font, "WWW", width, height);
    EXPECT_GT(narrowWidth, 0);
    EXPECT_GT(width, narrowWidth);
    EXPECT_LE(height, 20);
    // Without a face the system font measures.
    Font none;
    EXPECT_EQ(S_OK, fixture.display.measureText(none, "WWW", width, height));
    EXPECT_GT(width, 0);
    EXPECT_EQ(platform::FontFace::open(nullptr, 0)->lineHeight(), height);
    DisplayDevice notStarted;
    EXPECT_EQ(E_POINTER, notStarted.measureText(font, "W", width, height));
    EXPECT_EQ(0, width);
}

TEST_F(FontTest, LeftTextStartsAtTheCornerAndCentredTextSitsInTheMiddle) {
    Font font;
    font.create("comic sans", 40);
    std::int32_t width = 0, height = 0;
    fixture.display.measureText(font, "7", width, height);
    ASSERT_EQ(S_OK, fixture.display.drawText(font, "7", Rect{175, 140, 225, 187}, 0, kTextCentred));
    const Ink centred = ink();
    ASSERT_TRUE(centred.any());
    EXPECT_NEAR(200, (centred.left + centred.right) / 2.0, 3.0);
    EXPECT_GE(centred.top, 140);
    EXPECT_LT(centred.bottom, 140 + height + 1);

    fixture.fillBackBuffer(kWhite);
    ASSERT_EQ(S_OK, fixture.display.drawText(font, "7", Rect{20, 30, 200, 100}, 0, 0));
    const Ink left = ink();
    EXPECT_GE(left.left, 20);
    EXPECT_LT(left.left, 20 + width / 2);
    EXPECT_GE(left.top, 30);
    EXPECT_LT(left.top, 30 + height / 2);
}

TEST_F(FontTest, TextIsClippedToItsRectangle) {
    Font font;
    font.create("arial narrow", 40);
    const Rect box{100, 100, 140, 115};
    fixture.display.drawText(font, "WWWWWWWWWW", box, makeColour(200, 0, 0), kTextCentred);
    const Ink drawn = ink();
    ASSERT_TRUE(drawn.any());
    EXPECT_GE(drawn.left, box.left);
    EXPECT_LE(drawn.right, box.right);
    EXPECT_GE(drawn.top, box.top);
    EXPECT_LE(drawn.bottom, box.bottom);
    // In its colour (0x00BBGGRR), anti-aliased against the background.
    int solid = 0, blended = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const Rgb p = fixture.pixel(x, y);
            if (p == Rgb{200, 0, 0}) ++solid;
            else if (!(p == kWhite)) ++blended;
        }
    }
    EXPECT_GT(solid, 10);
    EXPECT_GT(blended, 0);
    // An empty rectangle, or one off the back buffer, draws nothing at all.
    fixture.fillBackBuffer(kWhite);
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "W", Rect{50, 50, 50, 90}, 0, 0));
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "W", Rect{-500, -500, -400, -400}, 0, 0));
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "W", Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0, 1));
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "W", Rect{INT32_MIN, -10, INT32_MIN + 8, 20}, 0, 1));
    EXPECT_FALSE(ink().any());
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "W", Rect{390, 390, 900, 900}, 0, 0));
    const Ink corner = ink();
    EXPECT_GE(corner.left, 390);
    EXPECT_GE(corner.top, 390);
}

TEST_F(FontTest, EmptyTextDrawsNothingAndNoFaceMeansTheSystemFont) {
    Font font;
    font.create("comic sans", 40);
    EXPECT_EQ(S_OK, fixture.display.drawText(font, "", Rect{0, 0, 400, 400}, 0, 1));
    EXPECT_EQ(S_OK, fixture.display.drawText(font, nullptr, Rect{0, 0, 400, 400}, 0, 1));
    EXPECT_FALSE(ink().any());
    Font none;
    EXPECT_EQ(S_OK, fixture.display.drawText(none, "1.", Rect{147, 256, 161, 278}, 0, 0));
    EXPECT_TRUE(ink().any());
}

TEST_F(FontTest, EachTextIsRenderedOnceAndKept) {
    Font font;
    font.create("arial narrow", 20);
    for (int frame = 0; frame < 50; ++frame) {
        fixture.display.drawText(font, "Ball", Rect{162, 256, 227, 278}, 11790589, 0);
        fixture.display.drawText(font, "5", Rect{240, 256, 272, 278}, 11790589, 0);
    }
    EXPECT_EQ(2u, font.face()->cachedTexts());
    fixture.display.drawText(font, "5", Rect{240, 256, 272, 278}, 0, 0);
    EXPECT_EQ(3u, font.face()->cachedTexts());
    // A text that keeps changing cannot grow the cache without end.
    for (int i = 0; i < 500; ++i) fixture.display.drawText(font, std::to_string(i).c_str(), Rect{0, 0, 50, 20}, 0, 0);
    EXPECT_LE(font.face()->cachedTexts(), platform::RenderedTextCache::kCapacity);
}

TEST_F(FontTest, LostBackBufferTakesNoText) {
    Font font;
    font.create("arial narrow", 20);
    platform::testing::loseSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, fixture.display.drawText(font, "x", Rect{0, 0, 50, 20}, 0, 0));
    fixture.display.releaseInterfaces();
    EXPECT_EQ(E_POINTER, fixture.display.drawText(font, "x", Rect{0, 0, 50, 20}, 0, 0));
}

TEST_F(FontTest, BytesBeyondAsciiAreDrawnAsLatinOne) {
    Font font;
    font.create("arial narrow", 20);
    const char text[] = {'\xC9', '\xE8', 'x', '\xFF', '\0'};
    std::int32_t width = 0, height = 0;
    EXPECT_EQ(S_OK, fixture.display.measureText(font, text, width, height));
    EXPECT_GT(width, 0);
    EXPECT_EQ(S_OK, fixture.display.drawText(font, text, Rect{0, 0, 100, 30}, 0, 0));
    EXPECT_TRUE(ink().any());
}

}  // namespace
