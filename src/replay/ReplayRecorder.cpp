#include "replay/ReplayRecorder.h"

#include <algorithm>

#include "combat/Combat.h"
#include "combat/MatchKeys.h"

namespace replay {

ReplayRecorder::ReplayRecorder(const Seat (&seats)[4], const MatchRandom::State& start, std::int64_t date,
                               const std::string& gameVersion, std::uint64_t fingerprint)
    : ReplayRecorder(seats, start, date, gameVersion, std::string()) {
    header.fingerprint = fingerprint;
}

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
    addFrame(ms, matchKeys::pack(keyState, human), wantsHashAfterNextFrame() ? combat.stateHash() : 0);
}

void ReplayRecorder::addFrame(std::uint32_t ms, std::uint16_t keyBits, std::uint64_t hashAfter) {
    if (bTooLong) return;
    if (frames.size() >= kMaxFrames) {
        // Whoever leaves a match running for a day gets no replay of it.
        bTooLong = true;
        frames.clear();
        header.checkpoints.clear();
        return;
    }
    frames.push_back(Frame{ms, static_cast<std::uint16_t>(keyBits & matchKeys::peopleMask(human))});
    if (frames.size() % kHashEvery == 0) header.checkpoints.push_back(static_cast<std::uint32_t>(hashAfter));
}

void ReplayRecorder::handOver(int colour) {
    if (colour < 0 || colour > 3 || !human[colour]) return;
    human[colour] = 0;
    header.handOvers.push_back(HandOver{static_cast<std::uint8_t>(colour), frameCount()});
}

bool ReplayRecorder::finish(MatchEnd end, const Combat& combat, Replay& replay) const {
    std::int32_t scores[4];
    for (int colour = 0; colour < 4; ++colour) scores[colour] = combat.scoreLabel(colour).getValue();
    return finish(end, combat.stateHash(), scores, replay);
}

bool ReplayRecorder::finish(MatchEnd end, std::uint64_t finalHash, const std::int32_t (&scores)[4],
                            Replay& replay) const {
    if (bTooLong || frames.empty()) return false;
    replay = header;
    // A colour handed over after the last frame changed nothing.
    replay.handOvers.clear();
    for (const HandOver& handOver : header.handOvers) {
        if (handOver.fromFrame < frames.size()) replay.handOvers.push_back(handOver);
    }
    // Kept in colour order, as the file keeps them.
    std::sort(replay.handOvers.begin(), replay.handOvers.end(),
              [](const HandOver& a, const HandOver& b) { return a.colour < b.colour; });
    // A strength the computer never played at is not worth a newer format.
    for (int colour = 0; colour < 4; ++colour) {
        if (!replay.computerPlayed(colour)) replay.levels.set(colour, ComputerLevel::kNormal);
    }
    replay.setFrames(frames);
    replay.finalHash = finalHash;
    replay.end = end;
    for (int colour = 0; colour < 4; ++colour) replay.scores[colour] = scores[colour];
    return true;
}

}  // namespace replay
