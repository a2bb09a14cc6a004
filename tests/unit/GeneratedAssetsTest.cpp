#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/ResourceTable.h"

#ifndef QUADRILL_GENERATED_ASSETS_DIR
#define QUADRILL_GENERATED_ASSETS_DIR ""
#endif

// The pictures and sounds the asset generator drew, checked where the game
// finds them: embedded in the executable.
namespace {

struct Rect {
    int left, top, right, bottom;
    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct Rgb {
    int r, g, b;
    bool key() const { return r == 0 && g == 255 && b == 0; }
    // Close enough to the key to show as a green fringe round a sprite.
    bool fringe() const { return !key() && g > 200 && r < 60 && b < 60; }
    double light() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

std::uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
unsigned le16(const unsigned char* p) { return p[0] | p[1] << 8; }

class Picture {
public:
    Picture(const char* name, const char* type) {
        platform::ResourceData data;
        if (!platform::findResource(name, type, data)) return;
        bytes.assign(data.data, data.data + data.size);
        SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data, static_cast<int>(data.size)), 1);
        if (!loaded) return;
        hasAlpha = loaded->format->Amask != 0;
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(loaded);
        if (!rgba) return;
        w = rgba->w;
        h = rgba->h;
        for (int y = 0; y < h; ++y) {
            const auto* row = static_cast<const unsigned char*>(rgba->pixels) + y * rgba->pitch;
            pixels.insert(pixels.end(), row, row + w * 4);
        }
        SDL_FreeSurface(rgba);
    }
    Rgb at(int x, int y) const {
        const unsigned char* p = &pixels[(static_cast<std::size_t>(y) * w + x) * 4];
        return Rgb{p[0], p[1], p[2]};
    }
    int alpha(int x, int y) const { return pixels[(static_cast<std::size_t>(y) * w + x) * 4 + 3]; }

    std::vector<unsigned char> bytes;
    std::vector<unsigned char> pixels;
    int w = 0;
    int h = 0;
    bool hasAlpha = false;
};

class GeneratedAssetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(QUADRILL_GENERATED_ASSETS_DIR).empty()) GTEST_SKIP() << "built without the asset generator";
    }
};

TEST_F(GeneratedAssetsTest, PicturesAre24BitBitmapsOfTheirSizes) {
    const struct {
        const char* name;
        int w, h;
    } pictures[] = {{"picMisc", 65, 204}, {"picFont", 110, 56}, {"picCombat", 400, 400}, {"picMenu", 400, 400}};
    for (const auto& expected : pictures) {
        const Picture picture(expected.name, "BITMAP");
        ASSERT_GE(picture.bytes.size(), 54u) << expected.name;
        const unsigned char* b = picture.bytes.data();
        EXPECT_EQ('B', b[0]) << expected.name;
        EXPECT_EQ(40u, le32(b + 14)) << expected.name;
        EXPECT_EQ(std::uint32_t(expected.w), le32(b + 18)) << expected.name;
        EXPECT_EQ(std::uint32_t(expected.h), le32(b + 22)) << expected.name;  // positive: bottom-up
        EXPECT_EQ(24u, le16(b + 28)) << expected.name;
        EXPECT_EQ(0u, le32(b + 30)) << expected.name;  // uncompressed
        const std::size_t rowBytes = (expected.w * 3 + 3) / 4 * 4;
        EXPECT_EQ(le32(b + 10) + rowBytes * expected.h, picture.bytes.size()) << expected.name;
        EXPECT_EQ(expected.w, picture.w) << expected.name << " as SDL loads it";
        EXPECT_EQ(expected.h, picture.h) << expected.name << " as SDL loads it";
    }
}

TEST_F(GeneratedAssetsTest, SpriteSheetIsPureGreenAroundItsSprites) {
    const Picture misc("picMisc", "BITMAP");
    ASSERT_EQ(65, misc.w);
    const Rect sprites[] = {
        {0, 0, 65, 13},     {0, 14, 65, 27},    {0, 28, 13, 93},    {14, 28, 27, 93},   {51, 43, 65, 57},
        {51, 28, 65, 42},   {0, 97, 26, 123},   {27, 97, 53, 123},  {27, 124, 53, 150}, {27, 151, 53, 177},
        {28, 28, 50, 50},   {28, 51, 50, 73},   {28, 74, 50, 96},   {0, 124, 26, 150},  {0, 151, 26, 177},
        {0, 178, 26, 204}};
    for (const Rect& r : sprites) {
        EXPECT_FALSE(misc.at((r.left + r.right) / 2, (r.top + r.bottom) / 2).key()) << "sprite at " << r.left << ","
                                                                                    << r.top << " is missing";
    }
    for (int y = 0; y < misc.h; ++y) {
        for (int x = 0; x < misc.w; ++x) {
            bool inSprite = false;
            for (const Rect& r : sprites) inSprite = inSprite || r.holds(x, y);
            if (!inSprite) {
                ASSERT_TRUE(misc.at(x, y).key()) << "stray pixel at " << x << "," << y;
            }
            ASSERT_FALSE(misc.at(x, y).fringe()) << "green fringe at " << x << "," << y;
        }
    }
    // The round sprites leave their corners to the key.
    for (const Rect& r : {Rect{51, 43, 65, 57}, Rect{51, 28, 65, 42}}) {
        EXPECT_TRUE(misc.at(r.left, r.top).key());
        EXPECT_TRUE(misc.at(r.right - 1, r.top).key());
        EXPECT_TRUE(misc.at(r.left, r.bottom - 1).key());
        EXPECT_TRUE(misc.at(r.right - 1, r.bottom - 1).key());
    }
    EXPECT_FALSE(misc.at(0, 0).key()) << "the yellow paddle's corner belongs to the sprite";
}

