#include "net/Session.h"

namespace net {

Session::Session(bool hosting, Role role, const Versions& versions) {
    if (hosting) {
        host = std::make_unique<HostAuthority>(s, transport, versions);
    } else {
        guest = std::make_unique<GuestSide>(s, transport, role, versions);
    }
}

Session::~Session() {
    // Tell the others now rather than let them wait for the silence.
    if (host) {
        host->goodbye(transport);
    } else {
        transport.flush();
        transport.disconnectAll();
    }
}

bool Session::open(const std::string& hostName, std::uint16_t port, std::string& error) {
    if (guest) return guest->open(hostName, port, error);
    const bool opened = transport.isRelayed() ? transport.connect(hostName, port, error) : transport.listen(port, error);
    if (!opened) return false;
    s.phase = RoomState::Phase::Lobby;
    return true;
}

std::vector<SessionEvent> Session::takeEvents() {
    std::vector<SessionEvent> taken;
    taken.swap(s.events);
    return taken;
}

void Session::receive(std::uint32_t nowMs) {
    TransportEvent received;
    while (s.phase != RoomState::Phase::Closed && transport.poll(received)) take(received, nowMs);
    // The room's code on the relay: the lobby's lines show it.
    if (host && !bCodeTold && !transport.roomCode().empty()) {
        bCodeTold = true;
        s.event(SessionEvent::Kind::LobbyChanged);
    }
    // Turned away by the relay, or the room there is gone.
    if (!transport.relayProblem().empty()) s.close(transport.relayProblem());
}

void Session::send(std::uint32_t nowMs) {
    if (s.phase == RoomState::Phase::Closed) return;
    if (host) {
        host->send(nowMs);
    } else {
        guest->send(nowMs);
    }
    transport.flush();
}

void Session::take(const TransportEvent& received, std::uint32_t nowMs) {
    switch (received.kind) {
        case TransportEvent::Kind::Connected:
            if (host) {
                host->connected(received.peer, nowMs);
            } else {
                guest->connected();
            }
            return;
        case TransportEvent::Kind::Disconnected:
            if (host) {
                host->disconnected(received.peer);
            } else {
                guest->disconnected(received.goodbye, nowMs);
            }
            return;
        case TransportEvent::Kind::Received:
            if (host) {
                host->received(received.peer, received, nowMs);
            } else {
                guest->received(received, nowMs);
            }
            return;
        case TransportEvent::Kind::None:
            return;
    }
}

bool Session::mayClaim(int colour) const {
    const std::uint8_t owner = s.lobby.owners[colour & 3];
    return s.machine >= 0 && s.machine < kMaxPlayingMachines && !isSpectator() &&
           (owner == kNobody || owner == s.machine);
}

void Session::claim(int colour, bool take) {
    if (!mayClaim(colour) || s.lobby.matchRunning) return;
    if (host) {
        host->claim(colour, take);
    } else {
        guest->claim(colour, take);
    }
}

void Session::ownColours(std::uint8_t (&human)[4]) const {
    for (int c = 0; c < 4; ++c) human[c] = s.machine >= 0 && s.lobby.owners[c] == s.machine ? 1 : 0;
}

bool Session::startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear,
                         const std::uint8_t (*levels)[4]) {
    return host != nullptr && host->startMatch(randomTable, front, rear, levels);
}

void Session::reportHash(std::uint32_t frame, std::uint64_t hash) {
    if (host) {
        host->reportHash(frame, hash);
    } else {
        guest->reportHash(frame, hash);
    }
}

void Session::requestPause(bool paused) {
    if (host) {
        host->requestPause(paused);
    } else {
        guest->requestPause(paused);
    }
}

void Session::leaveMatch() {
    if (host) {
        host->leaveMatch();
    } else {
        guest->leaveMatch();
    }
}

void Session::finishMatch() {
    if (host) {
        host->finishMatch();
    } else {
        s.inMatch = false;
    }
}

bool Session::mayGoNow() const {
    if (s.phase != RoomState::Phase::Lobby) return true;
    return host ? host->mayGoNow() : guest->mayGoNow();
}

}  // namespace net
