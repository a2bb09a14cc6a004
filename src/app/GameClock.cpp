#include "app/GameClock.h"

#include "platform/Ticks.h"

std::uint32_t GameClock::now() const {
    if (bPaused) return dwPauseStart - dwPausedTotal;
    return platform::tickCount() - dwPausedTotal;
}

void GameClock::setPaused(bool paused) {
    if (paused == (bPaused != 0)) return;
    bPaused = paused ? 1 : 0;
    if (paused) {
        dwPauseStart = platform::tickCount();
    } else {
        dwPausedTotal += platform::tickCount() - dwPauseStart;
    }
}
