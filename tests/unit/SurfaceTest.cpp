#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestKit.h"
#include "errors/StatusText.h"
#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/DisplayFaults.h"
#include "platform/MessageBox.h"
#include "platform/PixelSurface.h"

namespace {

using namespace platform::status;
using platform::testing::recordedMessages;

const Rgb kBackground{40, 60, 200};
const Rgb kBall{200, 40, 30};
// Close to the key but not it: must survive the key in either depth.
const Rgb kNearGreen{0, 236, 0};

// A ball on pure green with a ring of almost-green, 30 x 20.
std::vector<unsigned char> spriteSheet() {
    return makeBitmap(30, 20, [](int x, int y) {
        const int dx = x - 10, dy = y - 10;
        const int distance = dx * dx + dy * dy;
        if (distance <= 36) return kBall;
        if (distance <= 64) return kNearGreen;
        return kPureGreen;
    });
}

class SurfaceTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        embeddedMisc = realBitmapEmbedded("picMisc");
        platform::testing::useDisplayDepth(GetParam());
        fixture.display.releaseInterfaces();
        ASSERT_EQ(1, fixture.display.start(fixture.window, fixture.logger));
        ASSERT_EQ(GetParam(), fixture.display.platformDisplay()->bitsPerPixel());
        fixture.serveBitmap("testSprites", spriteSheet());
    }

    // Blits the whole picture onto a plain background at (x, y) and checks
    // every pixel of its rectangle against the picture itself.
    void expectKeyedBlit(const char* name, Surface& surface, int x, int y) {
        Picture picture;
        ASSERT_TRUE(decodeBitmap(name, picture));
        fixture.fillBackBuffer(kBackground);
        ASSERT_EQ(S_OK, fixture.display.blitFast(x, y, &surface, Rect{0, 0, picture.width, picture.height}));
        int keyed = 0;
        for (int py = 0; py < picture.height; ++py) {
            for (int px = 0; px < picture.width; ++px) {
                const Rgb source = picture.at(px, py);
                const Rgb shown = fixture.pixel(x + px, y + py);
                if (source == kPureGreen) {
                    ++keyed;
                    ASSERT_TRUE(nearly(kBackground, shown)) << px << "," << py;
                } else {
                    ASSERT_TRUE(nearly(source, shown)) << px << "," << py;
                }
            }
        }
        EXPECT_GT(keyed, 0);
    }

    GraphicsFixture fixture;
    bool embeddedMisc = false;
};

TEST_P(SurfaceTest, KeyedSpriteLeavesEveryGreenPixelUntouched) {
    Surface sprites;
    ASSERT_EQ(1, fixture.display.createOffscreen(sprites, 30, 20, "testSprites", fixture.logger));
    EXPECT_EQ(S_OK, sprites.loadBitmap("testSprites", 0, 0));
    EXPECT_EQ(S_OK, sprites.keyColour(kKeyGreen));
    EXPECT_TRUE(sprites.isKeyed());
    expectKeyedBlit("testSprites", sprites, 120, 200);
}

TEST_P(SurfaceTest, RealSpriteSheetIsKeyedToo) {
    if (!embeddedMisc) GTEST_SKIP() << "picMisc is not embedded in this build";
    Surface misc;
    ASSERT_EQ(1, fixture.display.createOffscreen(misc, 65, 204, "picMisc", fixture.logger));
    misc.loadBitmap("picMisc", 0, 0);
    misc.keyColour(kKeyGreen);
    expectKeyedBlit("picMisc", misc, 300, 100);
}

TEST_P(SurfaceTest, UnkeyedSurfaceCopiesGreenAsItIs) {
    Surface sprites;
    ASSERT_EQ(1, fixture.display.createOffscreen(sprites, 30, 20, "testSprites", fixture.logger));
    sprites.loadBitmap("testSprites", 0, 0);
    fixture.fillBackBuffer(kBackground);
    ASSERT_EQ(S_OK, fixture.display.blitFast(0, 0, &sprites, Rect{0, 0, 30, 20}));
    EXPECT_TRUE(nearly(kPureGreen, fixture.pixel(0, 0)));
    EXPECT_TRUE(nearly(kBall, fixture.pixel(10, 10)));
    EXPECT_FALSE(sprites.isKeyed());
}

INSTANTIATE_TEST_SUITE_P(Depths, SurfaceTest, ::testing::Values(32, 16),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "Bit"; });

class SurfaceFallbackTest : public ::testing::Test {
protected:
    GraphicsFixture fixture;
};

TEST_F(SurfaceFallbackTest, EmptySurfaceAnswersInvalidPointer) {
    Surface empty;
    EXPECT_EQ(E_POINTER, empty.loadBitmap("picMisc", 0, 0));
    EXPECT_EQ(E_POINTER, empty.keyColour(kKeyGreen));
    EXPECT_FALSE(empty.isKeyed());
}

