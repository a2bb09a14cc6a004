// quadrill-sim: whole matches of four computer players, headless, on a
// virtual clock. The same seed and step give the same output every time;
// only the lines that start with "timing" depend on the machine.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HeadlessStage.h"
#include "RecordMatch.h"
#include "SimOptions.h"
#include "VerifyReplays.h"
#include "combat/Combat.h"
#include "graphics/BackBufferFile.h"
#include "physics/Ball.h"

namespace {

using WallClock = std::chrono::steady_clock;

// The virtual clock's reading when the first match is made. The matches
// only see the steps; the clock is what the trace prints.
constexpr std::uint32_t kFirstMatchTime = 1000;

struct Timings {
    std::uint64_t frames = 0;
    std::uint64_t simulatedMs = 0;
    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
    double copySeconds = 0.0;
};

double secondsBetween(WallClock::time_point from, WallClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void printTrace(const Combat& combat, std::uint32_t now) {
    const BallSet& balls = combat.ballSet();
    std::printf("trace %u balls %d", now, balls.count());
    for (std::int32_t i = 0; i < balls.count(); ++i) {
        const Ball* ball = balls.ball(i);
        std::printf(" %.17g %.17g %.17g", ball->getPos().x, ball->getPos().y, ball->getAngle());
    }
    std::printf(" paddles");
    for (int colour = 0; colour < 4; ++colour) {
        std::printf(" %.17g %.17g", combat.paddle(colour).getX(), combat.paddle(colour).getY());
    }
    std::printf(" scores");
    for (int colour = 0; colour < 4; ++colour) std::printf(" %d", combat.scoreLabel(colour).getValue());
    std::printf("\n");
}

// One match from construction to the frame whose update says it is over.
bool playMatch(std::uint32_t number, const SimOptions& options, HeadlessStage& stage, std::uint32_t& clock,
               Timings& timings) {
    Combat combat(stage.display, nullptr, stage.random, stage.misc, stage.setup, stage.logger);
    combat.setFrameDrawing(false);
    if (!combat.load()) {
        std::fprintf(stderr, "quadrill-sim: match %u could not be loaded\n", number);
        return false;
    }
    const std::uint8_t keys[256] = {};
    std::uint64_t frames = 0;
    for (;;) {
        if (frames >= options.maxFrames) {
            std::fprintf(stderr, "quadrill-sim: match %u did not end within %llu frames\n", number,
                         static_cast<unsigned long long>(options.maxFrames));
            return false;
        }
        // The copy goes first: whatever it leaves, the frame covers.
        const WallClock::time_point copyStart = WallClock::now();
        stage.copyPlainPicture();
        const WallClock::time_point copyEnd = WallClock::now();

        clock += options.stepMs;
        const WallClock::time_point updateStart = WallClock::now();
        const int going = combat.update(keys, options.stepMs);
        const WallClock::time_point updateEnd = WallClock::now();
        if (options.draw) combat.compose();
        const WallClock::time_point drawEnd = WallClock::now();

        ++frames;
        ++timings.frames;
        timings.simulatedMs += options.stepMs;
        timings.copySeconds += secondsBetween(copyStart, copyEnd);
        timings.updateSeconds += secondsBetween(updateStart, updateEnd);
        timings.drawSeconds += secondsBetween(updateEnd, drawEnd);

        if (options.trace && combat.isPlaying() && !combat.isMatchOver()) {
            printTrace(combat, clock);
        }
        if (!options.snapshotPath.empty() && timings.frames == options.snapshotFrame) {
            if (!options.draw) combat.compose();
            if (!saveBackBuffer(stage.display, options.snapshotPath.c_str())) {
                std::fprintf(stderr, "quadrill-sim: could not write %s\n", options.snapshotPath.c_str());
            }
        }
        if (!going) break;
    }
    const std::int32_t* scores = stage.setup.iScore;
    std::printf("match %u: scores %d %d %d %d, serves %d, bonuses taken %d, balls served %d, frames %llu\n", number,
                scores[0], scores[1], scores[2], scores[3], combat.servesStarted(), combat.bonusesTaken(),
                combat.ballsServed(), static_cast<unsigned long long>(frames));
    return true;
}

void printTimings(const Timings& timings, bool drew) {
    if (timings.frames == 0) return;
    const double perFrame = 1e6 / static_cast<double>(timings.frames);
    const double update = timings.updateSeconds * perFrame;
    const double copy = timings.copySeconds * perFrame;
    const double simulatedSeconds = static_cast<double>(timings.simulatedMs) / 1000.0;
    if (drew) {
        const double composed = (timings.updateSeconds + timings.drawSeconds) * perFrame;
        std::printf("timing: update %.3f us/frame, update+draw %.3f us/frame, plain 400x400 copy %.3f us"
                    " (update+draw = %.2f copies)\n",
                    update, composed, copy, copy > 0.0 ? composed / copy : 0.0);
        std::printf("timing: simulated time / wall time %.0f without drawing, %.0f with drawing\n",
                    simulatedSeconds / timings.updateSeconds,
                    simulatedSeconds / (timings.updateSeconds + timings.drawSeconds));
    } else {
        std::printf("timing: update %.3f us/frame, plain 400x400 copy %.3f us (no drawing)\n", update, copy);
        std::printf("timing: simulated time / wall time %.0f without drawing\n",
                    simulatedSeconds / timings.updateSeconds);
    }
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quadrill-sim: %s\n%s", error.c_str(), simUsage());
        return 2;
    }
    // Headless whatever the environment says: no window shows, nothing sounds.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    HeadlessStage stage;
    if (!stage.ready()) {
        std::fprintf(stderr, "quadrill-sim: the display could not be started\n");
        return 1;
    }
    if (!options.verifyPaths.empty()) return verifyReplays(options, stage) ? 0 : 1;
    if (!options.recordPath.empty()) return recordMatch(options, stage) ? 0 : 1;
    stage.random.seed(options.seed);
    stage.setup.levels = options.levels;
    std::uint32_t clock = kFirstMatchTime;
    Timings timings;
    for (std::uint32_t match = 1; match <= options.matches; ++match) {
        if (!playMatch(match, options, stage, clock, timings)) return 1;
    }
    printTimings(timings, options.draw);
    return 0;
}
