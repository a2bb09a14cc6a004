#pragma once
#include <cstdint>

#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "physics/MatchRandom.h"
#include "replay/Replay.h"

class DisplayDevice;
class ErrorLogger;
class SoundDevice;
class Surface;

namespace replay {

// Plays a recorded match again, frame by frame, in a match of its own (its
// own generator and player setup, so the game's are left alone), and
// checks it against the recorded state hashes as it goes. Deciding when
// each frame runs is the caller's: as fast as it can to verify, at the
// recorded pace to watch.
class ReplayPlayer {
public:
    enum class Step {
        kPlayed,    // a frame ran as recorded; more follow
        kEnded,     // the last frame ran and the match ended as recorded
        kDiverged,  // the match went another way than recorded
    };

    ReplayPlayer(const Replay& replay, DisplayDevice& display, SoundDevice* sound, Surface& misc,
                 ErrorLogger& logger);
    ReplayPlayer(const ReplayPlayer&) = delete;
    ReplayPlayer& operator=(const ReplayPlayer&) = delete;

    // Loads the match; 0 after a reported failure, among them a replay
    // recorded by a game that plays matches differently.
    int load();
    Step playFrame();

    Combat& combat() { return match; }
    const Replay& recorded() const { return replay; }
    std::uint32_t framesPlayed() const { return dwFramesPlayed; }
    // The time the next frame takes, 0 when none is left.
    std::uint32_t nextFrameTime() const { return bHasNext ? next.ms : 0; }
    // The first frame after which the match was found to differ, 0 if none.
    std::uint32_t divergedAt() const { return dwDivergedAt; }
    // The keys of the last frame played (matchKeys bits).
    std::uint16_t lastKeyBits() const { return wLastKeyBits; }

private:
    Step diverge();

    Replay replay;
    DisplayDevice& display;
    Surface& misc;
    ErrorLogger& logger;
    MatchRandom random;
    PlayerSetup setup;
    Combat match;
    FrameCursor cursor;
    Frame next;
    bool bHasNext = false;
    std::uint32_t dwFramesPlayed = 0;
    std::uint32_t dwDivergedAt = 0;
    bool bDone = false;
    std::uint16_t wLastKeyBits = 0;
    std::uint8_t keyState[256] = {};
};

}  // namespace replay
