#include "net/RollbackScheduler.h"

#include <algorithm>
#include <chrono>

#include "combat/PlayerSetup.h"
#include "combat/MatchKeys.h"

namespace net {

namespace {

// However late the picture is, one turn runs no more new frames than this,
// so the window keeps answering; time keeping catches up the rest.
constexpr std::uint32_t kMostFramesATurn = 4;
// Keeping step with the host: a frame ahead or behind moves our clock this
// many milliseconds a turn, at most kMostStepMs.
constexpr double kStepMsPerFrame = 2.0;
constexpr double kMostStepMs = 4.0;
// Further behind than this, a machine jumps to the host's time at once.
constexpr double kJumpFrames = 30.0;

std::uint32_t microsecondsSince(std::chrono::steady_clock::time_point start) {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<microseconds>(steady_clock::now() - start).count());
}

}  // namespace

RollbackScheduler::RollbackScheduler(Combat& combatIn, PlayerSetup& setupIn, InputTimeline& timelineIn, int machine,
                                     int inputDelay)
    : combat(combatIn),
      setup(setupIn),
      timeline(timelineIn),
      iMachine(machine),
      dwDelay(static_cast<std::uint32_t>(std::clamp(inputDelay, 0, kMaxInputDelay))) {
    // The picture is drawn once a turn, of the frame that is shown.
    combat.setFrameDrawing(false);
}

void RollbackScheduler::start(std::uint32_t nowMs) {
    dwLastNow = nowMs;
    qwClockMs = 0;
    dOriginMs = 0;
    // The first frames come before anybody's first key can count.
    for (std::uint32_t frame = 0; frame < dwDelay && iMachine >= 0; ++frame) timeline.add(iMachine, frame, 0);
}

void RollbackScheduler::advanceClock(std::uint32_t nowMs) {
    qwClockMs += nowMs - dwLastNow;
    dwLastNow = nowMs;
}

void RollbackScheduler::holdClock() {
    // The next frame is due now, not as late as the clock would have it.
    dOriginMs = static_cast<double>(qwClockMs) - static_cast<double>(scheduleMs(dwNext));
}

void RollbackScheduler::pause(std::uint32_t nowMs) {
    advanceClock(nowMs);
    bPaused = true;
}

void RollbackScheduler::resume(std::uint32_t nowMs) {
    advanceClock(nowMs);
    bPaused = false;
    holdClock();
}

RollbackScheduler::Used RollbackScheduler::inputsFor(std::uint32_t frame) const {
    std::uint8_t human[4];
    timeline.people(frame, human);
    Used inputs;
    std::uint8_t allowed = 0;
    for (int colour = 0; colour < 4; ++colour) {
        if (human[colour]) {
            inputs.human = static_cast<std::uint8_t>(inputs.human | 1u << colour);
            allowed = static_cast<std::uint8_t>(allowed | 3u << (2 * colour));
        }
    }
    for (int machine = 0; machine < kMaxPlayingMachines; ++machine) {
        if (!timeline.plays(machine)) continue;
        const std::uint8_t keys = frame < timeline.held(machine) ? timeline.keys(machine, frame) : guess(machine);
        inputs.keys = static_cast<std::uint8_t>(inputs.keys | (keys & timeline.keyMask(machine)));
    }
    inputs.keys = static_cast<std::uint8_t>(inputs.keys & allowed);
    return inputs;
}

std::uint8_t RollbackScheduler::guess(int machine) const {
    // Keys are mostly held for a while: the last ones heard are the best bet.
    const std::uint32_t held = timeline.held(machine);
    return held > 0 ? timeline.keys(machine, held - 1) : 0;
}

std::uint32_t RollbackScheduler::firstWrongFrame() const {
    // No further back than the snapshots go; settled frames stay settled.
    const std::uint32_t oldest = dwNext >= kRing ? dwNext - kRing + 1 : 0;
    for (std::uint32_t frame = std::max(dwSettled, oldest); frame < dwNext; ++frame) {
        const Used should = inputsFor(frame);
        const Used& was = used[frame % kRing];
        if (should.keys != was.keys || should.human != was.human) return frame;
    }
    return dwNext;
}

Combat::FrameResult RollbackScheduler::runFrame(bool heard) {
    const std::uint32_t frame = dwNext;
    combat.saveState(snapshots[frame % kRing]);
    const Used inputs = inputsFor(frame);
    used[frame % kRing] = inputs;
    for (int colour = 0; colour < 4; ++colour) setup.bHuman[colour] = (inputs.human >> colour) & 1;
    std::uint8_t keyState[256];
    matchKeys::unpack(inputs.keys, keyState);
    combat.setSoundHeard(heard);
    const int going = combat.update(keyState, frameTime(frame));
    ++dwNext;
    if (!going) {
        bOverRan = true;
        dwOverAfter = dwNext;
    }
    return going ? Combat::FrameResult::kGoing : Combat::FrameResult::kOver;
}