TEST_F(GeneratedAssetsTest, DigitGlyphsStayInsideTheirCellsInTheirRowsColour) {
    const Picture font("picFont", "BITMAP");
    ASSERT_EQ(110, font.w);
    ASSERT_EQ(56, font.h);
    // Yellow, red, blue, green: the colour each row's pixels must lean to.
    auto family = [](int row, Rgb c) {
        switch (row) {
            case 0: return c.r > c.b && c.g > c.b;
            case 1: return c.r > c.g && c.r > c.b;
            case 2: return c.b > c.r && c.b > c.g;
            default: return c.g > c.r && c.g > c.b;
        }
    };
    for (int row = 0; row < 4; ++row) {
        for (int cell = 0; cell < 11; ++cell) {
            int left = 10, right = -1, top = 14, bottom = -1;
            for (int y = 0; y < 14; ++y) {
                for (int x = 0; x < 10; ++x) {
                    const Rgb c = font.at(cell * 10 + x, row * 14 + y);
                    ASSERT_FALSE(c.fringe()) << "row " << row << " cell " << cell;
                    if (c.key()) continue;
                    EXPECT_TRUE(family(row, c)) << "row " << row << " cell " << cell << " at " << x << "," << y;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            ASSERT_GE(right, 0) << "row " << row << " cell " << cell << " is empty";
            EXPECT_GT(left, 0) << "row " << row << " cell " << cell;
            EXPECT_LT(right, 9) << "row " << row << " cell " << cell;
            EXPECT_LE(right - left + 1, 8) << "row " << row << " cell " << cell;
            if (cell == 0) {
                EXPECT_EQ(7, right - left + 1) << "minus of row " << row;
                EXPECT_EQ(2, bottom - top + 1) << "minus of row " << row;
                EXPECT_EQ(13 - bottom, top) << "minus of row " << row << " is centred";
            }
        }
    }
}

// The darkest and the lightest pixel of a rectangle.
std::pair<double, double> lightRange(const Picture& picture, const Rect& r) {
    double darkest = 255, lightest = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            darkest = std::min(darkest, picture.at(x, y).light());
            lightest = std::max(lightest, picture.at(x, y).light());
        }
    }
    return {darkest, lightest};
}

TEST_F(GeneratedAssetsTest, ArenaKeepsTheScoreSpotsDarkTheMiddleLightAndTheWallsOnTheirLines) {
    const Picture arena("picCombat", "BITMAP");
    ASSERT_EQ(400, arena.w);
    // Score glyph rows and held-bonus icons: a dark plain ground for them.
    const Rect spots[] = {{13, 374, 50, 388}, {354, 374, 391, 388}, {354, 9, 391, 23}, {13, 9, 50, 23},
                          {15, 352, 37, 374}, {363, 352, 385, 374}, {363, 26, 385, 48}, {15, 26, 37, 48}};
    for (const Rect& spot : spots) {
        const auto range = lightRange(arena, spot);
        EXPECT_LT(range.second, 60) << "spot at " << spot.left << "," << spot.top << " is not dark";
        EXPECT_LT(range.second - range.first, 25) << "spot at " << spot.left << "," << spot.top << " is not plain";
    }
    // The black serve count is written here.
    EXPECT_GT(lightRange(arena, {175, 147, 225, 181}).first, 160);
    // Each block's steel edge lies on its wall: just behind the wall line is
    // the bright edge, just in front of it the floor.
    const struct {
        double x1, y1, x2, y2, nx, ny;
    } walls[] = {{18, 321, 78, 381, 1, -1}, {321, 381, 381, 321, -1, -1}, {321, 18, 381, 78, -1, 1},
                 {18, 78, 78, 18, 1, 1}};
    for (const auto& w : walls) {
        for (double t : {0.2, 0.5, 0.8}) {
            const double x = w.x1 + (w.x2 - w.x1) * t;
            const double y = w.y1 + (w.y2 - w.y1) * t;
            const Rgb behind = arena.at(static_cast<int>(x - 1.5 * w.nx), static_cast<int>(y - 1.5 * w.ny));
            const Rgb inFront = arena.at(static_cast<int>(x + 2.5 * w.nx), static_cast<int>(y + 2.5 * w.ny));
            EXPECT_GT(behind.light(), inFront.light() + 40) << "wall " << w.x1 << "," << w.y1 << " at " << t;
        }
    }
}

