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
    using Clock = std::uint64_t (*)();           // microseconds, any origin
    using Sleeper = void (*)(std::uint32_t ms);  // blocks the thread

    FramePacer();
    // Tests give their own time and sleep.
    FramePacer(Clock clock, Sleeper sleeper);

    // Refresh rate of the display the window is on (60 when unknown).
    void useRefreshRateOf(SDL_Window* window);
    void setRefreshRate(int hertz);
    // Called once a frame has been presented; returns when the next may start.
    void waitForNextFrame();
    std::uint32_t intervalMicroseconds() const { return intervalUs; }

private:
    Clock now;
    Sleeper sleep;
    std::uint64_t nextFrameUs = 0;
    bool started = false;
    std::uint32_t intervalUs = 16667;
};

// The performance counter in microseconds, free of overflow however long
// the machine has been up.
std::uint64_t performanceMicroseconds();
std::uint64_t microsecondsOf(std::uint64_t counter, std::uint64_t frequency);

namespace testing {
// The refresh rate every display reports from now on; 0 gives back the real one.
void setDisplayRefreshRate(int hertz);
}  // namespace testing

}  // namespace platform
