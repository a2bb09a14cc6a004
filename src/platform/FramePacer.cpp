#include "platform/FramePacer.h"

#include <SDL.h>

namespace platform {
namespace {
std::uint64_t nowMicroseconds() {
    return SDL_GetPerformanceCounter() * 1000000ull / SDL_GetPerformanceFrequency();
}
}  // namespace

void FramePacer::useRefreshRateOf(SDL_Window* window) {
    SDL_DisplayMode mode;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0) {
        setRefreshRate(mode.refresh_rate);
    } else {
        setRefreshRate(60);
    }
}

void FramePacer::setRefreshRate(int hertz) {
    if (hertz < 24 || hertz > 500) hertz = 60;
    intervalUs = static_cast<std::uint32_t>(1000000 / hertz);
}

void FramePacer::waitForNextFrame() {
    const std::uint64_t now = nowMicroseconds();
    if (nextFrameUs == 0 || now > nextFrameUs + intervalUs) {
        // First frame, or we fell behind (a slow frame, a modal loop): start
        // counting afresh instead of racing to catch up.
        nextFrameUs = now + intervalUs;
        return;
    }
    if (now < nextFrameUs) {
        // Sleeping rather than spinning: a millisecond late costs nothing,
        // the match measures its steps by the clock.
        SDL_Delay(static_cast<Uint32>((nextFrameUs - now + 999) / 1000));
    }
    nextFrameUs += intervalUs;
}

}  // namespace platform