TEST_F(SurfaceFallbackTest, MissingBitmapFailsAndLeavesTheSurface) {
    Surface surface;
    ASSERT_EQ(1, fixture.display.createOffscreen(surface, 10, 10, "nothing", fixture.logger));
    EXPECT_EQ(E_FAIL, surface.loadBitmap("noSuchPicture", 0, 0));
    EXPECT_FALSE(surface.isEmpty());
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(SurfaceFallbackTest, BitmapFileInTheWorkingDirectoryStandsInForAMissingResource) {
    const std::vector<unsigned char> bytes = makeBitmap(4, 4, [](int, int) { return kBall; });
    fixture.scratch.write("looseBitmap", std::string(bytes.begin(), bytes.end()));
    Surface surface;
    ASSERT_EQ(1, fixture.display.createOffscreen(surface, 4, 4, "looseBitmap", fixture.logger));
    ASSERT_EQ(S_OK, surface.loadBitmap("looseBitmap", 0, 0));
    ASSERT_EQ(S_OK, fixture.display.blitFast(50, 60, &surface, Rect{0, 0, 4, 4}));
    EXPECT_EQ(kBall, fixture.pixel(53, 63));
}

TEST_F(SurfaceFallbackTest, BitmapLandsAtTheGivenPlace) {
    fixture.serveFilledBitmap("patch", 3, 3, kBall);
    Surface surface;
    ASSERT_EQ(1, fixture.display.createOffscreen(surface, 10, 10, "patch", fixture.logger));
    fixture.serveFilledBitmap("ground", 10, 10, kBackground);
    surface.loadBitmap("ground", 0, 0);
    surface.loadBitmap("patch", 5, 6);
    ASSERT_EQ(S_OK, fixture.display.blitFast(0, 0, &surface, Rect{0, 0, 10, 10}));
    EXPECT_EQ(kBackground, fixture.pixel(4, 6));
    EXPECT_EQ(kBall, fixture.pixel(5, 6));
    EXPECT_EQ(kBall, fixture.pixel(7, 8));
    EXPECT_EQ(kBackground, fixture.pixel(8, 8));
}

TEST_F(SurfaceFallbackTest, NoVideoMemoryFallsBackToSystemMemoryWithoutAReport) {
    platform::testing::failVideoMemory(true);
    Surface surface;
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, fixture.display.createSurface(&surface, 65, 204, 0));
    EXPECT_TRUE(surface.isEmpty());
    ASSERT_EQ(1, fixture.display.createOffscreen(surface, 400, 400, "picMenu", fixture.logger));
    ASSERT_FALSE(surface.isEmpty());
    EXPECT_TRUE(surface.platformSurface()->inSystemMemory());
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_FALSE(fixture.scratch.exists("logError.txt"));
}

TEST_F(SurfaceFallbackTest, BothMemoriesFailingIsReportedOnceWithTheSecondStatus) {
    for (platform::Status status : {E_OUTOFMEMORY, DDERR_OUTOFVIDEOMEMORY}) {
        platform::testing::clearRecordedMessages();
        platform::testing::failVideoMemory(true);
        platform::testing::failSystemMemory(status);
        Surface surface;
        EXPECT_EQ(0, fixture.display.createOffscreen(surface, 65, 204, "picMisc", fixture.logger));
        EXPECT_TRUE(surface.isEmpty());
        ASSERT_EQ(1u, recordedMessages().size());
        EXPECT_EQ("DirectDraw error!", recordedMessages()[0].caption);
        EXPECT_EQ(std::string("Unable to create off screen surface for \"picMisc\"!\r\nError: ") + statusName(status),
                  recordedMessages()[0].text);
        const std::string log = fixture.scratch.read("logError.txt");
        EXPECT_NE(std::string::npos, log.find(std::string("Error: ") + statusName(status) + "\r\n\r\nDescription: " +
                                              statusDescription(status)));
    }
}

TEST_F(SurfaceFallbackTest, CreateSurfaceRefusesWhatItCannotMake) {
    Surface surface;
    EXPECT_EQ(E_INVALIDARG, fixture.display.createSurface(nullptr, 10, 10, 0));
    EXPECT_EQ(E_INVALIDARG, fixture.display.createSurface(&surface, 0, 10, 0));
    EXPECT_EQ(E_INVALIDARG, fixture.display.createSurface(&surface, 10, -3, 0));
    EXPECT_EQ(E_INVALIDARG, fixture.display.createSurface(&surface, 100000, 10, 0));
    EXPECT_EQ(DDERR_INVALIDCAPS, fixture.display.createSurface(&surface, 10, 10, 512));
    EXPECT_TRUE(surface.isEmpty());
    DisplayDevice notStarted;
    EXPECT_EQ(E_POINTER, notStarted.createSurface(&surface, 10, 10, 0));
}

}  // namespace
