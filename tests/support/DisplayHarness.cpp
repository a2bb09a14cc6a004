#include "support/DisplayHarness.h"

#include <SDL.h>

#include "platform/Display.h"
#include "platform/PixelSurface.h"

DisplayHarness::DisplayHarness() {
    if (!logger.init()) return;
    if (!window.create("Quadrill", 400, 400, false)) return;
    if (!display.start(window, logger)) return;
    if (!display.createOffscreen(misc, 65, 204, "picMisc", logger)) return;
    misc.loadBitmap("picMisc", 0, 0);
    misc.keyColour(kKeyGreen);
    bReady = true;
}

std::uint32_t DisplayHarness::pixel(int x, int y) const {
    std::uint8_t r = 0, g = 0, b = 0;
    display.readBackBufferPixel(x, y, r, g, b);
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

bool DisplayHarness::saveBackBuffer(const char* path) const {
    platform::Display* screen = display.platformDisplay();
    if (screen == nullptr || screen->backBuffer() == nullptr) return false;
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, 400, 400, 24, SDL_PIXELFORMAT_BGR24);
    if (frame == nullptr) return false;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            const std::uint32_t rgb = pixel(x, y);
            auto* p = static_cast<std::uint8_t*>(frame->pixels) + y * frame->pitch + x * 3;
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    }
    const bool saved = SDL_SaveBMP(frame, path) == 0;
    SDL_FreeSurface(frame);
    return saved;
}
