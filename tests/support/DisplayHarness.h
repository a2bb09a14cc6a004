#pragma once
#include <cstdint>

#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "platform/Window.h"

// What every scene stands on, made the way the game makes it: the message
// table, a hidden 400 x 400 window, a started display and the keyed sprite
// sheet. Hold a PlatformFaults beside it (declared before it).
class DisplayHarness {
public:
    DisplayHarness();

    bool ready() const { return bReady; }

    // The back buffer's colour at a point, packed 0xRRGGBB.
    std::uint32_t pixel(int x, int y) const;
    // Writes the back buffer as a BMP, for looking at a composed frame.
    bool saveBackBuffer(const char* path) const;

    ErrorLogger logger;
    platform::Window window;
    DisplayDevice display;
    Surface misc;

private:
    bool bReady = false;
};
