#include "net/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/MessageCodec.h"

namespace net {

namespace {

// The lobby goes out again this often, with fresh round trips.
constexpr std::uint32_t kLobbyEveryMs = 1000;
// Spectators get the confirmed frames in batches, this many turns apart.
constexpr std::uint32_t kFeedEveryTurns = 6;
constexpr int kBatchesPerTurn = 4;
// A guest takes keys from the host up to this far beyond its own frame.
constexpr std::uint32_t kMaxGuestAheadFrames = 600;
// The host's word on the frames is good for time keeping this long.
constexpr std::uint32_t kHostFrameFreshMs = 500;
// Each message moves the measure of how far ahead we are by this much of
// what it says: the measures of single messages jitter.
constexpr double kAheadSmoothing = 0.1;
// The host going waits this long at most for the others to hear it.
constexpr std::uint32_t kGoodbyeWithinMs = 1000;
// A machine cut off while it came in tries again this many times, a little
// later each time.
constexpr int kConnectTries = 6;
constexpr std::uint32_t kRetryAfterMs = 150;

}  // namespace

Session::Session(bool hosting, Role asRole, const Versions& ours)
    : bHosting(hosting), role(hosting ? Role::Player : asRole), versions(ours) {
    if (bHosting) {
        iMachine = 0;
        room.present = 1;
    }
}

Session::~Session() {
    // Tell the others now rather than let them wait for the silence.
    if (state == State::Lobby && bHosting) {
        broadcast(Closing{ClosingReason::HostLeft}, true);
        transport.goodbyeAll(kGoodbyeWithinMs);
        return;
    }
    transport.flush();
    transport.disconnectAll();
}

bool Session::open(const std::string& host, std::uint16_t port, std::string& error) {
    sHostName = host;
    if (bHosting) {
        if (!transport.listen(port, error)) return false;
        state = State::Lobby;
        return true;
    }
    wPort = port;
    dwTriedAt = 0;
    cTries = 1;
    return transport.connect(host, port, error);
}

std::vector<SessionEvent> Session::takeEvents() {
    std::vector<SessionEvent> taken;
    taken.swap(events);
    return taken;
}

void Session::event(SessionEvent::Kind kind, std::uint8_t machine, std::uint32_t frame, const std::string& note) {
    events.push_back(SessionEvent{kind, machine, frame, note});
}

void Session::send(PeerId peer, const Message& message, Delivery delivery) {
    WireWriter writer;
    if (encodeMessage(message, writer)) transport.send(peer, writer.data(), writer.size(), delivery);
}

void Session::broadcast(const Message& message, bool toSpectators) {
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        const HostRoom::Guest* g = guests.guest(peer);
        if (g != nullptr && g->welcomed && (toSpectators || g->role == Role::Player)) {
            send(peer, message, Delivery::Reliable);
        }
    }
}

void Session::close(const std::string& why) {
    if (state == State::Closed) return;
    state = State::Closed;
    sProblem = why;
    bInMatch = false;
    event(SessionEvent::Kind::Closed, kNobody, 0, why);
}

bool Session::mayGoNow() const {
    if (state != State::Lobby) return true;
    if (bHosting) return guests.playersPresent() == 1 && guests.spectators() == 0;
    return isSpectator() || !bHasMatch || dwHostHolds >= inputs.held(iMachine);
}

std::uint32_t Session::roundTripMs() const { return bHosting ? 0 : transport.roundTripMs(0); }

void Session::receive(std::uint32_t nowMs) {
    dwNow = nowMs;
    TransportEvent received;
    while (state != State::Closed && transport.poll(received)) take(received, nowMs);
}

void Session::send(std::uint32_t nowMs) {
    if (state == State::Closed) return;
    ++cTurns;
    if (dwTriedAt == 0) dwTriedAt = nowMs;
    if (bRetryDue && static_cast<std::int32_t>(nowMs - dwRetryAt) >= 0) {
        bRetryDue = false;
        ++cTries;
        dwTriedAt = nowMs;
        std::string error;
        if (!transport.connect(sHostName, wPort, error)) close("Could not reach the host at " + sHostName + ".");
        return;
    }
    if (bHosting) {
        hostSend(nowMs);
    } else if (state == State::Lobby) {
        guestSend();
    }
    transport.flush();
}

