#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "GraphicsTestKit.h"
#include "errors/StatusText.h"
#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/DisplayFaults.h"
#include "platform/MessageBox.h"
#include "platform/PixelSurface.h"
#include "platform/Ticks.h"

namespace {

using namespace platform::status;
using platform::testing::DisplayStep;
using platform::testing::recordedMessages;

const Rgb kGround{30, 30, 30};
const Rgb kTile{250, 200, 10};

class DisplayDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An arena whose every pixel tells where it came from.
        fixture.serveBitmap("testArena", makeBitmap(400, 400, [](int x, int y) {
            return Rgb{static_cast<std::uint8_t>(x & 0xF8), static_cast<std::uint8_t>(y & 0xFC), 120};
        }));
        fixture.serveFilledBitmap("testTile", 16, 16, kTile);
    }

    void makeSurface(Surface& surface, const char* name, int width, int height) {
        ASSERT_EQ(1, fixture.display.createOffscreen(surface, width, height, name, fixture.logger));
        surface.loadBitmap(name, 0, 0);
    }

    bool showsArena() const {
        for (int y = 0; y < 400; y += 37) {
            for (int x = 0; x < 400; x += 41) {
                const Rgb expected{static_cast<std::uint8_t>(x & 0xF8), static_cast<std::uint8_t>(y & 0xFC), 120};
                if (!(fixture.pixel(x, y) == expected)) return false;
            }
        }
        return true;
    }

    platform::Display& display() { return *fixture.display.platformDisplay(); }

    GraphicsFixture fixture;
};

TEST_F(DisplayDeviceTest, RectangleThatDoesNotFitIsRefusedAndNothingDrawn) {
    Surface tile;
    makeSurface(tile, "testTile", 16, 16);
    fixture.fillBackBuffer(kGround);
    const struct {
        int x, y;
        Rect source;
    } refused[] = {
        {10, 10, {0, 0, 17, 16}},    // wider than the surface
        {10, 10, {-1, 0, 15, 16}},   // left of it
        {10, 10, {0, 4, 16, 20}},    // below it
        {10, 10, {5, 5, 5, 9}},      // empty
        {10, 10, {9, 0, 4, 16}},     // upside down
        {-1, 10, {0, 0, 16, 16}},    // left of the back buffer
        {385, 10, {0, 0, 16, 16}},   // one pixel over the right edge
        {10, 385, {0, 0, 16, 16}},   // one over the bottom
        {2147483640, 0, {0, 0, 16, 16}},
        {0, 0, {INT32_MIN, 0, INT32_MAX, 16}},
    };
    for (const auto& blit : refused) {
        EXPECT_EQ(DDERR_INVALIDRECT, fixture.display.blitFast(blit.x, blit.y, &tile, blit.source)) << blit.x;
    }
    for (int y = 0; y < 400; y += 3) {
        for (int x = 0; x < 400; x += 3) ASSERT_EQ(kGround, fixture.pixel(x, y)) << x << "," << y;
    }
    // Touching the edges is fitting.
    EXPECT_EQ(S_OK, fixture.display.blitFast(384, 384, &tile, Rect{0, 0, 16, 16}));
    EXPECT_EQ(kTile, fixture.pixel(399, 399));
}

TEST_F(DisplayDeviceTest, MissingBackBufferOrSurfaceIsRefused) {
    Surface tile;
    makeSurface(tile, "testTile", 16, 16);
    Surface empty;
    EXPECT_EQ(E_INVALIDARG, fixture.display.blitFast(0, 0, nullptr, Rect{0, 0, 16, 16}));
    EXPECT_EQ(E_INVALIDARG, fixture.display.blitFast(0, 0, &empty, Rect{0, 0, 16, 16}));

    fixture.display.releaseInterfaces();
    EXPECT_EQ(nullptr, fixture.display.platformDisplay());
    EXPECT_EQ(E_POINTER, fixture.display.blitFast(0, 0, &tile, Rect{0, 0, 16, 16}));
    EXPECT_EQ(E_POINTER, fixture.display.present());
    EXPECT_EQ(E_POINTER, fixture.display.cooperativeState());
    EXPECT_EQ(E_POINTER, fixture.display.restoreAll());
    EXPECT_EQ(E_POINTER, fixture.display.resetFont());
    Rgb ignored;
    EXPECT_FALSE(fixture.display.readBackBufferPixel(0, 0, ignored.red, ignored.green, ignored.blue));
}

