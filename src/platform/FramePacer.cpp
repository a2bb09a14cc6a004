#include "platform/FramePacer.h"

#include <SDL.h>

namespace platform {
namespace {

int g_setRefreshRate = 0;

void sdlSleep(std::uint32_t ms) { SDL_Delay(ms); }

}  // namespace

std::uint64_t microsecondsOf(std::uint64_t counter, std::uint64_t frequency) {
    // counter * 10^6 overflows after 2^64 / 10^6 nanoseconds, about five
    // hours of uptime on Linux; whole seconds and the rest never do.
    if (frequency == 0) return 0;
    return counter / frequency * 1000000ull + counter % frequency * 1000000ull / frequency;
}

std::uint64_t performanceMicroseconds() {
    return microsecondsOf(SDL_GetPerformanceCounter(), SDL_GetPerformanceFrequency());
}

FramePacer::FramePacer() : FramePacer(performanceMicroseconds, sdlSleep) {}

FramePacer::FramePacer(Clock clock, Sleeper sleeper) : now(clock), sleep(sleeper) {}

void FramePacer::useRefreshRateOf(SDL_Window* window) {
    if (g_setRefreshRate > 0) {
        setRefreshRate(g_setRefreshRate);
        return;
    }
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
    const std::uint64_t nowUs = now();
    // Start afresh on the first frame, when we fell behind by more than a
    // frame (a slow frame, a modal loop, a suspended machine), and when the
    // clock went backwards: never race to catch up, never wait for a
    // moment that has moved out of reach.
    const bool fellBehind = nowUs > nextFrameUs + intervalUs;
    const bool wentBack = nextFrameUs > intervalUs && nowUs < nextFrameUs - intervalUs;
    if (!started || fellBehind || wentBack) {
        started = true;
        nextFrameUs = nowUs + intervalUs;
        return;
    }
    if (nowUs < nextFrameUs) {
        // Sleeping rather than spinning: a millisecond late costs nothing,
        // the match measures its steps by the clock.
        const std::uint64_t waitMs = (nextFrameUs - nowUs + 999) / 1000;
        // One interval to the millisecond at most. Cut below it, a light
        // frame would wake before its time, be taken for a clock that went
        // back, and start afresh at once: two frames for every interval.
        const std::uint64_t longestMs = (intervalUs + 999) / 1000;
        sleep(static_cast<std::uint32_t>(waitMs < longestMs ? waitMs : longestMs));
    }
    nextFrameUs += intervalUs;
}

namespace testing {
void setDisplayRefreshRate(int hertz) { g_setRefreshRate = hertz; }
}  // namespace testing

}  // namespace platform
