#pragma once
#include <cstdint>
#include <string>

#include "physics/MatchRandom.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayRecorder.h"

class Combat;
class ErrorLogger;
class PadClaims;
struct PlayerSetup;

namespace replay {

// The recording of a match played in the window, from its first frame to
// the replays folder. People play on a pad when one holds their colour,
// else on the keyboard.
class MatchRecording {
public:
    // `start` is the generator's state before the match was loaded;
    // `fingerprint` this game's (GameFingerprint::own). A replay that cannot
    // be kept is told to the player through `teller`, as a table that cannot
    // be saved is; without one, on stderr.
    MatchRecording(const PlayerSetup& setup, const PadClaims& pads, const MatchRandom::State& start,
                   const std::string& folder, std::uint64_t fingerprint, ErrorLogger* teller = nullptr);
    // Online, every person plays on a machine of the room.
    MatchRecording(const Seat (&seats)[4], const MatchRandom::State& start, const std::string& folder,
                   std::uint64_t fingerprint, ErrorLogger* teller = nullptr);

    void addFrame(std::uint32_t ms, const std::uint8_t* keys, const Combat& combat);
    // The recorder, for a match that tells its frames once they are settled.
    ReplayRecorder& recorder() { return frames; }
    // Files the replay of the match that has just ended, once: later calls
    // change nothing. A failure (a full disk, a read-only folder) is told,
    // with its reason; failure() keeps it.
    void file(MatchEnd end, const Combat& combat);
    void file(MatchEnd end, std::uint64_t finalHash, const std::int32_t (&scores)[4]);
    // The match's result entered the table of best results at `row`: its
    // replay is kept for good.
    void keepForGood(int row, std::int32_t score);
    // The name it was filed under; empty before, or when it was not.
    const std::string& filedAs() const { return sFiledAs; }
    // What went wrong filing it, or keeping it for good; empty when nothing.
    const std::string& failure() const { return sFailure; }

private:
    ReplayArchive archive;
    std::time_t started;
    ReplayRecorder frames;
    void tell(const std::string& message, const std::string& reason);

    ErrorLogger* pTeller;
    bool bFiled = false;
    std::string sFiledAs;
    std::string sFailure;
};

}  // namespace replay
