#pragma once
#include <cstdint>

// Match time: the system's millisecond ticks less the time the game spent
// in the background or minimised, so a match stands still while nobody can
// see it. All arithmetic wraps modulo 2^32; only differences matter.
class GameClock {
public:
    GameClock() = default;

    std::uint32_t now() const;
    // Minimising also deactivates the window, so the same request can come
    // twice in a row; a repeated pause or resume changes nothing, and each
    // pause is left out of the time exactly once.
    void setPaused(bool paused);

private:
    std::uint32_t dwPausedTotal = 0;
    std::uint32_t dwPauseStart = 0;
    std::int32_t bPaused = 0;
};
