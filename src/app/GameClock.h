#pragma once
#include <cstdint>

// Match time: the system's millisecond ticks less the time the game spent
// paused, so a match stands still while nobody can see it or while its
// players have paused it. All arithmetic wraps modulo 2^32; only
// differences matter.
class GameClock {
public:
    // Why the clock stands still. The two are kept apart: the window coming
    // back to the front must not end a pause the players asked for.
    enum class Reason : std::int32_t { Window = 1, Player = 2 };

    GameClock() = default;

    std::uint32_t now() const;
    // The window went to the background or was minimised. Minimising also
    // deactivates the window, so the same request can come twice in a row;
    // a repeated pause or resume changes nothing, and each pause is left
    // out of the time exactly once.
    void setPaused(bool paused) { setPaused(Reason::Window, paused); }
    // The clock stands still while any reason holds.
    void setPaused(Reason reason, bool paused);
    bool isPaused() const { return bPaused != 0; }

private:
    std::uint32_t dwPausedTotal = 0;
    std::uint32_t dwPauseStart = 0;
    // The reasons that hold, one bit each.
    std::int32_t bPaused = 0;
};
