#include "net/GuestSide.h"

#include <algorithm>
#include <cstdio>

#include "net/MessageCodec.h"

namespace net {

namespace {

// A guest takes keys from the host up to this far beyond its own frame.
constexpr std::uint32_t kMaxGuestAheadFrames = 600;
// The host's word on the frames is good for time keeping this long.
constexpr std::uint32_t kHostFrameFreshMs = 500;
// Each message moves the measure of how far ahead we are by this much of
// what it says: the measures of single messages jitter.
constexpr double kAheadSmoothing = 0.1;
// A machine cut off while it came in tries again this many times, a little
// later each time.
constexpr int kConnectTries = 6;
constexpr std::uint32_t kRetryAfterMs = 150;
constexpr int kUnansweredTries = 2;

}  // namespace

GuestSide::GuestSide(RoomState& state, Transport& link, Role asRole, const Versions& ours)
    : s(state), transport(link), role(asRole), versions(ours) {}

bool GuestSide::open(const std::string& host, std::uint16_t port, std::string& error) {
    sHostName = host;
    wPort = port;
    dwTriedAt = 0;
    cTries = 1;
    cUnanswered = 0;
    return transport.connect(host, port, error);
}

void GuestSide::say(const Message& message, Delivery delivery) {
    WireWriter writer;
    if (encodeMessage(message, writer)) transport.send(0, writer.data(), writer.size(), delivery);
}

std::string GuestSide::unreachable() const {
    return std::string("Could not reach ") + (transport.isRelayed() ? "the relay" : "the host") + " at " + sHostName + ".";
}

void GuestSide::connected() { say(helloFor(role, versions)); }

void GuestSide::disconnected(bool goodbye, std::uint32_t nowMs) {
    if (s.phase == RoomState::Phase::Connecting) {
        // Cut off at once while coming in (the host lets only a few in at a
        // time from one address, and only for a while): another try, soon.
        // A try that went unanswered may have been unlucky on a lossy line:
        // one or two more before giving up.
        const bool cutOff = dwTriedAt == 0 || nowMs - dwTriedAt < kDropAfterMs - 500;
        if (!cutOff) ++cUnanswered;
        if (cTries < kConnectTries && cUnanswered <= kUnansweredTries) {
            bRetryDue = true;
            dwRetryAt = nowMs + kRetryAfterMs * static_cast<std::uint32_t>(cTries);
            return;
        }
        s.close(unreachable());
    } else if (goodbye) {
        s.close("The host has left the game.");
    } else {
        s.close("The connection to the host was lost.");
    }
}

void GuestSide::received(const TransportEvent& raw, std::uint32_t nowMs) {
    Message message;
    if (decodeMessage(raw.data, raw.size, message) != DecodeResult::Ok) return s.drop();
    if (s.phase != RoomState::Phase::Connecting) return take(message, nowMs);
    if (const Welcome* welcome = std::get_if<Welcome>(&message)) {
        s.machine = welcome->machine;
        s.phase = RoomState::Phase::Lobby;
        s.event(SessionEvent::Kind::Welcomed, welcome->machine);
    } else if (const Refuse* refuse = std::get_if<Refuse>(&message)) {
        s.close(refusalText(*refuse, versions));
    } else {
        s.drop();
    }
}

void GuestSide::take(const Message& message, std::uint32_t nowMs) {
    switch (typeOf(message)) {
        case MessageType::Lobby:
            s.lobby = std::get<Lobby>(message);
            s.event(SessionEvent::Kind::LobbyChanged);
            break;
        case MessageType::Start:
            begin(std::get<Start>(message));
            s.event(SessionEvent::Kind::MatchStarts);
            break;
        case MessageType::Inputs:
            inputsFrom(std::get<Inputs>(message), nowMs);
            break;
        case MessageType::Frames:
            framesFrom(std::get<Frames>(message));
            break;
        case MessageType::SeatChange: {
            const SeatChange& change = std::get<SeatChange>(message);
            if (!s.hasMatch || change.matchId != s.current.matchId) return s.drop();
            s.inputs.leave(change.machine, change.fromFrame);
            s.event(SessionEvent::Kind::SeatChanged, change.machine, change.fromFrame);
            break;
        }
        case MessageType::OutOfStep: {
            const OutOfStep& out = std::get<OutOfStep>(message);
            if (!s.inMatch || out.matchId != s.current.matchId) return s.drop();
            // Alone or with everybody, this machine's match ends here.
            s.inMatch = false;
            s.outOfStep(out);
            break;
        }
        case MessageType::Hash: {
            const Hash& hash = std::get<Hash>(message);
            if (!isSpectator() || !s.hasMatch || hash.matchId != s.current.matchId) return s.drop();
            if (s.inMatch && watchCheck.hosts(hash.frame, hash.hash)) spectatorOutOfStep();
            break;
        }
        case MessageType::Pause:
            s.paused = std::get<Pause>(message).paused;
            // What was measured before the pause says nothing after it.
            bAheadKnown = false;
            s.event(SessionEvent::Kind::PauseChanged);
            break;
        case MessageType::Closing:
            if (std::get<Closing>(message).reason == ClosingReason::MatchEnded) {
                if (s.inMatch) s.event(SessionEvent::Kind::MatchEnded);
                s.inMatch = false;
            } else {
                s.close("The host has left the game.");
            }
            break;
        default:
            s.drop();
            break;
    }
}

void GuestSide::begin(const Start& start) {
    s.begin(start);
    watchCheck.clear();
    dwFramesKnown = 0;
    if (isSpectator()) s.inputs.limitKnown(0);
    dwHostHolds = 0;
    bAheadKnown = false;
}

void GuestSide::inputsFrom(const Inputs& message, std::uint32_t nowMs) {
    if (!s.hasMatch || message.matchId != s.current.matchId || isSpectator()) return s.drop();
    InputTimeline& inputs = s.inputs;
    const int me = s.machine;
    const std::uint32_t limit = s.frame + kMaxGuestAheadFrames;
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        const std::uint8_t mask = inputs.keyMask(block.machine);
        bool fits = block.machine != me && block.firstFrame + block.frameCount() <= limit;
        for (std::uint8_t r = 0; r < block.runCount; ++r) fits = fits && (block.runs[r].bits & ~mask) == 0;
        if (!fits) return s.drop();
    }
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        inputs.add(block.machine, block.firstFrame, block.runs, block.runCount);
    }
    dwHostHolds = std::max(dwHostHolds, std::min(message.held[me & 3], inputs.held(me)));
    // Ahead of the host by as much as the host saw us ahead when our last
    // message came, and we see ourselves ahead of it as its message comes;
    // the two trips' delays cancel out. Smoothed over the messages.
    const double seen = static_cast<double>(static_cast<std::int32_t>(s.frame - message.frame));
    const double ahead = (message.lead + seen) / 2.0;
    dAheadOfHost = bAheadKnown ? dAheadOfHost + (ahead - dAheadOfHost) * kAheadSmoothing : ahead;
    bAheadKnown = true;
    dwAheadAt = nowMs;
}