void Session::take(const TransportEvent& received, std::uint32_t nowMs) {
    switch (received.kind) {
        case TransportEvent::Kind::Connected:
            if (bHosting) {
                guests.connect(received.peer, nowMs);
            } else {
                send(0, helloFor(role, versions), Delivery::Reliable);
            }
            return;
        case TransportEvent::Kind::Disconnected:
            if (bHosting) {
                hostDisconnect(received.peer);
            } else if (state == State::Connecting) {
                // Cut off at once while coming in (the host lets only a few
                // in at a time from one address): another try, soon.
                const bool cutOff = dwTriedAt == 0 || nowMs - dwTriedAt < kDropAfterMs - 500;
                if (cutOff && cTries < kConnectTries) {
                    bRetryDue = true;
                    dwRetryAt = nowMs + kRetryAfterMs * cTries;
                    return;
                }
                close("Could not reach the host at " + sHostName + ".");
            } else if (received.goodbye) {
                close("The host has left the game.");
            } else {
                close("The connection to the host was lost.");
            }
            return;
        case TransportEvent::Kind::Received:
            break;
        case TransportEvent::Kind::None:
            return;
    }
    Message message;
    const DecodeResult result = decodeMessage(received.data, received.size, message);
    if (result == DecodeResult::OtherProtocol && bHosting) {
        // A machine of another version: it is told, in the words every
        // version reads, and shown the door.
        std::uint8_t version = 0;
        if (peekHelloVersion(received.data, received.size, version)) {
            send(received.peer, refusalFor(RefuseReason::Protocol, versions), Delivery::Reliable);
            transport.disconnect(received.peer);
            event(SessionEvent::Kind::TurnedAway, kNobody, 0,
                  "A machine speaking network version " + std::to_string(version) + " was turned away.");
        }
        drop();
        return;
    }
    if (result != DecodeResult::Ok) {
        drop();
        return;
    }
    if (bHosting) {
        hostReceive(received.peer, message);
    } else {
        guestReceive(message, nowMs);
    }
}

bool Session::mayClaim(int colour) const {
    const std::uint8_t owner = room.owners[colour & 3];
    return iMachine >= 0 && iMachine < kMaxPlayingMachines && !isSpectator() &&
           (owner == kNobody || owner == iMachine);
}

void Session::claim(int colour, bool take) {
    if (!mayClaim(colour) || room.matchRunning) return;
    if (bHosting) {
        room.owners[colour & 3] = take ? 0 : kNobody;
        hostRefreshLobby();
    } else {
        // Shown at once here; the host's lobby has the last word.
        room.owners[colour & 3] = take ? static_cast<std::uint8_t>(iMachine) : kNobody;
        send(0, Claim{static_cast<std::uint8_t>(colour & 3), take}, Delivery::Reliable);
    }
}

void Session::ownColours(std::uint8_t (&human)[4]) const {
    for (int c = 0; c < 4; ++c) human[c] = iMachine >= 0 && room.owners[c] == iMachine ? 1 : 0;
}

void Session::beginMatch(const Start& start) {
    current = start;
    watchCheck.clear();
    dwPausedBy = kNobody;
    inputs.begin(start.owners);
    dwFramesKnown = 0;
    if (isSpectator()) inputs.limitKnown(0);
    seatChanges.clear();
    bInMatch = true;
    bHasMatch = true;
    bPaused = false;
    dwFrame = 0;
    dwHostHolds = 0;
    bAheadKnown = false;
}

bool Session::startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear) {
    if (!bHosting || state != State::Lobby) return false;
    Start start;
    start.matchId = cNextMatch++;
    std::memcpy(start.owners, room.owners, sizeof start.owners);
    std::memcpy(start.randomTable, randomTable, sizeof start.randomTable);
    start.randomFront = front;
    start.randomRear = rear;
    beginMatch(start);
    guests.beginMatch();
    ledger.clear();
    bMatchOutOfStep = false;
    room.matchRunning = true;
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        HostRoom::Guest* g = guests.guest(peer);
        if (g == nullptr || !g->welcomed) continue;
        send(peer, start, Delivery::Reliable);
        g->hasStart = true;
    }
    hostRefreshLobby();
    return true;
}

bool Session::aheadOfHost(std::uint32_t nowMs, double& frames) const {
    if (bHosting || !bAheadKnown || bPaused || nowMs - dwAheadAt > kHostFrameFreshMs) return false;
    frames = dAheadOfHost;
    return true;
}

