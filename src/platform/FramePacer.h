#pragma once
#include <cstdint>

struct SDL_Window;

namespace platform {

// Keeps a running match to the display's refresh rate. Presenting asks
// for vertical sync, but the dummy driver and some X servers ignore it, so
// the pacer also sleeps away whatever is left of each refresh interval:
// a match then costs a small part of one core instead of all of it.
class FramePacer {
public:
    FramePacer() = default;

    // Refresh rate of the display the window is on (60 when unknown).
    void useRefreshRateOf(SDL_Window* window);
    void setRefreshRate(int hertz);
    // Called once a frame has been presented; returns when the next may start.
    void waitForNextFrame();
    std::uint32_t intervalMicroseconds() const { return intervalUs; }

private:
    std::uint64_t nextFrameUs = 0;
    std::uint32_t intervalUs = 16667;
};

}  // namespace platform
