#include <SDL.h>
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "platform/Display.h"
#include "platform/Window.h"

namespace {

using namespace platform::status;

// Where a click at a window position lands in the picture, through SDL's
// own mapping of the renderer's scaling.
SDL_Point pictureClick(platform::Window& window, int x, int y) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.windowID = SDL_GetWindowID(window.sdlWindow());
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    click.button.x = x;
    click.button.y = y;
    SDL_PushEvent(&click);
    SDL_Event delivered{};
    while (SDL_PollEvent(&delivered)) {
        if (delivered.type == SDL_MOUSEBUTTONDOWN) return SDL_Point{delivered.button.x, delivered.button.y};
    }
    return SDL_Point{-9999, -9999};
}

TEST(GraphicsWindowTest, ClientAreaHasTheAskedSize) {
    PlatformFaults faults;
    platform::Window window;
    EXPECT_EQ(0, window.clientRect().right);
    ASSERT_TRUE(window.create("Quadrill", 400, 400, false));
    const platform::ScreenRect client = window.clientRect();
    EXPECT_EQ(400, client.right - client.left);
    EXPECT_EQ(400, client.bottom - client.top);
    EXPECT_EQ(SDL_WINDOW_ALLOW_HIGHDPI, SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_ALLOW_HIGHDPI);
    EXPECT_EQ(SDL_WINDOW_RESIZABLE, SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_RESIZABLE);
    window.destroy();
    EXPECT_FALSE(window.isOpen());
}

TEST(GraphicsWindowTest, LargerWindowShowsThePictureScaledAndClicksComeInPictureCoordinates) {
    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    logger.init();
    platform::Window window;
    ASSERT_TRUE(window.create("Quadrill", 800, 800, false));
    DisplayDevice display;
    ASSERT_EQ(1, display.start(window, logger));
    EXPECT_EQ(S_OK, display.present());

    const SDL_Point p = pictureClick(window, 600, 202);
    EXPECT_EQ(300, p.x);
    EXPECT_EQ(101, p.y);
}

class WindowScalingTest : public ::testing::Test {
protected:
    void start(int width, int height) {
        logger.init();
        ASSERT_TRUE(window.create("Quadrill", width, height, false));
        ASSERT_EQ(1, display.start(window, logger));
        ASSERT_EQ(S_OK, display.present());
    }
    void resize(int width, int height) {
        SDL_SetWindowSize(window.sdlWindow(), width, height);
        ASSERT_EQ(S_OK, display.present());
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    platform::Window window;
    DisplayDevice display;
};

TEST_F(WindowScalingTest, ClicksMapBackToThePictureAtEverySize) {
    start(400, 400);
    SDL_Point p = pictureClick(window, 123, 321);
    EXPECT_EQ(123, p.x);
    EXPECT_EQ(321, p.y);

    resize(800, 800);  // twice the picture
    p = pictureClick(window, 247, 641);
    EXPECT_EQ(123, p.x);
    EXPECT_EQ(320, p.y);

    // Wide: the picture twice over in the middle, bars left and right.
    resize(1300, 850);
    p = pictureClick(window, 250 + 2 * 100 + 1, 25 + 2 * 300 + 1);
    EXPECT_EQ(100, p.x);
    EXPECT_EQ(300, p.y);
    EXPECT_LT(pictureClick(window, 100, 400).x, 0);  // in the left bar

    // Smaller than the picture: scaled down, never cut.
    resize(300, 300);
    p = pictureClick(window, 150, 299);
    EXPECT_EQ(200, p.x);
    EXPECT_NEAR(398, p.y, 1);
}

TEST_F(WindowScalingTest, FullscreenAndBackKeepsTheWindowsSize) {
    start(400, 400);
    resize(600, 500);
    ASSERT_TRUE(window.setFullscreen(true));
    EXPECT_TRUE(window.isFullscreen());
    // The dummy driver keeps the window's size in fullscreen: the picture at
    // the desktop's size is seen under Xvfb.
    ASSERT_TRUE(window.setFullscreen(false));
    EXPECT_FALSE(window.isFullscreen());
    int width = 0;
    int height = 0;
    window.windowedSize(width, height);
    EXPECT_EQ(600, width);
    EXPECT_EQ(500, height);
}

}  // namespace
