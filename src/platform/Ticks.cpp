#include "platform/Ticks.h"

#include <SDL.h>

namespace platform {
namespace {
bool g_setClock = false;
std::uint32_t g_setTicks = 0;
std::uint32_t g_slept = 0;
}  // namespace

std::uint32_t tickCount() {
    if (g_setClock) return g_setTicks;
    return SDL_GetTicks();
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
