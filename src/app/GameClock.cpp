#include "app/GameClock.h"

#include "platform/Ticks.h"

std::uint32_t GameClock::now() const {
    if (bPaused) return dwPauseStart - dwPausedTotal;
    return platform::tickCount() - dwPausedTotal;
}

void GameClock::setPaused(Reason reason, bool paused) {
    const std::int32_t bit = static_cast<std::int32_t>(reason);
    const std::int32_t reasons = paused ? (bPaused | bit) : (bPaused & ~bit);
    if ((reasons != 0) != (bPaused != 0)) {
        if (reasons != 0) {
            dwPauseStart = platform::tickCount();
        } else {
            dwPausedTotal += platform::tickCount() - dwPauseStart;
        }
    }
    bPaused = reasons;
}
