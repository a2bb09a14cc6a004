#include "replay/ReplayRecorder.h"

#include "combat/Combat.h"
#include "combat/MatchKeys.h"

namespace replay {

ReplayRecorder::ReplayRecorder(const Seat (&seats)[4], const MatchRandom::State& start, std::int64_t date,
                               const std::string& gameVersion, const std::string& buildId) {
    header.gameVersion = gameVersion;
    header.buildId = buildId;
    header.date = date;
    for (int colour = 0; colour < 4; ++colour) header.seats[colour] = seats[colour];
    header.random = start;
    header.people(human);
}

void ReplayRecorder::addFrame(std::uint32_t ms, const std::uint8_t* keyState, const Combat& combat) {
    if (bTooLong) return;
    if (frames.size() >= kMaxFrames) {
        // Whoever leaves a match running for a day gets no replay of it.
        bTooLong = true;
        frames.clear();
        header.checkpoints.clear();
        return;
    }
    frames.push_back(Frame{ms, matchKeys::pack(keyState, human)});
    if (frames.size() % kHashEvery == 0) {
        header.checkpoints.push_back(static_cast<std::uint32_t>(combat.stateHash()));
    }
}

bool ReplayRecorder::finish(MatchEnd end, const Combat& combat, Replay& replay) const {
    if (bTooLong || frames.empty()) return false;
    replay = header;
    replay.setFrames(frames);
    replay.finalHash = combat.stateHash();
    replay.end = end;
    for (int colour = 0; colour < 4; ++colour) replay.scores[colour] = combat.scoreLabel(colour).getValue();
    return true;
}

}  // namespace replay
