#include "replay/MatchRecording.h"

#include <cstdio>

#include "combat/PlayerSetup.h"
#include "combat/Combat.h"
#include "errors/ErrorLogger.h"
#include "input/PadClaims.h"
#include "replay/GameFingerprint.h"

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
                               const std::string& folder, std::uint64_t fingerprint, ErrorLogger* teller)
    : MatchRecording(Seats(setup, pads).seat, start, folder, fingerprint, teller) {
    frames.setLevels(setup.levels);
}

MatchRecording::MatchRecording(const Seat (&seats)[4], const MatchRandom::State& start, const std::string& folder,
                               std::uint64_t fingerprint, ErrorLogger* teller)
    : archive(folder),
      started(std::time(nullptr)),
      frames(seats, start, static_cast<std::int64_t>(started), GameFingerprint::gameVersion(), fingerprint),
      pTeller(teller) {}

void MatchRecording::tell(const std::string& message, const std::string& reason) {
    sFailure = message;
    if (pTeller) {
        pTeller->reportText(0, message, reason);
    } else {
        std::fprintf(stderr, "quadrill: %s\n", message.c_str());
    }
}

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
        tell("Could not save the match's replay in " + archive.folder() + ": " + reason + ".", reason);
    }
}

void MatchRecording::keepForGood(int row, std::int32_t score) {
    if (sFiledAs.empty()) return;
    std::string reason;
    if (!archive.keepForGood(sFiledAs, row, score, reason)) {
        tell("Could not mark the replay " + sFiledAs + " in " + archive.folder() + " to be kept for good: " + reason +
                 ".",
             reason);
    }
}

}  // namespace replay
