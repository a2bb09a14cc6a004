#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "physics/MatchRandom.h"
#include "replay/Replay.h"

class Combat;

namespace replay {

// Writes down a match as it is played: made just before its first frame,
// told of every frame after the match has run it, finished when it ends.
class ReplayRecorder {
public:
    // `start` is the generator's state before the match was loaded; `date`
    // in seconds since 1970 UTC; `fingerprint` the recording game's
    // (GameFingerprint), which says where the replay plays again.
    ReplayRecorder(const Seat (&seats)[4], const MatchRandom::State& start, std::int64_t date,
                   const std::string& gameVersion, std::uint64_t fingerprint);
    // The same in the older format, under a build id instead: the golden
    // replays recorded from scripts stay byte for byte what they were.
    ReplayRecorder(const Seat (&seats)[4], const MatchRandom::State& start, std::int64_t date,
                   const std::string& gameVersion, const std::string& buildId);

    // The frame's time, the key state it read, and the match after it.
    void addFrame(std::uint32_t ms, const std::uint8_t* keyState, const Combat& combat);
    // The same for a match that is elsewhere by now (online, it has run on
    // ahead): its key bits, and the state hash after it, which is asked for
    // only when the frame is a checkpoint.
    bool wantsHashAfterNextFrame() const { return (frames.size() + 1) % kHashEvery == 0; }
    void addFrame(std::uint32_t ms, std::uint16_t keyBits, std::uint64_t hashAfter);
    // From the next frame on, a colour a person played is the computer's.
    void handOver(int colour);
    // How well the computer plays each colour it plays.
    void setLevels(const ComputerLevels& levels) { header.levels = levels; }

    // The whole replay; false when there is nothing worth keeping (no
    // frame, or more frames than a replay may hold).
    bool finish(MatchEnd end, const Combat& combat, Replay& replay) const;
    bool finish(MatchEnd end, std::uint64_t finalHash, const std::int32_t (&scores)[4], Replay& replay) const;

    std::uint32_t frameCount() const { return static_cast<std::uint32_t>(frames.size()); }

private:
    Replay header;
    std::uint8_t human[4];
    std::vector<Frame> frames;
    bool bTooLong = false;
};

}  // namespace replay