void Session::reportHash(std::uint32_t frame, std::uint64_t hash) {
    if (!bHasMatch) return;
    if (bHosting) {
        hostHash(0, frame, hash);
        // Spectators check their own matches against the host's.
        const Hash ours{current.matchId, frame, hash};
        for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
            const HostRoom::Guest* g = guests.guest(peer);
            if (g != nullptr && g->welcomed && g->role == Role::Spectator && g->hasStart) {
                send(peer, ours, Delivery::Reliable);
            }
        }
    } else if (isSpectator()) {
        if (bInMatch && watchCheck.ours(frame, hash)) spectatorOutOfStep();
    } else if (state == State::Lobby && playsNow(iMachine)) {
        send(0, Hash{current.matchId, frame, hash}, Delivery::Reliable);
    }
}

bool Session::playsNow(int machine) const {
    return bHasMatch && machine >= 0 && machine < kMaxPlayingMachines && inputs.plays(machine) &&
           inputs.leftAt(machine) == InputTimeline::kStays;
}

void Session::requestPause(bool paused) {
    if (!playsNow(iMachine)) return;
    if (bHosting) {
        hostSetPaused(paused, 0);
    } else if (state == State::Lobby && bInMatch) {
        send(0, Pause{paused}, Delivery::Reliable);
    }
}

void Session::leaveMatch() {
    if (!bInMatch) return;
    bInMatch = false;
    if (bHosting) {
        room.matchRunning = false;
        broadcast(Closing{ClosingReason::MatchEnded}, true);
        hostRefreshLobby();
    } else if (state == State::Lobby && !isSpectator()) {
        send(0, Leave{current.matchId}, Delivery::Reliable);
    }
}

void Session::finishMatch() {
    bInMatch = false;
    if (bHosting) {
        room.matchRunning = false;
        hostRefreshLobby();
    }
}

void Session::outOfStep(const OutOfStep& out) {
    // The hashes go into the bug report, one line a machine.
    std::string hashes;
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        if (!(out.reported & (1u << m))) continue;
        char line[64];
        std::snprintf(line, sizeof line, "machine %d: %016llx\n", m + 1, static_cast<unsigned long long>(out.hashes[m]));
        hashes += line;
    }
    event(SessionEvent::Kind::OutOfStep, kNobody, out.frame, hashes);
}

void Session::spectatorOutOfStep() {
    bInMatch = false;
    char line[64];
    std::snprintf(line, sizeof line, "machine 1: %016llx\n", static_cast<unsigned long long>(watchCheck.hostHash()));
    event(SessionEvent::Kind::OutOfStep, kNobody, watchCheck.frame(), line);
}

void Session::addBlock(Inputs& message, int machine, std::uint32_t first) const {
    InputBlock& block = message.blocks[message.blockCount];
    const int runs = inputs.runsFrom(machine, first, kMaxFramesPerBlock, block.runs, kMaxRunsPerBlock, 0xFF);
    if (runs == 0) return;
    block.machine = static_cast<std::uint8_t>(machine);
    block.firstFrame = first;
    block.runCount = static_cast<std::uint8_t>(runs);
    ++message.blockCount;
}

// ---- a joining or watching machine ----

void Session::guestReceive(const Message& message, std::uint32_t nowMs) {
    if (state == State::Connecting) {
        if (const Welcome* welcome = std::get_if<Welcome>(&message)) {
            iMachine = welcome->machine;
            state = State::Lobby;
            event(SessionEvent::Kind::Welcomed, welcome->machine);
        } else if (const Refuse* refuse = std::get_if<Refuse>(&message)) {
            close(refusalText(*refuse, versions));
        } else {
            drop();
        }
        return;
    }
    switch (typeOf(message)) {
        case MessageType::Lobby:
            room = std::get<Lobby>(message);
            event(SessionEvent::Kind::LobbyChanged);
            break;
        case MessageType::Start:
            beginMatch(std::get<Start>(message));
            event(SessionEvent::Kind::MatchStarts);
            break;
        case MessageType::Inputs:
            guestInputs(std::get<Inputs>(message), nowMs);
            break;
        case MessageType::Frames:
            guestFrames(std::get<Frames>(message));
            break;
        case MessageType::SeatChange: {
            const SeatChange& change = std::get<SeatChange>(message);
            if (!bHasMatch || change.matchId != current.matchId) return drop();
            inputs.leave(change.machine, change.fromFrame);
            event(SessionEvent::Kind::SeatChanged, change.machine, change.fromFrame);
            break;
        }
        case MessageType::OutOfStep: {
            const OutOfStep& out = std::get<OutOfStep>(message);
            if (!bInMatch || out.matchId != current.matchId) return drop();
            // Alone or with everybody, this machine's match ends here.
            bInMatch = false;
            outOfStep(out);
            break;
        }
        case MessageType::Hash: {
            const Hash& hash = std::get<Hash>(message);
            if (!isSpectator() || !bHasMatch || hash.matchId != current.matchId) return drop();
            if (bInMatch && watchCheck.hosts(hash.frame, hash.hash)) spectatorOutOfStep();
            break;
        }
        case MessageType::Pause:
            bPaused = std::get<Pause>(message).paused;
            // What was measured before the pause says nothing after it.
            bAheadKnown = false;
            event(SessionEvent::Kind::PauseChanged);
            break;
        case MessageType::Closing:
            if (std::get<Closing>(message).reason == ClosingReason::MatchEnded) {
                if (bInMatch) event(SessionEvent::Kind::MatchEnded);
                bInMatch = false;
            } else {
                close("The host has left the game.");
            }
            break;
        default:
            drop();
            break;
    }
}

