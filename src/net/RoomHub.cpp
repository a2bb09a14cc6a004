#include "net/RoomHub.h"

#include <algorithm>

#include "net/MessageCodec.h"

namespace net {

namespace {

// Spectators get the confirmed frames in batches, this many turns apart.
constexpr std::uint32_t kFeedEveryTurns = 6;
constexpr int kBatchesPerTurn = 4;

}  // namespace

RoomHub::RoomHub(Transport& link, const Versions& ours) : transport(link), versions(ours) {}

void RoomHub::send(PeerId peer, const Message& message, Delivery delivery) {
    WireWriter writer;
    if (encodeMessage(message, writer)) transport.send(peer, writer.data(), writer.size(), delivery);
}

void RoomHub::broadcast(const Message& message, bool toSpectators) {
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        const HostRoom::Guest* g = room.guest(peer);
        if (g != nullptr && g->welcomed && (toSpectators || g->role == Role::Player)) {
            send(peer, message, Delivery::Reliable);
        }
    }
}

void RoomHub::tellSpectators(const Message& message) {
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        const HostRoom::Guest* g = room.guest(peer);
        if (g != nullptr && g->welcomed && g->role == Role::Spectator && g->hasStart) {
            send(peer, message, Delivery::Reliable);
        }
    }
}

void RoomHub::sendTo(std::uint8_t machine, const Message& message) {
    const PeerId peer = room.peerOf(machine);
    if (peer != kNoPeer) send(peer, message, Delivery::Reliable);
}

void RoomHub::connected(PeerId peer, std::uint32_t nowMs) { room.connect(peer, nowMs); }

std::uint8_t RoomHub::disconnected(PeerId peer) { return room.disconnect(peer); }

bool RoomHub::greet(PeerId peer, const Message& message, bool matchRunning, std::string& turnedAway) {
    const Hello* hello = std::get_if<Hello>(&message);
    if (hello == nullptr) return false;
    Message answer;
    if (!room.admit(peer, *hello, versions, matchRunning, answer)) {
        send(peer, answer, Delivery::Reliable);
        transport.disconnect(peer);
        const RefuseReason reason = std::get<Refuse>(answer).reason;
        if (reason == RefuseReason::Version || reason == RefuseReason::Build || reason == RefuseReason::ReplayFormat) {
            turnedAway = turnedAwayText(*hello, reason, versions);
        } else {
            turnedAway = "A machine was turned away: the room is full.";
        }
        return false;
    }
    send(peer, answer, Delivery::Reliable);
    transport.admitted(peer);
    return true;
}

bool RoomHub::refuseOtherProtocol(PeerId peer, const TransportEvent& received, std::string& turnedAway) {
    std::uint8_t version = 0;
    if (!peekHelloVersion(received.data, received.size, version)) return false;
    send(peer, refusalFor(RefuseReason::Protocol, versions), Delivery::Reliable);
    transport.disconnect(peer);
    turnedAway = "A machine speaking network version " + std::to_string(version) + " was turned away.";
    return true;
}

void RoomHub::closeLateGreeters(std::uint32_t nowMs) {
    PeerId late = kNoPeer;
    while (room.lateGreeter(nowMs, late)) {
        transport.disconnect(late);
        room.disconnect(late);
    }
}

void RoomHub::sendLobby(Lobby& lobby) {
    lobby.present = room.playersPresent();
    lobby.spectators = room.spectators();
    for (std::uint8_t m = 0; m < kMaxPlayingMachines; ++m) {
        const PeerId peer = room.peerOf(m);
        lobby.roundTripMs[m] = static_cast<std::uint16_t>(
            peer == kNoPeer ? 0 : std::min<std::uint32_t>(transport.roundTripMs(peer), 0xFFFF));
    }
    broadcast(lobby, true);
}

void RoomHub::startMatch(const Start& start) {
    room.beginMatch();
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        HostRoom::Guest* g = room.guest(peer);
        if (g == nullptr || !g->welcomed) continue;
        send(peer, start, Delivery::Reliable);
        g->hasStart = true;
    }
}

void RoomHub::relay(const Match& match) {
    ++cTurns;
    for (PeerId peer = 0; peer < HostRoom::kSlots; ++peer) {
        HostRoom::Guest* g = room.guest(peer);
        if (g == nullptr || !g->welcomed) continue;
        if (g->role == Role::Player) {
            relayTo(peer, *g, match);
        } else {
            feedSpectator(peer, *g, match);
        }
    }
}

void RoomHub::relayTo(PeerId peer, HostRoom::Guest& to, const Match& match) {
    const InputTimeline& inputs = match.inputs;
    Inputs message;
    message.matchId = match.start.matchId;
    message.frame = match.frame;
    message.lead = to.lead;
    bool news = match.running || to.answerDue;
    to.answerDue = false;
    for (int m = 0; m < kMaxPlayingMachines; ++m) {
        message.held[m] = inputs.held(m);
        if (m == to.machine || !inputs.plays(m) || to.held[m] >= inputs.held(m)) continue;
        inputs.addBlock(message, m, to.held[m]);
        news = true;
    }
    if (news) send(peer, message, Delivery::Unreliable);
}

void RoomHub::feedSpectator(PeerId peer, HostRoom::Guest& to, const Match& match) {
    // A spectator who came in during the match first learns how it began
    // and who left it so far.
    if (!to.hasStart) {
        send(peer, match.start, Delivery::Reliable);
        to.hasStart = true;
    }
    while (to.seatChangesSent < static_cast<int>(match.seatChanges.size())) {
        send(peer, match.seatChanges[static_cast<std::size_t>(to.seatChangesSent++)], Delivery::Reliable);
    }
    if (cTurns % kFeedEveryTurns != 0) return;
    // In a match of computers only every frame is known at once: the host
    // tells of those it has run.
    const InputTimeline& inputs = match.inputs;
    const std::uint32_t confirmed = std::min(inputs.confirmed(), match.frame);
    for (int batch = 0; batch < kBatchesPerTurn && to.framesSent < confirmed; ++batch) {
        Frames message;
        message.matchId = match.start.matchId;
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
