#include "VerifyReplays.h"

#include <chrono>
#include <cstdio>

#include "HeadlessStage.h"
#include "SimOptions.h"
#include "StateTrace.h"
#include "graphics/BackBufferFile.h"
#include "replay/GameFingerprint.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"

namespace {

bool verifyOne(const std::string& path, const SimOptions& options, HeadlessStage& stage, std::uint64_t& frames) {
    replay::Replay recorded;
    std::string error;
    if (!replay::loadReplay(path, recorded, error)) {
        std::printf("%s: cannot be played: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (recorded.fingerprint) {
        const std::uint64_t ours = replay::GameFingerprint::own(stage.display, stage.misc, stage.logger);
        if (!replay::GameFingerprint::playsHere(recorded, ours, error)) {
            std::printf("%s: cannot be played: %s\n", path.c_str(), error.c_str());
            return false;
        }
    }
    replay::ReplayPlayer player(recorded, stage.display, nullptr, stage.misc, stage.logger);
    Combat& combat = player.combat();
    combat.setFrameDrawing(false);
    if (!player.load()) {
        std::printf("%s: the match could not be loaded\n", path.c_str());
        return false;
    }
    replay::ReplayPlayer::Step step = replay::ReplayPlayer::Step::kPlayed;
    while (step == replay::ReplayPlayer::Step::kPlayed) {
        const std::uint32_t ms = player.nextFrameTime();
        step = player.playFrame();
        if (options.trace) printStateTrace(player.framesPlayed(), ms, player.lastKeyBits(), combat);
        if (!options.snapshotPath.empty() && player.framesPlayed() == options.snapshotFrame) {
            combat.compose();
            if (!saveBackBuffer(stage.display, options.snapshotPath.c_str())) {
                std::fprintf(stderr, "quadrill-sim: could not write %s\n", options.snapshotPath.c_str());
            }
        }
    }
    frames += player.framesPlayed();
    const std::int32_t* scores = recorded.scores;
    std::printf("%s: scores %d %d %d %d, %u frames, hash %016llx, ", path.c_str(), scores[0], scores[1], scores[2],
                scores[3], recorded.frameCount, static_cast<unsigned long long>(recorded.finalHash));
    if (step == replay::ReplayPlayer::Step::kEnded) {
        std::printf("OK\n");
        return true;
    }
    std::printf("differs at frame %u\n", player.divergedAt());
    return false;
}

}  // namespace

bool verifyReplays(const SimOptions& options, HeadlessStage& stage) {
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t frames = 0;
    bool all = true;
    for (const std::string& path : options.verifyPaths) all = verifyOne(path, options, stage, frames) && all;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("timing: %llu frames read, played and checked in %.1f ms\n", static_cast<unsigned long long>(frames),
                seconds * 1000.0);
    return all;
}
