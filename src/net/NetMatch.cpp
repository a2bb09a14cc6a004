#include "net/NetMatch.h"

#include <cstdio>

#include "graphics/BackBufferFile.h"
#include "graphics/DisplayDevice.h"
#include "net/Session.h"
#include "replay/GameFingerprint.h"

namespace net {

namespace {

// Everybody in an online match plays through the room; the seat's number
// is the machine's.
void onlineSeats(const Start& start, replay::Seat (&seats)[4]) {
    for (int colour = 0; colour < 4; ++colour) {
        if (start.owners[colour] == kNobody) continue;
        seats[colour].device = replay::Device::kNetwork;
        seats[colour].number = start.owners[colour];
    }
}

MatchRandom::State generatorOf(const Start& start) {
    MatchRandom::State state{};
    for (int i = 0; i < MatchRandom::kDegree; ++i) state.table[i] = start.randomTable[i];
    state.front = start.randomFront;
    state.rear = start.randomRear;
    return state;
}

// The paddle's place along its strip.
double along(const Paddle& paddle) { return paddle.getType() ? paddle.getY() : paddle.getX(); }

}  // namespace

NetMatch::NetMatch(Session& sessionIn, DisplayDevice& displayIn, SoundDevice* sound, Surface& misc,
                   ErrorLogger& logger, const Options& chosen, const std::string& replayFolder)
    : session(sessionIn),
      display(displayIn),
      options(chosen),
      match(displayIn, sound, random, misc, setup, logger),
      scheduler(match, setup, sessionIn.timeline(), sessionIn.isSpectator() ? -1 : sessionIn.machine(),
                chosen.inputDelay) {
    const Start& start = session.match();
    random.setState(generatorOf(start));
    // The host's strengths, whatever this machine's menu shows.
    for (int colour = 0; colour < 4; ++colour) {
        const std::uint8_t level = start.levels[colour];
        setup.levels.set(colour, static_cast<ComputerLevel>(level <= kLastComputerLevel ? level : 1));
    }
    session.timeline().people(0, setup.bHuman);
    replay::Seat seats[4];
    onlineSeats(start, seats);
    recording = std::make_unique<replay::MatchRecording>(seats, generatorOf(start), replayFolder,
                                                         replay::GameFingerprint::own(displayIn, misc, logger), &logger);
    recording->recorder().setLevels(setup.levels);
    // A spectator stays a second behind what is known, so that the frames
    // that come in batches play smoothly.
    if (session.isSpectator()) scheduler.watchBehind(60);
    if (options.stopAfter != 0) scheduler.stopAt(options.stopAfter);
    if (options.nudgeAt != 0) scheduler.nudgeAt(options.nudgeAt);
}

NetMatch::~NetMatch() = default;

int NetMatch::load(std::uint32_t nowMs) {
    if (!MatchRandom::isWellFormed(random.state())) return 0;
    if (!match.load()) return 0;
    dwStartMs = nowMs;
    qwSentAtStart = session.bytesSent();
    qwReceivedAtStart = session.bytesReceived();
    scheduler.start(nowMs);
    return 1;
}

NetMatch::Turn NetMatch::runTurn(std::uint32_t nowMs, const RollbackScheduler::HeldKeys& heldKeys) {
    double hostFrame = -1.0;
    double ahead = 0;
    if (session.aheadOfHost(nowMs, ahead)) hostFrame = scheduler.frame() - ahead;
    notePress(nowMs, heldKeys(scheduler.frame()));
    const RollbackScheduler::Turn turn = scheduler.runTurn(nowMs, heldKeys, hostFrame);
    session.setFrame(scheduler.frame());
    settle();
    seeMoved(nowMs);
    const bool stopped = options.stopAfter != 0 && scheduler.settled() >= options.stopAfter;
    return turn == RollbackScheduler::Turn::kOver || stopped ? Turn::kOver : Turn::kGoing;
}

void NetMatch::settle() {
    const InputTimeline& timeline = session.timeline();
    while (dwRecorded < scheduler.settled()) {
        const std::uint32_t frame = dwRecorded;
        // A machine that left hands its colours over from this frame on.
        for (int machine = 0; machine < kMaxPlayingMachines; ++machine) {
            if (timeline.leftAt(machine) != frame || !timeline.plays(machine)) continue;
            for (int colour = 0; colour < 4; ++colour) {
                if (timeline.owners()[colour] == machine) recording->recorder().handOver(colour);
            }
        }
        const std::uint32_t after = frame + 1;
        const bool checkpoint = after % kHashEvery == 0;
        const bool wanted = recording->recorder().wantsHashAfterNextFrame();
        std::uint64_t hash = 0;
        if (checkpoint || wanted) settledHash(after, hash);
        recording->recorder().addFrame(scheduler.frameMs(frame), scheduler.keyBits(frame), hash);
        if (checkpoint) {
            session.reportHash(after, hash);
            hashFrames[(after / kHashEvery) % 8] = after;
            hashes[(after / kHashEvery) % 8] = hash;
        }
        if (options.dumpFrame != 0 && after == options.dumpFrame) dump(after);
        ++dwRecorded;
    }
}

bool NetMatch::settledHash(std::uint32_t frames, std::uint64_t& hash) const {
    for (int i = 0; i < 8; ++i) {
        if (hashFrames[i] == frames && frames != 0) {
            hash = hashes[i];
            return true;
        }
    }
    MatchState state;
    if (!scheduler.settledState(frames, state)) return false;
    hash = hashMatchState(state);
    return true;
}

void NetMatch::dump(std::uint32_t frames) {
    // The picture of a settled frame: the match goes back to it for a
    // moment, draws it without showing it, and comes back.
    MatchState then;
    MatchState now;
    if (!scheduler.settledState(frames, then) || !match.saveState(now)) return;
    match.restoreState(then);
    match.compose();
    if (!saveBackBuffer(display, options.dumpPath.c_str())) {
        std::fprintf(stderr, "quadrill: could not write %s\n", options.dumpPath.c_str());
    }
    match.restoreState(now);
}

// From a key going down here to its paddle moving on this screen: the
// press is taken before the turn's frames run, the paddle looked at after.
void NetMatch::notePress(std::uint32_t nowMs, std::uint8_t localKeys) {
    const std::uint8_t pressed = static_cast<std::uint8_t>(localKeys & ~cLastKeys);
    const std::uint8_t held = cLastKeys;
    cLastKeys = localKeys;
    if (pressed == 0 || bPressPending || !match.isPlaying()) return;
    iPressColour = -1;
    for (int colour = 0; colour < 4; ++colour) {
        // Only a paddle that stood still: one moving already tells nothing.
        if (((pressed >> (2 * colour)) & 3) && !((held >> (2 * colour)) & 3)) iPressColour = colour;
    }
    if (iPressColour < 0) return;
    bPressPending = true;
    dwPressMs = nowMs;
    dwPressTurn = dwTurns;
    dPressPosition = along(match.paddle(iPressColour));
}

void NetMatch::seeMoved(std::uint32_t nowMs) {
    const std::uint32_t turn = dwTurns++;
    if (!bPressPending) return;
    if (along(match.paddle(iPressColour)) != dPressPosition) {
        // Pictures shown since the one of the turn the key was taken in.
        const std::uint32_t frames = turn - dwPressTurn;
        const std::uint32_t ms = nowMs - dwPressMs;
        ++cPresses;
        qwLatencyFramesTotal += frames;
        qwLatencyMsTotal += ms;
        if (frames > dwLatencyFramesLongest) dwLatencyFramesLongest = frames;
        if (ms > dwLatencyMsLongest) dwLatencyMsLongest = ms;
        bPressPending = false;
    } else if (nowMs - dwPressMs > 1000) {
        bPressPending = false;  // at the end of its strip, or a serve began: it never moved
    }
}

NetMatch::Result NetMatch::result() const {
    Result result;
    result.frames = scheduler.settled();
    MatchState state;
    if (!scheduler.settledState(result.frames, state)) return result;
    result.hash = hashMatchState(state);
    for (int colour = 0; colour < 4; ++colour) result.scores[colour] = state.labels[colour].iValue;
    return result;
}

void NetMatch::file(replay::MatchEnd end) {
    const Result last = result();
    recording->file(end, last.hash, last.scores);
}

std::string NetMatch::figures(std::uint32_t nowMs) const {
    const RollbackScheduler::Figures& f = scheduler.figures();
    const double seconds = (nowMs - dwStartMs) / 1000.0;
    const double perSecond = seconds > 0 ? 1.0 / seconds : 0.0;
    char text[512];
    std::snprintf(text, sizeof text,
                  "rollbacks: %llu (%.1f a second), %llu frames run again, the longest %u frames in %u us\n"
                  "stalls: %llu; %.1f pictures a second\n"
                  "key to screen: %.2f frames (%.0f ms) on average, at most %u frames (%u ms), over %llu presses\n"
                  "bandwidth: %.2f kB/s sent, %.2f kB/s received\n"
                  "dropped messages: %llu\n",
                  static_cast<unsigned long long>(f.rollbacks), f.rollbacks * perSecond,
                  static_cast<unsigned long long>(f.framesRunAgain), f.longestRunAgainFrames, f.longestRunAgainUs,
                  static_cast<unsigned long long>(f.stalls), dwTurns * perSecond,
                  cPresses ? qwLatencyFramesTotal / static_cast<double>(cPresses) : 0.0,
                  cPresses ? qwLatencyMsTotal / static_cast<double>(cPresses) : 0.0, dwLatencyFramesLongest,
                  dwLatencyMsLongest, static_cast<unsigned long long>(cPresses),
                  (session.bytesSent() - qwSentAtStart) * perSecond / 1000.0,
                  (session.bytesReceived() - qwReceivedAtStart) * perSecond / 1000.0,
                  static_cast<unsigned long long>(session.dropped()));
    return text;
}

}  // namespace net
