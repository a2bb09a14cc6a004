#include "replay/ReplayPlayer.h"

#include "combat/MatchKeys.h"
#include "errors/ErrorLogger.h"
#include "replay/GameFingerprint.h"

namespace replay {
namespace {

Combat::FrameResult resultOf(MatchEnd end) {
    switch (end) {
        case MatchEnd::kOver:
            return Combat::FrameResult::kOver;
        case MatchEnd::kLeft:
            return Combat::FrameResult::kLeft;
        default:
            return Combat::FrameResult::kGoing;
    }
}

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& recordedReplay, DisplayDevice& displayIn, SoundDevice* sound,
                           Surface& miscIn, ErrorLogger& loggerIn)
    : replay(recordedReplay),
      display(displayIn),
      misc(miscIn),
      logger(loggerIn),
      match(displayIn, sound, random, miscIn, setup, loggerIn),
      cursor(replay.frameTimes, replay.keys) {
    random.setState(replay.random);
    replay.people(setup.bHuman);
    setup.levels = replay.levels;
    bHasNext = cursor.next(next);
}

int ReplayPlayer::load() {
    // Only a fingerprinted replay asks for this game's: an older one plays
    // without the few milliseconds of working it out.
    std::string why;
    if (replay.fingerprint && !GameFingerprint::playsHere(replay, GameFingerprint::own(display, misc, logger), why)) {
        logger.reportText(0, why, "another match fingerprint");
        return 0;
    }
    return match.load();
}

ReplayPlayer::Step ReplayPlayer::diverge() {
    bDone = true;
    dwDivergedAt = dwFramesPlayed;
    return Step::kDiverged;
}

ReplayPlayer::Step ReplayPlayer::playFrame() {
    if (bDone) return dwDivergedAt ? Step::kDiverged : Step::kEnded;
    if (!bHasNext) return diverge();
    wLastKeyBits = next.keyBits;
    matchKeys::unpack(next.keyBits, keyState);
    replay.people(dwFramesPlayed, setup.bHuman);
    const Combat::FrameResult result = match.playFrame(keyState, next.ms);
    ++dwFramesPlayed;
    bHasNext = cursor.next(next);

    if (dwFramesPlayed % kHashEvery == 0) {
        const std::size_t checkpoint = dwFramesPlayed / kHashEvery - 1;
        if (checkpoint >= replay.checkpoints.size() ||
            replay.checkpoints[checkpoint] != static_cast<std::uint32_t>(match.stateHash())) {
            return diverge();
        }
    }
    if (bHasNext) {
        // A match that ends before its last frame went another way.
        return result == Combat::FrameResult::kGoing ? Step::kPlayed : diverge();
    }
    if (result != resultOf(replay.end) || match.stateHash() != replay.finalHash) return diverge();
    for (int colour = 0; colour < 4; ++colour) {
        if (match.scoreLabel(colour).getValue() != replay.scores[colour]) return diverge();
    }
    bDone = true;
    return Step::kEnded;
}

}  // namespace replay
