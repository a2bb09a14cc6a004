#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "combat/Combat.h"
#include "combat/MatchState.h"
#include "net/InputTimeline.h"

struct PlayerSetup;

namespace net {

// Runs this machine's copy of an online match. Every machine runs the same
// frames with the same frame times; what differs is when each learns the
// keys of the others. A machine's own keys count at once (after the input
// delay); the others' are guessed (as they were last heard) and when their
// real keys turn out otherwise, the match goes back to the snapshot before
// the first wrong frame and runs again to where it was, without a sound.
// It guesses at most kMaxPrediction frames ahead of what it knows; beyond,
// it waits for the others.
class RollbackScheduler {
public:
    struct Figures {
        std::uint64_t rollbacks = 0;
        std::uint64_t framesRunAgain = 0;
        std::uint32_t longestRunAgainUs = 0;
        std::uint32_t longestRunAgainFrames = 0;
        std::uint64_t stalls = 0;
    };

    // This machine's paddle keys (matchKeys bits 0-7) held when a frame was
    // about to run; they count `inputDelay` frames later.
    using HeldKeys = std::function<std::uint8_t(std::uint32_t frame)>;

    enum class Turn {
        kGoing,
        kOver,  // the match has ended, on frames everybody agrees on
    };

    // machine: this machine's number, or -1 for a spectator, who has no
    // keys of its own.
    RollbackScheduler(Combat& combat, PlayerSetup& setup, InputTimeline& timeline, int machine, int inputDelay);
    // A spectator never guesses: it plays the frames everybody's keys are
    // known for, this many frames behind the newest of them, so that the
    // picture runs smoothly although they come in batches.
    void watchBehind(std::uint32_t frames) { dwBehind = frames; }

    // The match's first frame is due now.
    void start(std::uint32_t nowMs);
    // One turn of the main loop: takes the keys that arrived into account,
    // then runs the frames whose time has come (usually one), with this
    // machine's keys. `hostFrame` is where the
    // host is, to keep step with it; negative on the host itself and for
    // spectators.
    Turn runTurn(std::uint32_t nowMs, const HeldKeys& heldKeys, double hostFrame);
    // No frame runs while the room is paused; the time stands still.
    void pause(std::uint32_t nowMs);
    void resume(std::uint32_t nowMs);
    // Runs no frame beyond this count (0: no limit).
    void stopAt(std::uint32_t frames) { dwStopAt = frames; }

    // The match ended by itself, on frames everybody agrees on.
    bool isOver() const { return bOver; }
    // Frames run so far: the number of the next one.
    std::uint32_t frame() const { return dwNext; }
    // Frames whose keys everybody agrees on and that have run with them.
    std::uint32_t settled() const { return dwSettled; }
    // The match as it stood after a settled frame (its first `frames`).
    bool settledState(std::uint32_t frames, MatchState& state) const;
    // The frame time and the key bits (people's colours) of a settled frame.
    std::uint32_t frameMs(std::uint32_t frame) const { return frameTime(frame); }
    // Only for the latest settled frames (a few dozen).
    std::uint16_t keyBits(std::uint32_t frame) const;
    void people(std::uint32_t frame, std::uint8_t (&human)[4]) const { timeline.people(frame, human); }

    // A test switch: once the first `frame` frames are settled, this
    // machine's match is nudged off the others' (a paddle a pixel aside).
    void nudgeAt(std::uint32_t frame) { dwNudgeAt = frame; }
    bool nudged() const { return bNudged; }
    // The first frame after which the match differs.
    std::uint32_t nudgedFrom() const { return dwNudgedFrom; }

    const Figures& figures() const { return stats; }

private:
    static constexpr std::uint32_t kRing = 32;

    struct Used {
        std::uint8_t keys = 0;
        std::uint8_t human = 0;
    };

    // The keys and players a frame should run with, as far as they are known.
    Used inputsFor(std::uint32_t frame) const;
    std::uint8_t guess(int machine) const;
    // The first frame run with other keys than it should have, or dwNext.
    std::uint32_t firstWrongFrame() const;
    void rollBackTo(std::uint32_t frame);
    Combat::FrameResult runFrame(bool heard);
    void advanceClock(std::uint32_t nowMs);
    void holdClock();
    std::uint32_t framesDue() const;
    void keepStep(double hostFrame);
    void nudge();

    Combat& combat;
    PlayerSetup& setup;
    InputTimeline& timeline;
    int iMachine;
    std::uint32_t dwDelay;

    std::uint32_t dwNext = 0;
    std::uint32_t dwSettled = 0;
    MatchState snapshots[kRing];
    Used used[kRing];
    // The turns' clock in ms, from the start; frame t is due at dOriginMs
    // plus the schedule's time of the t frames before it.
    std::uint32_t dwLastNow = 0;
    std::uint64_t qwClockMs = 0;
    double dOriginMs = 0;
    bool bPaused = false;
    // The match ended after frame dwOverAfter - 1 as far as it has run;
    // over for good once that frame is settled.
    bool bOverRan = false;
    std::uint32_t dwOverAfter = 0;
    bool bOver = false;
    std::uint32_t dwStopAt = 0;
    std::uint32_t dwBehind = 0;
    std::uint32_t dwNudgeAt = 0;
    bool bNudged = false;
    std::uint32_t dwNudgedFrom = 0;
    Figures stats;
};

}  // namespace net