void Session::guestInputs(const Inputs& message, std::uint32_t nowMs) {
    if (!bHasMatch || message.matchId != current.matchId || isSpectator()) return drop();
    const std::uint32_t limit = dwFrame + kMaxGuestAheadFrames;
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        const std::uint8_t mask = inputs.keyMask(block.machine);
        bool fits = block.machine != iMachine && block.firstFrame + block.frameCount() <= limit;
        for (std::uint8_t r = 0; r < block.runCount; ++r) fits = fits && (block.runs[r].bits & ~mask) == 0;
        if (!fits) return drop();
    }
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        inputs.add(block.machine, block.firstFrame, block.runs, block.runCount);
    }
    dwHostHolds = std::max(dwHostHolds, std::min(message.held[iMachine & 3], inputs.held(iMachine)));
    // Ahead of the host by as much as the host saw us ahead when our last
    // message came, and we see ourselves ahead of it as its message comes;
    // the two trips' delays cancel out. Smoothed over the messages.
    const double seen = static_cast<double>(static_cast<std::int32_t>(dwFrame - message.frame));
    const double ahead = (message.lead + seen) / 2.0;
    dAheadOfHost = bAheadKnown ? dAheadOfHost + (ahead - dAheadOfHost) * kAheadSmoothing : ahead;
    bAheadKnown = true;
    dwAheadAt = nowMs;
}

