#pragma once
#include <cstdint>
#include <string>

#include "physics/MatchRandom.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplayRecorder.h"

class Combat;
struct PlayerSetup;

namespace replay {

// The recording of a match played in the window, from its first frame to
// the replays folder. People play on the keyboard.
class MatchRecording {
public:
    // `start` is the generator's state before the match was loaded.
    MatchRecording(const PlayerSetup& setup, const MatchRandom::State& start, const std::string& folder);

    void addFrame(std::uint32_t ms, const std::uint8_t* keys, const Combat& combat);
    // Files the replay of the match that has just ended; the name it was
    // filed under, or empty when none was (a failure is told on stderr).
    std::string file(MatchEnd end, const Combat& combat);
    // The replay filed last entered the table of best results at `row`.
    void keepForGood(const std::string& name, int row, std::int32_t score);

private:
    ReplayArchive archive;
    std::time_t started;
    ReplayRecorder recorder;
};

}  // namespace replay
