#include "net/HostAuthority.h"

#include <algorithm>
#include <cstring>

#include "net/MessageCodec.h"

namespace net {

namespace {

// The lobby goes out again this often, with fresh round trips.
constexpr std::uint32_t kLobbyEveryMs = 1000;
// The host going waits this long at most for the others to hear it.
constexpr std::uint32_t kGoodbyeWithinMs = 1000;

}  // namespace

HostAuthority::HostAuthority(RoomState& state, Transport& transport, const Versions& versions)
    : s(state), hub(transport, versions) {
    s.machine = 0;
    s.lobby.present = 1;
}

void HostAuthority::goodbye(Transport& transport) {
    if (s.phase != RoomState::Phase::Lobby) return;
    hub.broadcast(Closing{ClosingReason::HostLeft}, true);
    transport.goodbyeAll(kGoodbyeWithinMs);
}

bool HostAuthority::mayGoNow() const {
    return hub.guests().playersPresent() == 1 && hub.guests().spectators() == 0;
}

void HostAuthority::received(PeerId peer, const TransportEvent& raw, std::uint32_t) {
    Message message;
    const DecodeResult result = decodeMessage(raw.data, raw.size, message);
    std::string turnedAway;
    if (result == DecodeResult::OtherProtocol && hub.refuseOtherProtocol(peer, raw, turnedAway)) {
        s.event(SessionEvent::Kind::TurnedAway, kNobody, 0, turnedAway);
    }
    if (result != DecodeResult::Ok) return s.drop();
    HostRoom::Guest* from = hub.guests().guest(peer);
    if (from == nullptr) return s.drop();
    if (from->welcomed) return take(peer, *from, message);
    if (!std::holds_alternative<Hello>(message)) return s.drop();
    if (hub.greet(peer, message, s.lobby.matchRunning, turnedAway)) {
        bLobbyChanged = true;
    } else {
        s.event(SessionEvent::Kind::TurnedAway, kNobody, 0, turnedAway);
    }
}

void HostAuthority::take(PeerId, HostRoom::Guest& from, const Message& message) {
    switch (typeOf(message)) {
        case MessageType::Claim: {
            const Claim& claim = std::get<Claim>(message);
            if (!HostRoom::claimAllowed(from, claim, s.lobby)) return s.drop();
            s.lobby.owners[claim.colour] = claim.take ? from.machine : kNobody;
            bLobbyChanged = true;
            break;
        }
        case MessageType::Inputs:
            inputsFrom(from, std::get<Inputs>(message));
            break;
        case MessageType::Hash: {
            // Only a machine that plays has a say, and only on frames whose
            // keys the others have sent too: nothing else can be checked.
            const Hash& hash = std::get<Hash>(message);
            if (from.role != Role::Player || !s.playsNow(from.machine) || hash.matchId != s.current.matchId ||
                hash.frame > s.inputs.confirmedBesides(from.machine)) {
                return s.drop();
            }
            if (ledger.note(from.machine, hash.frame, hash.hash)) judge();
            break;
        }
        case MessageType::Pause:
            if (from.role != Role::Player || !s.inMatch || !s.playsNow(from.machine)) return s.drop();
            setPaused(std::get<Pause>(message).paused, from.machine);
            break;
        case MessageType::Leave:
            if (!s.playsNow(from.machine) || std::get<Leave>(message).matchId != s.current.matchId) return s.drop();
            leaveSeat(from.machine);
            judge();
            break;
        default:
            s.drop();
            break;
    }
}

void HostAuthority::disconnected(PeerId peer) {
    const std::uint8_t machine = hub.disconnected(peer);
    if (machine == kNobody) return;
    for (std::uint8_t& owner : s.lobby.owners) {
        if (owner == machine) owner = kNobody;
    }
    if (machine < kMaxPlayingMachines) {
        leaveSeat(machine);
        judge();
    }
    bLobbyChanged = true;
}

void HostAuthority::leaveSeat(std::uint8_t machine) {
    // From the first frame the host has not heard from it, the machine's
    // colours are the computer's; the frames before are played as sent.
    if (!s.playsNow(machine)) return;
    const std::uint32_t from = s.inputs.held(machine);
    s.inputs.leave(machine, from);
    const SeatChange change{s.current.matchId, machine, from};
    seatChanges.push_back(change);
    hub.broadcast(change, false);
    s.event(SessionEvent::Kind::SeatChanged, machine, from);
    // Its pause goes with it.
    if (s.paused && cPausedBy == machine) setPaused(false, machine);
}

void HostAuthority::inputsFrom(HostRoom::Guest& from, const Inputs& message) {
    if (!s.hasMatch || !hub.guests().inputsAllowed(from, message, s.inputs, s.current.matchId, s.frame)) {
        return s.drop();
    }
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        // A guest cannot hold more of a machine's frames than there are.
        const std::uint32_t held = std::min(message.held[m], s.inputs.held(m));
        from.held[m] = std::max(from.held[m], held);
    }
    for (std::uint8_t b = 0; b < message.blockCount; ++b) {
        const InputBlock& block = message.blocks[b];
        s.inputs.add(block.machine, block.firstFrame, block.runs, block.runCount);
    }
    from.lead = std::clamp(static_cast<std::int32_t>(message.frame - s.frame), -kMaxLead, kMaxLead);
    // It learns in the answer how much of its keys we hold, also after the
    // match, so that it can go once we hold them all.
    from.answerDue = true;
}

