#include "net/HostRoom.h"

namespace net {

HostRoom::HostRoom() = default;

HostRoom::Guest* HostRoom::guest(PeerId peer) {
    return peer >= 0 && peer < kSlots && guests[peer].connected ? &guests[peer] : nullptr;
}

const HostRoom::Guest* HostRoom::guest(PeerId peer) const {
    return peer >= 0 && peer < kSlots && guests[peer].connected ? &guests[peer] : nullptr;
}

void HostRoom::connect(PeerId peer, std::uint32_t nowMs) {
    if (peer < 0 || peer >= kSlots) return;
    guests[peer] = Guest{};
    guests[peer].connected = true;
    guests[peer].connectedAt = nowMs;
}

std::uint8_t HostRoom::disconnect(PeerId peer) {
    Guest* gone = guest(peer);
    if (gone == nullptr) return kNobody;
    const std::uint8_t machine = gone->welcomed ? gone->machine : kNobody;
    *gone = Guest{};
    return machine;
}

PeerId HostRoom::peerOf(std::uint8_t machine) const {
    for (int peer = 0; peer < kSlots; ++peer) {
        if (guests[peer].connected && guests[peer].welcomed && guests[peer].machine == machine) return peer;
    }
    return kNoPeer;
}

std::uint8_t HostRoom::playersPresent() const {
    std::uint8_t present = 1;
    for (const Guest& g : guests) {
        if (g.connected && g.welcomed && g.role == Role::Player) present = static_cast<std::uint8_t>(present | 1u << g.machine);
    }
    return present;
}

std::uint8_t HostRoom::spectators() const {
    std::uint8_t count = 0;
    for (const Guest& g : guests) {
        if (g.connected && g.welcomed && g.role == Role::Spectator) ++count;
    }
    return count;
}

bool HostRoom::admit(PeerId peer, const Hello& hello, const Versions& ours, bool matchRunning, Message& answer) {
    Guest* g = guest(peer);
    if (g == nullptr || g->welcomed) return false;
    RefuseReason reason = RefuseReason::Version;
    if (!versionsMatch(hello, ours, reason)) {
        answer = refusalFor(reason, ours);
        return false;
    }
    std::uint8_t machine = kNobody;
    if (hello.role == Role::Player) {
        // Machines join between matches; during one they can watch.
        if (matchRunning) {
            answer = refusalFor(RefuseReason::MatchRunning, ours);
            return false;
        }
        for (std::uint8_t m = 1; m < kMaxPlayingMachines && machine == kNobody; ++m) {
            if (peerOf(m) == kNoPeer) machine = m;
        }
        if (machine == kNobody) {
            answer = refusalFor(RefuseReason::PlayersFull, ours);
            return false;
        }
    } else {
        for (std::uint8_t m = kFirstSpectator; m < kMaxMachines && machine == kNobody; ++m) {
            if (peerOf(m) == kNoPeer) machine = m;
        }
        if (machine == kNobody) {
            answer = refusalFor(RefuseReason::WatchersFull, ours);
            return false;
        }
    }
    g->welcomed = true;
    g->role = hello.role;
    g->machine = machine;
    answer = Welcome{machine};
    return true;
}

bool HostRoom::lateGreeter(std::uint32_t nowMs, PeerId& peer) const {
    for (int p = 0; p < kSlots; ++p) {
        if (guests[p].connected && !guests[p].welcomed && nowMs - guests[p].connectedAt > kHelloWithinMs) {
            peer = p;
            return true;
        }
    }
    return false;
}

void HostRoom::beginMatch() {
    for (Guest& g : guests) {
        for (std::uint32_t& held : g.held) held = 0;
        g.framesSent = 0;
        g.hasStart = false;
        g.seatChangesSent = 0;
    }
}

bool HostRoom::inputsAllowed(const Guest& from, const Inputs& inputs, const InputTimeline& timeline,
                             std::uint8_t matchId, std::uint32_t hostFrame) const {
    if (!from.welcomed || from.role != Role::Player || inputs.matchId != matchId) return false;
    const std::uint32_t limit = hostFrame + kMaxAheadFrames;
    if (inputs.frame > limit) return false;
    const std::uint8_t mask = timeline.keyMask(from.machine);
    for (std::uint8_t b = 0; b < inputs.blockCount; ++b) {
        const InputBlock& block = inputs.blocks[b];
        // Nobody sends keys for another machine, nor keys of colours that
        // are not theirs.
        if (block.machine != from.machine || mask == 0) return false;
        if (block.firstFrame + block.frameCount() > limit) return false;
        for (std::uint8_t r = 0; r < block.runCount; ++r) {
            if (block.runs[r].bits & ~mask) return false;
        }
    }
    return true;
}

bool HostRoom::claimAllowed(const Guest& from, const Claim& claim, const Lobby& lobby) {
    if (!from.welcomed || from.role != Role::Player || lobby.matchRunning) return false;
    const std::uint8_t owner = lobby.owners[claim.colour & 3];
    return claim.take ? owner == kNobody || owner == from.machine : owner == from.machine;
}

}  // namespace net
