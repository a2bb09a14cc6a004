#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/Handshake.h"
#include "net/HostRoom.h"
#include "net/InputTimeline.h"
#include "net/Messages.h"
#include "net/transport/Transport.h"

namespace net {

// The hub of a room: the connections of every machine that came in, who
// may come in, and what goes out to whom. It admits machines, relays each
// player the keys of the others and each spectator the frames known to
// all, and sends what the room's authority has to say. It keeps no rule of
// the match itself.
class RoomHub {
public:
    RoomHub(Transport& transport, const Versions& versions);

    // The match the hub relays, as its authority holds it.
    struct Match {
        const Start& start;
        const InputTimeline& inputs;
        const std::vector<SeatChange>& seatChanges;
        // The authority's own frame, and whether its match still runs.
        std::uint32_t frame;
        bool running;
    };

    HostRoom& guests() { return room; }
    const HostRoom& guests() const { return room; }

    void send(PeerId peer, const Message& message, Delivery delivery);
    // To every machine welcomed: the players, and the spectators too.
    void broadcast(const Message& message, bool toSpectators);
    // To the spectators that have the current match's start.
    void tellSpectators(const Message& message);
    // To one machine, if it is here.
    void sendTo(std::uint8_t machine, const Message& message);

    void connected(PeerId peer, std::uint32_t nowMs);
    // The machine that went, or kNobody.
    std::uint8_t disconnected(PeerId peer);
    // What a connection not yet welcomed said: a Hello is answered. True
    // when it was welcomed; `turnedAway` tells of one that was refused.
    bool greet(PeerId peer, const Message& message, bool matchRunning, std::string& turnedAway);
    // A datagram of another protocol version: a Hello is answered in the
    // words every version reads and shown the door. True when it was one.
    bool refuseOtherProtocol(PeerId peer, const TransportEvent& received, std::string& turnedAway);
    void closeLateGreeters(std::uint32_t nowMs);

    // The lobby with who is here and their round trips, to everybody.
    void sendLobby(Lobby& lobby);
    // A new match: every machine in the room is told how it starts.
    void startMatch(const Start& start);
    // One turn of the match: the keys each player lacks, the frames each
    // spectator lacks (every few turns).
    void relay(const Match& match);

private:
    void relayTo(PeerId peer, HostRoom::Guest& to, const Match& match);
    void feedSpectator(PeerId peer, HostRoom::Guest& to, const Match& match);

    Transport& transport;
    Versions versions;
    HostRoom room;
    std::uint32_t cTurns = 0;
};

}  // namespace net
