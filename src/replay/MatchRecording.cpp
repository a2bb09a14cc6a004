#include "replay/MatchRecording.h"

#include <cstdio>

#include "app/PlayerSetup.h"
#include "combat/Combat.h"
#include "input/PadClaims.h"
#include "replay/BuildStamp.h"

namespace replay {
namespace {

struct Seats {
    Seats(const PlayerSetup& setup, const PadClaims& pads) {
        for (int colour = 0; colour < 4; ++colour) {
            if (!setup.bHuman[colour]) continue;
            const int pad = pads.padOf(colour);
            seat[colour].device = pad > 0 ? Device::kPad : Device::kKeyboard;
            seat[colour].number = static_cast<std::uint8_t>(pad > 0 ? (pad > 255 ? 255 : pad) : 0);
        }
    }
    Seat seat[4];
};

}  // namespace

MatchRecording::MatchRecording(const PlayerSetup& setup, const PadClaims& pads, const MatchRandom::State& start,
                               const std::string& folder)
    : archive(folder),
      started(std::time(nullptr)),
      frames(Seats(setup, pads).seat, start, static_cast<std::int64_t>(started), gameVersion(), buildId()) {
    frames.setLevels(setup.levels);
}

MatchRecording::MatchRecording(const Seat (&seats)[4], const MatchRandom::State& start, const std::string& folder)
    : archive(folder),
      started(std::time(nullptr)),
      frames(seats, start, static_cast<std::int64_t>(started), gameVersion(), buildId()) {}

void MatchRecording::addFrame(std::uint32_t ms, const std::uint8_t* keys, const Combat& combat) {
    frames.addFrame(ms, keys, combat);
}

void MatchRecording::file(MatchEnd end, const Combat& combat) {
    std::int32_t scores[4];
    for (int colour = 0; colour < 4; ++colour) scores[colour] = combat.scoreLabel(colour).getValue();
    file(end, combat.stateHash(), scores);
}

void MatchRecording::file(MatchEnd end, std::uint64_t finalHash, const std::int32_t (&scores)[4]) {
    if (bFiled) return;
    bFiled = true;
    Replay replay;
    if (!frames.finish(end, finalHash, scores, replay)) return;
    std::string reason;
    if (!archive.store(replay, started, sFiledAs, reason)) {
        sFiledAs.clear();
        std::fprintf(stderr, "quadrill: the match's replay was not kept in %s: %s\n", archive.folder().c_str(),
                     reason.c_str());
    }
}

void MatchRecording::keepForGood(int row, std::int32_t score) {
    if (sFiledAs.empty()) return;
    std::string reason;
    if (!archive.keepForGood(sFiledAs, row, score, reason)) {
        std::fprintf(stderr, "quadrill: %s could not be kept for good: %s\n", sFiledAs.c_str(), reason.c_str());
    }
}

}  // namespace replay
