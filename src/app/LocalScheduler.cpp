#include "app/LocalScheduler.h"

#include "app/GameClock.h"

LocalScheduler::LocalScheduler(Combat& combatIn, const GameClock& clockIn)
    : combat(combatIn), clock(clockIn), dwLastReading(clockIn.now()), dwLastFrameTime(0) {}

Combat::FrameResult LocalScheduler::runFrame(const std::uint8_t* keys) {
    const std::uint32_t reading = clock.now();
    dwLastFrameTime = reading - dwLastReading;
    dwLastReading = reading;
    return combat.playFrame(keys, dwLastFrameTime);
}

void LocalScheduler::dropElapsed() { dwLastReading = clock.now(); }