void Session::guestFrames(const Frames& message) {
    if (!bHasMatch || message.matchId != current.matchId || !isSpectator()) return drop();
    // Batches come in order on their channel; one that does not follow on
    // is not the host's.
    if (message.firstFrame != dwFramesKnown) return drop();
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

void Session::guestSend() {
    if (!bHasMatch || isSpectator()) return;
    // Until the host holds all our frames, they go again and again.
    if (!bInMatch && dwHostHolds >= inputs.held(iMachine)) return;
    Inputs message;
    message.matchId = current.matchId;
    message.frame = dwFrame;
    for (int m = 0; m < kMaxPlayingMachines; ++m) message.held[m] = inputs.held(m);
    if (inputs.held(iMachine) > dwHostHolds) addBlock(message, iMachine, dwHostHolds);
    send(0, message, Delivery::Unreliable);
}

// ---- the host ----

void Session::hostReceive(PeerId peer, const Message& message) {
    HostRoom::Guest* from = guests.guest(peer);
    if (from == nullptr) return drop();
    if (!from->welcomed) {
        if (const Hello* hello = std::get_if<Hello>(&message)) return hostGreet(peer, *hello);
        return drop();
    }
    switch (typeOf(message)) {
        case MessageType::Claim: {
            const Claim& claim = std::get<Claim>(message);
            if (!HostRoom::claimAllowed(*from, claim, room)) return drop();
            room.owners[claim.colour] = claim.take ? from->machine : kNobody;
            hostRefreshLobby();
            break;
        }
        case MessageType::Inputs:
            hostInputs(*from, std::get<Inputs>(message));
            break;
        case MessageType::Hash: {
            // Only a machine that plays has a say, and only on frames whose
            // keys the others have sent too: nothing else can be checked.
            const Hash& hash = std::get<Hash>(message);
            if (from->role != Role::Player || !playsNow(from->machine) || hash.matchId != current.matchId ||
                hash.frame > inputs.confirmedBesides(from->machine)) {
                return drop();
            }
            hostHash(from->machine, hash.frame, hash.hash);
            break;
        }
        case MessageType::Pause:
            if (from->role != Role::Player || !bInMatch || !playsNow(from->machine)) return drop();
            hostSetPaused(std::get<Pause>(message).paused, from->machine);
            break;
        case MessageType::Leave:
            if (!playsNow(from->machine) || std::get<Leave>(message).matchId != current.matchId) return drop();
            hostLeaveSeat(from->machine);
            hostJudge();
            break;
        default:
            drop();
            break;
    }
}

void Session::hostGreet(PeerId peer, const Hello& hello) {
    Message answer;
    if (!guests.admit(peer, hello, versions, room.matchRunning, answer)) {
        send(peer, answer, Delivery::Reliable);
        transport.disconnect(peer);
        const Refuse& refuse = std::get<Refuse>(answer);
        RefuseReason reason = refuse.reason;
        if (reason == RefuseReason::Version || reason == RefuseReason::Build || reason == RefuseReason::ReplayFormat) {
            event(SessionEvent::Kind::TurnedAway, kNobody, 0, turnedAwayText(hello, reason, versions));
        } else {
            event(SessionEvent::Kind::TurnedAway, kNobody, 0, "A machine was turned away: the room is full.");
        }
        return;
    }
    send(peer, answer, Delivery::Reliable);
    transport.admitted(peer);
    hostRefreshLobby();
}

void Session::hostDisconnect(PeerId peer) {
    const std::uint8_t machine = guests.disconnect(peer);
    if (machine == kNobody) return;
    for (std::uint8_t& owner : room.owners) {
        if (owner == machine) owner = kNobody;
    }
    if (machine < kMaxPlayingMachines) {
        hostLeaveSeat(machine);
        hostJudge();
    }
    hostRefreshLobby();
}

void Session::hostLeaveSeat(std::uint8_t machine) {
    // From the first frame the host has not heard from it, the machine's
    // colours are the computer's; the frames before are played as sent.
    if (!bHasMatch || !inputs.plays(machine) || inputs.leftAt(machine) != InputTimeline::kStays) return;
    const std::uint32_t from = inputs.held(machine);
    inputs.leave(machine, from);
    const SeatChange change{current.matchId, machine, from};
    seatChanges.push_back(change);
    broadcast(change, false);
    event(SessionEvent::Kind::SeatChanged, machine, from);
    // Its pause goes with it.
    if (bPaused && dwPausedBy == machine) hostSetPaused(false, machine);
}

void Session::hostInputs(HostRoom::Guest& from, const Inputs& message) {
    if (!bHasMatch || !guests.inputsAllowed(from, message, inputs, current.matchId, dwFrame)) return drop();
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        // A guest cannot hold more of a machine's frames than there are.
        const std::uint32_t held = std::min(message.held[m], inputs.held(m));
        from.held[m] = std::max(from.held[m], held);
    }
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        inputs.add(block.machine, block.firstFrame, block.runs, block.runCount);
    }
    from.lead = std::clamp(static_cast<std::int32_t>(message.frame - dwFrame), -kMaxLead, kMaxLead);
    // It learns in the answer how much of its keys we hold, also after the
    // match, so that it can go once we hold them all.
    from.answerDue = true;
}

void Session::hostHash(std::uint8_t machine, std::uint32_t frame, std::uint64_t hash) {
    if (!ledger.note(machine, frame, hash)) return;
    hostJudge();
}

void Session::hostJudge() {
    std::uint8_t playing = 0;
    for (int m = 1; m < kMaxPlayingMachines; ++m) {
        if (playsNow(m)) playing = static_cast<std::uint8_t>(playing | 1u << m);
    }
    HashLedger::Verdict verdict;
    while (bHasMatch && !bMatchOutOfStep && ledger.judge(playing, verdict)) {
        OutOfStep message;
        message.matchId = current.matchId;
        message.frame = verdict.frame;
        message.reported = verdict.reported;
        for (int m = 0; m < kMaxPlayingMachines; ++m) message.hashes[m] = verdict.hashes[m];
        if (verdict.everybody) {
            bMatchOutOfStep = true;
            broadcast(message, true);
            if (bInMatch) outOfStep(message);
            return;
        }
        // The others agree with the host: the odd machine goes, and its
        // colours are the computer's for the rest of the match.
        for (std::uint8_t m = 1; m < kMaxPlayingMachines; ++m) {
            if (!(verdict.alone & (1u << m))) continue;
            const PeerId peer = guests.peerOf(m);
            if (peer != kNoPeer) send(peer, message, Delivery::Reliable);
            hostLeaveSeat(m);
            playing = static_cast<std::uint8_t>(playing & ~(1u << m));
        }
    }
}

