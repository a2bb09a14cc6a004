#include <SDL.h>
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "platform/Display.h"
#include "platform/Window.h"

namespace {

using namespace platform::status;

TEST(GraphicsWindowTest, ClientAreaHasTheAskedSize) {
    PlatformFaults faults;
    platform::Window window;
    EXPECT_EQ(0, window.clientRect().right);
    ASSERT_TRUE(window.create("Quadrill", 400, 400, false));
    const platform::ScreenRect client = window.clientRect();
    EXPECT_EQ(400, client.right - client.left);
    EXPECT_EQ(400, client.bottom - client.top);
    EXPECT_EQ(SDL_WINDOW_ALLOW_HIGHDPI, SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_ALLOW_HIGHDPI);
    EXPECT_EQ(0u, SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_RESIZABLE);
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

    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.windowID = SDL_GetWindowID(window.sdlWindow());
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    click.button.x = 600;
    click.button.y = 202;
    ASSERT_EQ(1, SDL_PushEvent(&click));
    SDL_Event delivered{};
    bool found = false;
    while (SDL_PollEvent(&delivered)) {
        if (delivered.type == SDL_MOUSEBUTTONDOWN) {
            found = true;
            break;
        }
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(300, delivered.button.x);
    EXPECT_EQ(101, delivered.button.y);
}

}  // namespace
