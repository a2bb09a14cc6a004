#pragma once
#include <cstdint>
#include <string>

#include "net/Handshake.h"
#include "net/RoomState.h"
#include "net/WatchedHashes.h"
#include "net/transport/Transport.h"

namespace net {

// A joining or watching machine's side of a room: it comes in, follows the
// host's lobby, sends its own keys until the host holds them, takes the
// others' (a player) or the frames known to all (a spectator), and keeps
// its clock in step with the host's. It believes only what the host may
// say, and only when it may.
class GuestSide {
public:
    GuestSide(RoomState& state, Transport& transport, Role role, const Versions& versions);

    bool open(const std::string& host, std::uint16_t port, std::string& error);
    void connected();
    void disconnected(bool goodbye, std::uint32_t nowMs);
    void received(const TransportEvent& raw, std::uint32_t nowMs);
    // Once a turn: our keys the host lacks; another try at coming in.
    void send(std::uint32_t nowMs);

    bool isSpectator() const { return role == Role::Spectator; }
    void claim(int colour, bool take);
    void reportHash(std::uint32_t frame, std::uint64_t hash);
    void requestPause(bool paused);
    void leaveMatch();
    bool mayGoNow() const;
    bool aheadOfHost(std::uint32_t nowMs, double& frames) const;
    std::uint32_t roundTripMs() const { return transport.roundTripMs(0); }

private:
    // Why the first connection never came about.
    std::string unreachable() const;
    void say(const Message& message, Delivery delivery = Delivery::Reliable);
    void take(const Message& message, std::uint32_t nowMs);
    void begin(const Start& start);
    void inputsFrom(const Inputs& message, std::uint32_t nowMs);
    void framesFrom(const Frames& message);
    void spectatorOutOfStep();

    RoomState& s;
    Transport& transport;
    Role role;
    Versions versions;
    std::string sHostName;
    std::uint16_t wPort = 0;
    // Coming in: the tries so far, when the last began, the next one due.
    int cTries = 0;
    int cUnanswered = 0;
    std::uint32_t dwTriedAt = 0;
    bool bRetryDue = false;
    std::uint32_t dwRetryAt = 0;

    // A spectator: the frames the host has sent so far, and the check of
    // its match against the host's.
    std::uint32_t dwFramesKnown = 0;
    WatchedHashes watchCheck;

    // A player's view of the host: how many of our frames it holds, how far
    // ahead of it we run, and when we last learnt that.
    std::uint32_t dwHostHolds = 0;
    double dAheadOfHost = 0;
    bool bAheadKnown = false;
    std::uint32_t dwAheadAt = 0;
};

}  // namespace net