TEST_F(DisplayDeviceTest, EachStartStepReportsItsOwnMessage) {
    const struct {
        DisplayStep step;
        platform::Status status;
        const char* text;
    } steps[] = {
        {DisplayStep::Device, DDERR_NODIRECTDRAWHW, "Unable to create IDirectDraw7 instance!"},
        {DisplayStep::CooperativeLevel, E_FAIL, "Unable to set cooperative level!"},
        {DisplayStep::PrimarySurface, DDERR_OUTOFVIDEOMEMORY, "Unable to create primary surface!"},
        {DisplayStep::BackBuffer, E_OUTOFMEMORY, "Unable to create back buffer!"},
    };
    // The window takes one renderer at a time.
    fixture.display.releaseInterfaces();
    for (const auto& failing : steps) {
        platform::testing::clearRecordedMessages();
        platform::testing::failDisplayStep(failing.step, failing.status);
        DisplayDevice device;
        EXPECT_EQ(0, device.start(fixture.window, fixture.logger));
        const std::string expected = std::string(failing.text) + "\r\nError: " + statusName(failing.status);
        ASSERT_EQ(1u, recordedMessages().size());
        EXPECT_EQ("DirectDraw error!", recordedMessages()[0].caption);
        EXPECT_EQ(expected, recordedMessages()[0].text);
        const std::string log = fixture.scratch.read("logError.txt");
        EXPECT_NE(std::string::npos,
                  log.find("Error: " + expected + "\r\n\r\nDescription: " + statusDescription(failing.status)));
        // Only a device that was made can be named.
        const bool named = failing.step != DisplayStep::Device;
        EXPECT_EQ(named, log.find(" renderer on ") != std::string::npos) << failing.text;
        EXPECT_EQ(E_POINTER, device.present());
    }
}

TEST_F(DisplayDeviceTest, LogNamesTheRendererOnceStarted) {
    const std::string description = display().description();
    EXPECT_NE(std::string::npos, description.find(std::string(" renderer on ") + SDL_GetCurrentVideoDriver()));
    platform::testing::failVideoMemory(true);
    platform::testing::failSystemMemory(E_OUTOFMEMORY);
    Surface surface;
    fixture.display.createOffscreen(surface, 10, 10, "picFont", fixture.logger);
    const std::string log = fixture.scratch.read("logError.txt");
    EXPECT_NE(std::string::npos, log.find("\tDevice: " + description + "\r\n")) << log;
}

TEST_F(DisplayDeviceTest, LostSurfacesComeBackEmptyAndShowTheFullPictureAfterARefill) {
    Surface arena;
    makeSurface(arena, "testArena", 400, 400);
    ASSERT_EQ(S_OK, fixture.display.blitFast(0, 0, &arena, Rect{0, 0, 400, 400}));
    ASSERT_TRUE(showsArena());
    EXPECT_EQ(S_OK, fixture.display.present());

    platform::testing::loseSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, fixture.display.present());
    EXPECT_EQ(DDERR_SURFACELOST, fixture.display.blitFast(0, 0, &arena, Rect{0, 0, 400, 400}));
    EXPECT_EQ(DDERR_SURFACELOST, arena.loadBitmap("testArena", 0, 0));
    EXPECT_EQ(S_OK, fixture.display.cooperativeState());

    EXPECT_EQ(S_OK, fixture.display.restoreAll());
    ASSERT_EQ(S_OK, fixture.display.blitFast(0, 0, &arena, Rect{0, 0, 400, 400}));
    EXPECT_FALSE(showsArena()) << "restoring must not bring the picture back by itself";

    EXPECT_EQ(S_OK, arena.loadBitmap("testArena", 0, 0));
    ASSERT_EQ(S_OK, fixture.display.blitFast(0, 0, &arena, Rect{0, 0, 400, 400}));
    EXPECT_TRUE(showsArena());
    EXPECT_EQ(S_OK, fixture.display.present());
}

TEST_F(DisplayDeviceTest, RendererResetsCountAsLostSurfacesAndAChangedMode) {
    platform::noteRenderEvent(SDL_RENDER_TARGETS_RESET);
    EXPECT_EQ(DDERR_SURFACELOST, fixture.display.present());
    fixture.display.restoreAll();
    EXPECT_EQ(S_OK, fixture.display.present());
    platform::noteRenderEvent(SDL_RENDER_DEVICE_RESET);
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.cooperativeState());
}

TEST_F(DisplayDeviceTest, AnotherProgramHoldingTheDisplayIsTemporary) {
    platform::testing::holdDisplayElsewhere(true);
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, fixture.display.cooperativeState());
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, fixture.display.cooperativeState());
    platform::testing::holdDisplayElsewhere(false);
    EXPECT_EQ(S_OK, fixture.display.cooperativeState());
}

