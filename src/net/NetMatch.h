#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "combat/MatchState.h"
#include "net/RollbackScheduler.h"
#include "physics/MatchRandom.h"
#include "replay/MatchRecording.h"

class DisplayDevice;
class ErrorLogger;
class SoundDevice;
class Surface;

namespace net {

class Session;

// This machine's copy of an online match: the match itself, run by the
// rollback scheduler, and what is done with its frames once everybody's
// keys for them are known: the replay, the state hashes the host compares,
// the figures of the play.
class NetMatch {
public:
    struct Options {
        int inputDelay = 1;
        // Ends the match after this many frames (0: at its end).
        std::uint32_t stopAfter = 0;
        // Test switches: nudge this machine's match off the others' once
        // this many frames are settled; write the picture after a frame.
        std::uint32_t nudgeAt = 0;
        std::uint32_t dumpFrame = 0;
        std::string dumpPath;
    };

    // What the match left behind: its last settled frame and the state then.
    struct Result {
        std::uint32_t frames = 0;
        std::uint64_t hash = 0;
        std::int32_t scores[4] = {0, 0, 0, 0};
    };

    NetMatch(Session& session, DisplayDevice& display, SoundDevice* sound, Surface& misc, ErrorLogger& logger,
             const Options& options, const std::string& replayFolder);
    ~NetMatch();
    NetMatch(const NetMatch&) = delete;
    NetMatch& operator=(const NetMatch&) = delete;

    // Loads the match the session's Start describes; its first frame is due
    // now. 0 after a reported failure.
    int load(std::uint32_t nowMs);

    enum class Turn { kGoing, kOver };
    // One turn of the main loop, after the session has read what arrived:
    // the frames that are due with this machine's paddle keys, then what
    // has settled. kOver once the match has ended on settled frames, or the
    // frame limit is reached.
    // `heldKeys` are this machine's keys held as a frame was about to run.
    Turn runTurn(std::uint32_t nowMs, const RollbackScheduler::HeldKeys& heldKeys);
    void pause(std::uint32_t nowMs) { scheduler.pause(nowMs); }
    void resume(std::uint32_t nowMs) { scheduler.resume(nowMs); }

    // Files the replay, as far as the frames are settled, once.
    void file(replay::MatchEnd end);
    Result result() const;
    // The replay's name in the replays folder, once filed.
    const std::string& replayName() const { return recording->filedAs(); }
    // How the match went, for the closing words of a headless run.
    std::string figures(std::uint32_t nowMs) const;

    Combat& combat() { return match; }
    const RollbackScheduler& rollback() const { return scheduler; }
    // The hash this machine had after a settled frame, when it still knows.
    bool settledHash(std::uint32_t frames, std::uint64_t& hash) const;

private:
    void settle();
    void notePress(std::uint32_t nowMs, std::uint8_t localKeys);
    void seeMoved(std::uint32_t nowMs);
    void dump(std::uint32_t frames);

    Session& session;
    DisplayDevice& display;
    Options options;
    MatchRandom random;
    PlayerSetup setup;
    Combat match;
    RollbackScheduler scheduler;
    std::unique_ptr<replay::MatchRecording> recording;
    std::uint32_t dwRecorded = 0;
    bool bRecordingStopped = false;
    // The last few checkpoints this machine reported, for a bug report.
    std::uint64_t hashes[8] = {};
    std::uint32_t hashFrames[8] = {};

    std::uint32_t dwStartMs = 0;
    std::uint64_t qwSentAtStart = 0;
    std::uint64_t qwReceivedAtStart = 0;
    // A key pressed here, waiting to be seen moving its paddle.
    bool bPressPending = false;
    std::uint32_t dwPressMs = 0;
    std::uint32_t dwPressTurn = 0;
    std::uint32_t dwTurns = 0;
    int iPressColour = -1;
    double dPressPosition = 0;
    std::uint8_t cLastKeys = 0;
    std::uint64_t cPresses = 0;
    std::uint64_t qwLatencyMsTotal = 0;
    std::uint64_t qwLatencyFramesTotal = 0;
    std::uint32_t dwLatencyMsLongest = 0;
    std::uint32_t dwLatencyFramesLongest = 0;
};

}  // namespace net