void HostAuthority::reportHash(std::uint32_t frame, std::uint64_t hash) {
    if (!s.hasMatch) return;
    if (ledger.note(0, frame, hash)) judge();
    // Spectators check their own matches against the host's.
    hub.tellSpectators(Hash{s.current.matchId, frame, hash});
}

void HostAuthority::judge() {
    std::uint8_t playing = 0;
    for (int m = 1; m < kMaxPlayingMachines; ++m) {
        if (s.playsNow(m)) playing = static_cast<std::uint8_t>(playing | 1u << m);
    }
    HashLedger::Verdict verdict;
    while (s.hasMatch && !bMatchOutOfStep && ledger.judge(playing, verdict)) {
        OutOfStep message;
        message.matchId = s.current.matchId;
        message.frame = verdict.frame;
        message.reported = verdict.reported;
        for (int m = 0; m < kMaxPlayingMachines; ++m) message.hashes[m] = verdict.hashes[m];
        if (verdict.everybody) {
            bMatchOutOfStep = true;
            hub.broadcast(message, true);
            if (s.inMatch) s.outOfStep(message);
            return;
        }
        // The others agree with the host: the odd machine goes, and its
        // colours are the computer's for the rest of the match.
        for (std::uint8_t m = 1; m < kMaxPlayingMachines; ++m) {
            if (!(verdict.alone & (1u << m))) continue;
            hub.sendTo(m, message);
            leaveSeat(m);
            playing = static_cast<std::uint8_t>(playing & ~(1u << m));
        }
    }
}

void HostAuthority::setPaused(bool paused, std::uint8_t by) {
    if (!s.inMatch || paused == s.paused) return;
    s.paused = paused;
    cPausedBy = paused ? by : kNobody;
    hub.broadcast(Pause{paused}, true);
    s.event(SessionEvent::Kind::PauseChanged);
}

void HostAuthority::claim(int colour, bool take) {
    s.lobby.owners[colour & 3] = take ? 0 : kNobody;
    bLobbyChanged = true;
}

bool HostAuthority::startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear,
                               const std::uint8_t (*levels)[4]) {
    if (s.phase != RoomState::Phase::Lobby) return false;
    Start start;
    start.matchId = cNextMatch++;
    std::memcpy(start.owners, s.lobby.owners, sizeof start.owners);
    std::memcpy(start.randomTable, randomTable, sizeof start.randomTable);
    start.randomFront = front;
    start.randomRear = rear;
    if (levels) std::memcpy(start.levels, *levels, sizeof start.levels);
    s.begin(start);
    seatChanges.clear();
    ledger.clear();
    bMatchOutOfStep = false;
    cPausedBy = kNobody;
    s.lobby.matchRunning = true;
    hub.startMatch(start);
    bLobbyChanged = true;
    return true;
}

void HostAuthority::leaveMatch() {
    if (!s.inMatch) return;
    s.inMatch = false;
    s.lobby.matchRunning = false;
    hub.broadcast(Closing{ClosingReason::MatchEnded}, true);
    bLobbyChanged = true;
}

void HostAuthority::finishMatch() {
    s.inMatch = false;
    s.lobby.matchRunning = false;
    bLobbyChanged = true;
}

void HostAuthority::send(std::uint32_t nowMs) {
    hub.closeLateGreeters(nowMs);
    if (bLobbyChanged || nowMs - dwLobbySentAt >= kLobbyEveryMs) {
        hub.sendLobby(s.lobby);
        if (bLobbyChanged) s.event(SessionEvent::Kind::LobbyChanged);
        bLobbyChanged = false;
        dwLobbySentAt = nowMs;
    }
    if (s.hasMatch) hub.relay(RoomHub::Match{s.current, s.inputs, seatChanges, s.frame, s.inMatch});
}

}  // namespace net
