#pragma once
#include <cstdint>

#include "combat/Combat.h"

class GameClock;

// Runs a match played here and now: one frame per turn of the main loop,
// taking as long as the game clock says has passed since the last one, with
// the keys as they are. The clock is read once a frame; the match sees only
// the difference, so the frame times it is given are all it needs to be
// played again.
class LocalScheduler {
public:
    // The match has just been loaded: its time starts now.
    LocalScheduler(Combat& combat, const GameClock& clock);

    Combat::FrameResult runFrame(const std::uint8_t* keys);
    // Time spent minimised, in the window's menu or moving the window is
    // nobody's: the next frame counts from now.
    void dropElapsed();

    // The time of the last frame run.
    std::uint32_t lastFrameTime() const { return dwLastFrameTime; }

private:
    Combat& combat;
    const GameClock& clock;
    std::uint32_t dwLastReading;
    std::uint32_t dwLastFrameTime;
};
