#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/Handshake.h"
#include "net/HashLedger.h"
#include "net/HostRoom.h"
#include "net/InputTimeline.h"
#include "net/Messages.h"
#include "net/WatchedHashes.h"
#include "net/transport/Transport.h"

namespace net {

// What happened in the room since the game last looked.
struct SessionEvent {
    enum class Kind {
        Welcomed,      // the host took this machine in
        LobbyChanged,  // claims, machines or round trips changed
        MatchStarts,   // a match begins (match() tells which)
        SeatChanged,   // `machine` left its colours to the computer from `frame`
        PauseChanged,  // the room paused or went on
        OutOfStep,     // the machines' matches differ after `frame`
        MatchEnded,    // the host left the match
        Closed,        // the room is gone for this machine (problem() says why)
        TurnedAway,    // the host refused a machine (note says why)
    };
    Kind kind = Kind::LobbyChanged;
    std::uint8_t machine = kNobody;
    std::uint32_t frame = 0;
    std::string note;
};

// This machine's place in an online room: the host's, a player's or a
// spectator's. It keeps the room's lobby (who claimed which colour), the
// keys of every machine in the current match, and the match's agreed
// events (seat changes, pause, hashes), and it does all the talking. Every
// message that arrives is checked; whatever a machine may not say, or not
// now, is dropped and counted.
class Session {
public:
    // The host is a player too: machine 0.
    Session(bool hosting, Role role, const Versions& versions);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Hosting listens on the port; joining and watching connect to host.
    bool open(const std::string& host, std::uint16_t port, std::string& error);
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

    bool isHost() const { return bHosting; }
    std::uint16_t port() const { return transport.port(); }
    bool isSpectator() const { return role == Role::Spectator; }
    // -1 until the host has taken this machine in.
    int machine() const { return iMachine; }
    bool isOpen() const { return state == State::Lobby; }
    const std::string& problem() const { return sProblem; }
    const Lobby& lobby() const { return room; }
    // This machine's round trip to the host (0 on the host).
    std::uint32_t roundTripMs() const;

    // The lobby. A colour another machine claimed cannot be claimed here.
    bool mayClaim(int colour) const;
    void claim(int colour, bool take);
    // The colours this machine claimed, as player flags.
    void ownColours(std::uint8_t (&human)[4]) const;
    // The host starts a match for everybody with its generator's state.
    bool startMatch(const std::int32_t (&randomTable)[31], std::uint8_t front, std::uint8_t rear);

    // The current match, from its start until this machine has finished or
    // left it.
    bool inMatch() const { return bInMatch; }
    const Start& match() const { return current; }
    InputTimeline& timeline() { return inputs; }
    const InputTimeline& timeline() const { return inputs; }
    // How far this machine has run the match: told to the others.
    void setFrame(std::uint32_t frame) { dwFrame = frame; }
    // How many frames this machine runs ahead of the host (negative:
    // behind), as far as it can tell; false when it cannot (no word from
    // the host lately, paused, or on the host).
    bool aheadOfHost(std::uint32_t nowMs, double& frames) const;
    void reportHash(std::uint32_t frame, std::uint64_t hash);
    void requestPause(bool paused);
    bool isPaused() const { return bPaused; }
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
    std::uint64_t dropped() const { return cDropped; }
    std::uint64_t bytesSent() const { return transport.bytesSent(); }
    std::uint64_t bytesReceived() const { return transport.bytesReceived(); }

private:
    enum class State { Connecting, Lobby, Closed };

    void send(PeerId peer, const Message& message, Delivery delivery);
    void broadcast(const Message& message, bool toSpectators);
    void take(const TransportEvent& event, std::uint32_t nowMs);
    void event(SessionEvent::Kind kind, std::uint8_t machine = kNobody, std::uint32_t frame = 0,
               const std::string& note = "");
    void drop() { ++cDropped; }
    void close(const std::string& why);
    void beginMatch(const Start& start);
    void outOfStep(const OutOfStep& out);
    void spectatorOutOfStep();
    // Whether the machine still plays a colour in the current match.
    bool playsNow(int machine) const;

    // The host's side.
    void hostReceive(PeerId peer, const Message& message);
    void hostGreet(PeerId peer, const Hello& hello);
    void hostDisconnect(PeerId peer);
    void hostLeaveSeat(std::uint8_t machine);
    void hostInputs(HostRoom::Guest& from, const Inputs& message);
    void hostHash(std::uint8_t machine, std::uint32_t frame, std::uint64_t hash);
    void hostJudge();
    void hostSend(std::uint32_t nowMs);
    void hostRelay(PeerId peer, HostRoom::Guest& to);
    void hostFeedSpectator(PeerId peer, HostRoom::Guest& to);
    void hostSetPaused(bool paused, std::uint8_t by);
    void hostRefreshLobby();

    // A joining or watching machine's side.
    void guestReceive(const Message& message, std::uint32_t nowMs);
    void guestInputs(const Inputs& message, std::uint32_t nowMs);
    void guestFrames(const Frames& message);
    void guestSend();

    // Appends a block of `machine`'s frames from `first` to `message`.
    void addBlock(Inputs& message, int machine, std::uint32_t first) const;

    Transport transport;
    bool bHosting;
    Role role;
    Versions versions;
    State state = State::Connecting;
    std::string sProblem;
    std::string sHostName;
    std::uint16_t wPort = 0;
    // Coming in: the tries so far, when the last began, the next one due.
    int cTries = 0;
    std::uint32_t dwTriedAt = 0;
    bool bRetryDue = false;
    std::uint32_t dwRetryAt = 0;
    int iMachine = -1;
    std::vector<SessionEvent> events;

    Lobby room;
    bool bLobbyChanged = false;
    std::uint32_t dwLobbySentAt = 0;
    HostRoom guests;
    HashLedger ledger;
    bool bMatchOutOfStep = false;
    // A spectator's check of its match against the host's.
    WatchedHashes watchCheck;
    std::vector<SeatChange> seatChanges;

    Start current;
    std::uint8_t cNextMatch = 1;
    bool bInMatch = false;
    bool bHasMatch = false;
    InputTimeline inputs;
    std::uint32_t dwFrame = 0;
    // A spectator: the frames the host has sent so far.
    std::uint32_t dwFramesKnown = 0;
    bool bPaused = false;
    // The host: the machine whose pause holds the room.
    std::uint8_t dwPausedBy = kNobody;
    std::uint32_t cTurns = 0;

    // A guest's view of the host: how many of our frames it holds, the
    // latest frame it said it was at and when that came.
    std::uint32_t dwHostHolds = 0;
    double dAheadOfHost = 0;
    bool bAheadKnown = false;
    std::uint32_t dwAheadAt = 0;
    std::uint32_t dwNow = 0;

    std::uint64_t cDropped = 0;
};

}  // namespace net
