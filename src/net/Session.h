#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/GuestSide.h"
#include "net/Handshake.h"
#include "net/HostAuthority.h"
#include "net/InputTimeline.h"
#include "net/Messages.h"
#include "net/RoomState.h"
#include "net/transport/Transport.h"

namespace net {

// This machine's place in an online room: the host's, a player's or a
// spectator's. It keeps the room's lobby (who claimed which colour), the
// keys of every machine in the current match, and the match's agreed
// events (seat changes, pause, hashes), and it does all the talking: the
// host through its authority over the room, the others through their
// guest's side. Every message that arrives is checked; whatever a machine
// may not say, or not now, is dropped and counted.
class Session {
public:
    // The host is a player too: machine 0.
    Session(bool hosting, Role role, const Versions& versions);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Hosting listens on the port; joining and watching connect to host.
    bool open(const std::string& host, std::uint16_t port, std::string& error);
    // Before open(): `host` is a relay. The host opens a room there; the
    // others enter the room with this code.
    void useRelay(const std::string& code) { transport.useRelay(code); }
    // The code of the room the host opened on a relay, once it came.
    const std::string& roomCode() const { return transport.roomCode(); }
    // Reads everything that arrived, then sends what is due: the inputs
    // others lack, the lobby, the spectators' frames. Every turn of the
    // game, in the menu too, so nobody waits for this machine. A match's
    // turn goes between the two, so that its keys go out at once.
    void service(std::uint32_t nowMs) {
        receive(nowMs);
        send(nowMs);
    }
    void receive(std::uint32_t nowMs);
    void send(std::uint32_t nowMs);
    std::vector<SessionEvent> takeEvents();

    bool isHost() const { return host != nullptr; }
    std::uint16_t port() const { return transport.port(); }
    bool isSpectator() const { return guest != nullptr && guest->isSpectator(); }
    // -1 until the host has taken this machine in.
    int machine() const { return s.machine; }
    bool isOpen() const { return s.phase == RoomState::Phase::Lobby; }
    const std::string& problem() const { return s.problem; }
    const Lobby& lobby() const { return s.lobby; }
    // This machine's round trip to the host (0 on the host).
    std::uint32_t roundTripMs() const { return guest ? guest->roundTripMs() : 0; }

    // The lobby. A colour another machine claimed cannot be claimed here.
    bool mayClaim(int colour) const;
    void claim(int colour, bool take);
    // The colours this machine claimed, as player flags.
    void ownColours(std::uint8_t (&human)[4]) const;
    // The host starts a match for everybody with its generator's state.
    bool startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear,
                    const std::uint8_t (*levels)[4] = nullptr);

    // The current match, from its start until this machine has finished or
    // left it.
    bool inMatch() const { return s.inMatch; }
    const Start& match() const { return s.current; }
    InputTimeline& timeline() { return s.inputs; }
    const InputTimeline& timeline() const { return s.inputs; }
    // How far this machine has run the match: told to the others.
    void setFrame(std::uint32_t frame) { s.frame = frame; }
    // How many frames this machine runs ahead of the host (negative:
    // behind), as far as it can tell; false when it cannot (no word from
    // the host lately, paused, or on the host).
    bool aheadOfHost(std::uint32_t nowMs, double& frames) const {
        return guest != nullptr && guest->aheadOfHost(nowMs, frames);
    }
    void reportHash(std::uint32_t frame, std::uint64_t hash);
    // Asked of the room by a machine that plays a colour; heard by nobody
    // else.
    void requestPause(bool paused);
    bool isPaused() const { return s.paused; }
    // Escape here: a player's colours go to the computer for the others;
    // the host's leaving ends the match for all.
    void leaveMatch();
    // The match ended by itself here.
    void finishMatch();

    // Whether this machine may go without leaving the others short: the
    // host when nobody is left with it, a player once the host holds all
    // its keys; a spectator at any time.
    bool mayGoNow() const;

    // Messages dropped because they were wrong, not allowed, or not now.
    std::uint64_t dropped() const { return s.dropped; }
    std::uint64_t bytesSent() const { return transport.bytesSent(); }
    std::uint64_t bytesReceived() const { return transport.bytesReceived(); }

private:
    void take(const TransportEvent& event, std::uint32_t nowMs);

    Transport transport;
    RoomState s;
    // One of the two: this machine hosts the room, or is a guest in it.
    std::unique_ptr<HostAuthority> host;
    std::unique_ptr<GuestSide> guest;
    bool bCodeTold = false;
};

}  // namespace net