TEST_F(DisplayDeviceTest, ModeChangeToSixteenBitsRebuildsOnTheSameDevice) {
    fixture.serveBitmap("testSprites", makeBitmap(20, 20, [](int x, int y) {
        return x > 5 && x < 14 && y > 5 && y < 14 ? kTile : kPureGreen;
    }));
    Surface sprites;
    makeSurface(sprites, "testSprites", 20, 20);
    sprites.keyColour(kKeyGreen);
    ASSERT_EQ(32, display().bitsPerPixel());

    platform::testing::changeDisplayMode(16);
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.cooperativeState());
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.present());
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.restoreAll());
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.cooperativeState()) << "the change holds until the rebuild";

    fixture.display.releaseInterfaces();
    ASSERT_EQ(1, fixture.display.start(fixture.window, fixture.logger));
    EXPECT_EQ(16, display().bitsPerPixel());
    EXPECT_EQ(S_OK, fixture.display.cooperativeState());
    // A surface of the old display is no use to the new one.
    EXPECT_EQ(DDERR_WRONGMODE, fixture.display.blitFast(0, 0, &sprites, Rect{0, 0, 20, 20}));

    sprites.release();
    ASSERT_EQ(1, fixture.display.createOffscreen(sprites, 20, 20, "testSprites", fixture.logger));
    sprites.loadBitmap("testSprites", 0, 0);
    sprites.keyColour(kKeyGreen);
    fixture.fillBackBuffer(kGround);
    ASSERT_EQ(S_OK, fixture.display.blitFast(100, 100, &sprites, Rect{0, 0, 20, 20}));
    EXPECT_TRUE(nearly(kGround, fixture.pixel(101, 101)));
    EXPECT_TRUE(nearly(kTile, fixture.pixel(110, 110)));
    EXPECT_EQ(S_OK, fixture.display.present());
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(DisplayDeviceTest, CaretBlinksOverThePresentedPictureNotInTheBackBuffer) {
    platform::testing::setTickCount(10000);
    fixture.fillBackBuffer(kGround);
    display().setCaret(true, 200, 270, 8, 2);
    display().showCaret();
    EXPECT_FALSE(display().caretDrawn()) << "nothing is shown before the first present";
    ASSERT_EQ(S_OK, fixture.display.present());
    EXPECT_TRUE(display().caretDrawn());
    EXPECT_EQ(200, display().caretPlace().x);
    EXPECT_EQ(270, display().caretPlace().y);
    EXPECT_EQ(8, display().caretPlace().w);
    EXPECT_EQ(kGround, fixture.pixel(203, 271));

    EXPECT_EQ(130u, display().refreshCaret(10400));
    EXPECT_TRUE(display().caretDrawn());
    EXPECT_EQ(530u, display().refreshCaret(10530));
    EXPECT_FALSE(display().caretDrawn());
    EXPECT_EQ(1u, display().refreshCaret(11059));
    EXPECT_FALSE(display().caretDrawn());
    display().refreshCaret(11060);
    EXPECT_TRUE(display().caretDrawn());

    // Moving it brings it back on at the new place.
    display().refreshCaret(11600);
    ASSERT_FALSE(display().caretDrawn());
    platform::testing::setTickCount(11600);
    display().setCaret(true, 210, 270, 8, 2);
    EXPECT_EQ(530u, display().refreshCaret(11600));
    EXPECT_TRUE(display().caretDrawn());
    EXPECT_EQ(210, display().caretPlace().x);

    display().hideCaret();
    EXPECT_EQ(platform::BlinkingCaret::kNoChange, display().refreshCaret(11700));
    EXPECT_FALSE(display().caretDrawn());
    display().setCaret(false, 0, 0, 0, 0);
    display().showCaret();
    EXPECT_EQ(platform::BlinkingCaret::kNoChange, display().refreshCaret(11800));
    EXPECT_FALSE(display().caretDrawn());
}

TEST_F(DisplayDeviceTest, FrameCostsAFractionOfAMillisecond) {
    Surface arena;
    makeSurface(arena, "testArena", 400, 400);
    constexpr int kFrames = 300;
    using Clock = std::chrono::steady_clock;
    const auto blitStart = Clock::now();
    for (int i = 0; i < kFrames; ++i) fixture.display.blitFast(0, 0, &arena, Rect{0, 0, 400, 400});
    const auto presentStart = Clock::now();
    for (int i = 0; i < kFrames; ++i) fixture.display.present();
    const auto end = Clock::now();
    const double blitMs = std::chrono::duration<double, std::milli>(presentStart - blitStart).count() / kFrames;
    const double presentMs = std::chrono::duration<double, std::milli>(end - presentStart).count() / kFrames;
    std::printf("[ timing   ] 400 x 400 blit %.3f ms, present %.3f ms (%s)\n", blitMs, presentMs,
                display().description().c_str());
    // Generous, so that a loaded machine or a sanitizer build still passes;
    // a pixel-by-pixel path would be far slower.
    EXPECT_LT(blitMs + presentMs, 4.0);
}

}  // namespace