void RollbackScheduler::rollBackTo(std::uint32_t frame) {
    const auto started = std::chrono::steady_clock::now();
    const std::uint32_t shown = dwNext;
    combat.restoreState(snapshots[frame % kRing]);
    dwNext = frame;
    bOverRan = false;
    // What was heard was heard: the frames run again are silent.
    while (dwNext < shown && !bOverRan) runFrame(false);
    const std::uint32_t again = shown - frame;
    const std::uint32_t us = microsecondsSince(started);
    ++stats.rollbacks;
    stats.framesRunAgain += again;
    if (us > stats.longestRunAgainUs) stats.longestRunAgainUs = us;
    if (again > stats.longestRunAgainFrames) stats.longestRunAgainFrames = again;
}

std::uint32_t RollbackScheduler::framesDue() const {
    const double elapsed = static_cast<double>(qwClockMs) - dOriginMs;
    if (elapsed < 0) return 0;
    const std::uint64_t whole = static_cast<std::uint64_t>(elapsed);
    // The last frame whose time has come, by the schedule of 17, 17, 16 ms.
    const std::uint64_t rest = whole % 50;
    const std::uint64_t last = whole / 50 * 3 + (rest >= 34 ? 2 : rest >= 17 ? 1 : 0);
    return last + 1 > dwNext ? static_cast<std::uint32_t>(std::min<std::uint64_t>(last + 1 - dwNext, kMostFramesATurn))
                             : 0;
}

void RollbackScheduler::keepStep(double hostFrame) {
    if (hostFrame < 0) return;
    const double ahead = static_cast<double>(dwNext) - hostFrame;
    if (ahead < -kJumpFrames) {
        dOriginMs = static_cast<double>(qwClockMs) - hostFrame * 50.0 / 3.0;
        return;
    }
    if (ahead > -0.5 && ahead < 0.5) return;
    dOriginMs += std::clamp(ahead * kStepMsPerFrame, -kMostStepMs, kMostStepMs);
}

RollbackScheduler::Turn RollbackScheduler::runTurn(std::uint32_t nowMs, const HeldKeys& heldKeys, double hostFrame) {
    advanceClock(nowMs);
    if (bOver) return Turn::kOver;
    const std::uint32_t wrong = firstWrongFrame();
    if (wrong < dwNext) rollBackTo(wrong);
    if (!bPaused) {
        const std::uint32_t known = timeline.confirmed();
        if (dwBehind != 0) hostFrame = known > dwBehind ? static_cast<double>(known - dwBehind) : 0.0;
        keepStep(hostFrame);
        const std::uint32_t due = framesDue();
        for (std::uint32_t i = 0; i < due; ++i) {
            if (bOverRan || (dwStopAt != 0 && dwNext >= dwStopAt)) break;
            // Players guess a few frames beyond what is known; spectators
            // never run a frame before it is known.
            if (dwNext >= (dwBehind != 0 ? known : known + kMaxPrediction)) {
                // Too far ahead of what is known: wait for the others.
                ++stats.stalls;
                holdClock();
                break;
            }
            // This machine's keys count from `delay` frames on (never past
            // its own leaving).
            while (timeline.held(iMachine) <= dwNext + dwDelay && timeline.plays(iMachine) &&
                   timeline.held(iMachine) < timeline.leftAt(iMachine)) {
                const std::uint32_t frame = timeline.held(iMachine);
                timeline.add(iMachine, frame, heldKeys(frame - dwDelay));
            }
            runFrame(i + 1 == due);
        }
    }
    dwSettled = std::min(timeline.confirmed(), dwNext);
    if (dwNudgeAt != 0 && !bNudged && dwSettled >= dwNudgeAt) nudge();
    if (bOverRan && dwSettled >= dwOverAfter) bOver = true;
    return bOver ? Turn::kOver : Turn::kGoing;
}

bool RollbackScheduler::settledState(std::uint32_t frames, MatchState& state) const {
    if (frames > dwSettled) return false;
    if (frames == dwNext) return combat.saveState(state);
    if (frames + kRing <= dwNext) return false;
    state = snapshots[frames % kRing];
    return true;
}

std::uint16_t RollbackScheduler::keyBits(std::uint32_t frame) const { return used[frame % kRing].keys; }

void RollbackScheduler::nudge() {
    // A pixel aside for yellow, in the match as it stands and in every
    // snapshot it could go back to, so that no rollback undoes it.
    MatchState live;
    if (!combat.saveState(live)) return;
    live.paddles[1].dX += 1.0;
    combat.restoreState(live);
    for (std::uint32_t frame = dwSettled; frame < dwNext; ++frame) snapshots[frame % kRing].paddles[1].dX += 1.0;
    bNudged = true;
    dwNudgedFrom = dwSettled;
}

}  // namespace net
