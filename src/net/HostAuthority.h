#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/HashLedger.h"
#include "net/RoomHub.h"
#include "net/RoomState.h"

namespace net {

// The host's say over its room: the lobby's claims, the start of a match,
// whose keys count, who leaves, the pause, and the judgement of the state
// hashes. Whatever a machine may not say, or not now, is dropped and
// counted. Its hub does the talking.
class HostAuthority {
public:
    HostAuthority(RoomState& state, Transport& transport, const Versions& versions);

    // What the transport tells of a connection.
    void connected(PeerId peer, std::uint32_t nowMs) { hub.connected(peer, nowMs); }
    void disconnected(PeerId peer);
    void received(PeerId peer, const TransportEvent& raw, std::uint32_t nowMs);
    // Once a turn: the lobby when due, the match's keys and frames.
    void send(std::uint32_t nowMs);
    // The host's game closes: everybody is told.
    void goodbye(Transport& transport);

    void claim(int colour, bool take);
    // levels: the strength of each colour the computer plays; Normal for all when null.
    bool startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear,
                    const std::uint8_t (*levels)[4] = nullptr);
    void reportHash(std::uint32_t frame, std::uint64_t hash);
    // The host's own P: it counts when the host plays a colour, as anyone's.
    void requestPause(bool paused) {
        if (s.playsNow(0)) setPaused(paused, 0);
    }
    void leaveMatch();
    void finishMatch();
    // Nobody is left in the room who would miss the host.
    bool mayGoNow() const;

private:
    void take(PeerId peer, HostRoom::Guest& from, const Message& message);
    void leaveSeat(std::uint8_t machine);
    void inputsFrom(HostRoom::Guest& from, const Inputs& message);
    void judge();
    void setPaused(bool paused, std::uint8_t by);

    RoomState& s;
    RoomHub hub;
    HashLedger ledger;
    std::vector<SeatChange> seatChanges;
    std::uint8_t cNextMatch = 1;
    bool bMatchOutOfStep = false;
    // The machine whose pause holds the room.
    std::uint8_t cPausedBy = kNobody;
    bool bLobbyChanged = false;
    std::uint32_t dwLobbySentAt = 0;
};

}  // namespace net