void Session::hostSetPaused(bool paused, std::uint8_t by) {
    if (!bInMatch || paused == bPaused) return;
    bPaused = paused;
    dwPausedBy = paused ? by : kNobody;
    broadcast(Pause{paused}, true);
    event(SessionEvent::Kind::PauseChanged);
}

void Session::hostRefreshLobby() { bLobbyChanged = true; }

void Session::hostSend(std::uint32_t nowMs) {
    PeerId late = kNoPeer;
    while (guests.lateGreeter(nowMs, late)) {
        transport.disconnect(late);
        guests.disconnect(late);
    }
    if (bLobbyChanged || nowMs - dwLobbySentAt >= kLobbyEveryMs) {
        room.present = guests.playersPresent();
        room.spectators = guests.spectators();
        for (std::uint8_t m = 0; m < kMaxPlayingMachines; ++m) {
            const PeerId peer = guests.peerOf(m);
            room.roundTripMs[m] = static_cast<std::uint16_t>(
                peer == kNoPeer ? 0 : std::min<std::uint32_t>(transport.roundTripMs(peer), 0xFFFF));
        }
        broadcast(room, true);
        if (bLobbyChanged) event(SessionEvent::Kind::LobbyChanged);
        bLobbyChanged = false;
        dwLobbySentAt = nowMs;
    }
    if (!bHasMatch) return;
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        HostRoom::Guest* g = guests.guest(peer);
        if (g == nullptr || !g->welcomed) continue;
        if (g->role == Role::Player) {
            hostRelay(peer, *g);
        } else {
            hostFeedSpectator(peer, *g);
        }
    }
}

void Session::hostRelay(PeerId peer, HostRoom::Guest& to) {
    Inputs message;
    message.matchId = current.matchId;
    message.frame = dwFrame;
    message.lead = to.lead;
    bool news = bInMatch || to.answerDue;
    to.answerDue = false;
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        message.held[m] = inputs.held(m);
        if (m == to.machine || !inputs.plays(m) || to.held[m] >= inputs.held(m)) continue;
        addBlock(message, m, to.held[m]);
        news = true;
    }
    if (news) send(peer, message, Delivery::Unreliable);
}

void Session::hostFeedSpectator(PeerId peer, HostRoom::Guest& to) {
    // A spectator who came in during the match first learns how it began
    // and who left it so far.
    if (!to.hasStart) {
        send(peer, current, Delivery::Reliable);
        to.hasStart = true;
    }
    while (to.seatChangesSent < static_cast<int>(seatChanges.size())) {
        send(peer, seatChanges[static_cast<std::size_t>(to.seatChangesSent++)], Delivery::Reliable);
    }
    if (cTurns % kFeedEveryTurns != 0) return;
    // In a match of computers only every frame is known at once: the host
    // tells of those it has run.
    const std::uint32_t confirmed = std::min(inputs.confirmed(), dwFrame);
    for (int batch = 0; batch < kBatchesPerTurn && to.framesSent < confirmed; ++batch) {
        Frames message;
        message.matchId = current.matchId;
        message.firstFrame = to.framesSent;
        std::uint32_t frame = to.framesSent;
        for (; frame < confirmed && frame - to.framesSent < kMaxFramesPerBatch; ++frame) {
            std::uint8_t bits = 0;
            for (int m = 0; m < kMaxPlayingMachines; ++m) bits = static_cast<std::uint8_t>(bits | inputs.keys(m, frame));
            InputRun* last = message.runCount ? &message.runs[message.runCount - 1] : nullptr;
            if (last != nullptr && last->bits == bits && last->length < 0xFF) {
                ++last->length;
            } else if (message.runCount < kMaxRunsPerBatch) {
                message.runs[message.runCount++] = InputRun{1, bits};
            } else {
                break;
            }
        }
        send(peer, message, Delivery::Reliable);
        to.framesSent = frame;
    }
}

}  // namespace net