TEST_F(GeneratedAssetsTest, MenuFramesTheBoxesAndDarkensTheResultsPanel) {
    const Picture menu("picMenu", "BITMAP");
    ASSERT_EQ(400, menu.w);
    for (int left : {260, 301}) {
        for (int top : {141, 165, 189, 213}) {
            EXPECT_LT(lightRange(menu, {left, top, left + 14, top + 14}).second, 70) << left << "," << top;
            // The frame just outside the square the knob is blitted onto.
            EXPECT_GT(menu.at(left - 2, top + 7).light(), 90) << left << "," << top;
            EXPECT_GT(menu.at(left + 15, top + 7).light(), 70) << left << "," << top;
        }
    }
    // Behind the nine pale labels of the best results.
    EXPECT_LT(lightRange(menu, {147, 256, 272, 314}).second, 50);
}

TEST_F(GeneratedAssetsTest, WavesHaveTheFixedLayoutAndFadedEnds) {
    const struct {
        const char* name;
        std::uint32_t bytes;
    } waves[] = {{"micek", 43896}, {"odpal", 2264}, {"okraj", 8836}, {"klik", 1102}, {"tlacitko", 7368}};
    for (const auto& expected : waves) {
        platform::ResourceData data;
        ASSERT_TRUE(platform::findResource(expected.name, "WAVE", data)) << expected.name;
        ASSERT_EQ(44 + expected.bytes, data.size) << expected.name;
        const unsigned char* b = data.data;
        EXPECT_EQ("RIFF", std::string(reinterpret_cast<const char*>(b), 4)) << expected.name;
        EXPECT_EQ(36 + expected.bytes, le32(b + 4)) << expected.name;
        EXPECT_EQ("WAVEfmt ", std::string(reinterpret_cast<const char*>(b + 8), 8)) << expected.name;
        EXPECT_EQ(16u, le32(b + 16)) << expected.name;
        EXPECT_EQ(1u, le16(b + 20)) << expected.name;
        EXPECT_EQ(1u, le16(b + 22)) << expected.name;
        EXPECT_EQ(22050u, le32(b + 24)) << expected.name;
        EXPECT_EQ(44100u, le32(b + 28)) << expected.name;
        EXPECT_EQ(2u, le16(b + 32)) << expected.name;
        EXPECT_EQ(16u, le16(b + 34)) << expected.name;
        EXPECT_EQ("data", std::string(reinterpret_cast<const char*>(b + 36), 4)) << expected.name;
        EXPECT_EQ(expected.bytes, le32(b + 40)) << expected.name;

        const std::size_t count = expected.bytes / 2;
        auto sample = [&](std::size_t i) { return std::abs(static_cast<std::int16_t>(le16(b + 44 + 2 * i))); };
        int peak = 0;
        for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, sample(i));
        EXPECT_GT(peak, 16000) << expected.name << " is too quiet";
        EXPECT_LT(peak, 32767) << expected.name << " clips";
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_LT(sample(i), 3277) << expected.name << " starts with a click";
            EXPECT_LT(sample(count - 1 - i), 3277) << expected.name << " ends with a click";
        }
    }
}

TEST_F(GeneratedAssetsTest, IconAndCursorLoadWithAlpha) {
    const Picture icon("icon", "ICON");
    const Picture cursor("cur", "CURSOR");
    EXPECT_EQ(64, icon.w);
    EXPECT_EQ(64, icon.h);
    EXPECT_EQ(32, cursor.w);
    EXPECT_EQ(32, cursor.h);
    ASSERT_TRUE(icon.hasAlpha);
    ASSERT_TRUE(cursor.hasAlpha);
    EXPECT_EQ(0, icon.alpha(0, 0)) << "the icon's rounded corner is see-through";
    EXPECT_EQ(255, icon.alpha(32, 32));
    EXPECT_EQ(255, cursor.alpha(0, 0)) << "the hot spot is the arrow's tip";
    EXPECT_EQ(0, cursor.alpha(31, 0));
    EXPECT_EQ(0, cursor.alpha(31, 31));
}

}  // namespace
