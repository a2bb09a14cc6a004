#include "platform/Ticks.h"

#include <SDL.h>
#include <time.h>

namespace platform {
namespace {
bool g_setClock = false;
std::uint32_t g_setTicks = 0;
std::uint32_t g_slept = 0;
}  // namespace

std::uint32_t tickCount() {
    if (g_setClock) return g_setTicks;
    // Counted from the machine's start, as a system tick count is: the game
    // seeds its dice with it, and the time since our own start would give
    // nearly the same seed at every launch.
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return SDL_GetTicks();
    const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void sleepMilliseconds(std::uint32_t ms) {
    if (g_setClock) {
        g_setTicks += ms;
        g_slept += ms;
        return;
    }
    SDL_Delay(ms);
}

namespace testing {

void setTickCount(std::uint32_t ms) {
    if (!g_setClock) g_slept = 0;
    g_setClock = true;
    g_setTicks = ms;
}

void advanceTickCount(std::uint32_t ms) { g_setTicks += ms; }

void useRealTickCount() {
    g_setClock = false;
    g_slept = 0;
}

bool tickCountIsSet() { return g_setClock; }

std::uint32_t sleptMilliseconds() { return g_slept; }

}  // namespace testing
}  // namespace platform