void GuestSide::framesFrom(const Frames& message) {
    if (!s.hasMatch || message.matchId != s.current.matchId || !isSpectator()) return s.drop();
    // Batches come in order on their channel; one that does not follow on
    // is not the host's.
    if (message.firstFrame != dwFramesKnown) return s.drop();
    InputTimeline& inputs = s.inputs;
    std::uint32_t frame = message.firstFrame;
    for (std::uint8_t r = 0; r < message.runCount; ++r) {
        for (std::uint32_t i = 0; i < message.runs[r].length; ++i, ++frame) {
            for (int m = 0; m < kMaxPlayingMachines; ++m) {
                if (inputs.plays(m) && frame < inputs.leftAt(m)) inputs.add(m, frame, message.runs[r].bits);
            }
        }
    }
    dwFramesKnown = frame;
    inputs.limitKnown(dwFramesKnown);
}

void GuestSide::send(std::uint32_t nowMs) {
    if (dwTriedAt == 0) dwTriedAt = nowMs;
    if (bRetryDue && static_cast<std::int32_t>(nowMs - dwRetryAt) >= 0) {
        bRetryDue = false;
        ++cTries;
        dwTriedAt = nowMs;
        std::string error;
        if (!transport.connect(sHostName, wPort, error)) s.close(unreachable());
        return;
    }
    if (s.phase != RoomState::Phase::Lobby || !s.hasMatch || isSpectator()) return;
    const InputTimeline& inputs = s.inputs;
    // Until the host holds all our frames, they go again and again.
    if (!s.inMatch && dwHostHolds >= inputs.held(s.machine)) return;
    Inputs message;
    message.matchId = s.current.matchId;
    message.frame = s.frame;
    for (int m = 0; m < kMaxPlayingMachines; ++m) message.held[m] = inputs.held(m);
    if (inputs.held(s.machine) > dwHostHolds) inputs.addBlock(message, s.machine, dwHostHolds);
    say(message, Delivery::Unreliable);
}

void GuestSide::claim(int colour, bool take) {
    // Shown at once here; the host's lobby has the last word.
    s.lobby.owners[colour & 3] = take ? static_cast<std::uint8_t>(s.machine) : kNobody;
    say(Claim{static_cast<std::uint8_t>(colour & 3), take});
}

void GuestSide::reportHash(std::uint32_t frame, std::uint64_t hash) {
    if (!s.hasMatch) return;
    if (isSpectator()) {
        if (s.inMatch && watchCheck.ours(frame, hash)) spectatorOutOfStep();
    } else if (s.phase == RoomState::Phase::Lobby && s.playsNow(s.machine)) {
        say(Hash{s.current.matchId, frame, hash});
    }
}

void GuestSide::spectatorOutOfStep() {
    s.inMatch = false;
    char line[64];
    std::snprintf(line, sizeof line, "machine 1: %016llx\n", static_cast<unsigned long long>(watchCheck.hostHash()));
    s.event(SessionEvent::Kind::OutOfStep, kNobody, watchCheck.frame(), line);
}

void GuestSide::requestPause(bool paused) {
    if (s.phase == RoomState::Phase::Lobby && s.inMatch && s.playsNow(s.machine)) say(Pause{paused});
}

void GuestSide::leaveMatch() {
    if (!s.inMatch) return;
    s.inMatch = false;
    if (s.phase == RoomState::Phase::Lobby && !isSpectator()) say(Leave{s.current.matchId});
}

bool GuestSide::mayGoNow() const {
    return isSpectator() || !s.hasMatch || dwHostHolds >= s.inputs.held(s.machine);
}

bool GuestSide::aheadOfHost(std::uint32_t nowMs, double& frames) const {
    if (!bAheadKnown || s.paused || nowMs - dwAheadAt > kHostFrameFreshMs) return false;
    frames = dAheadOfHost;
    return true;
}

}  // namespace net
