#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/InputTimeline.h"
#include "net/Messages.h"

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

// What every machine keeps of its room, whichever its part in it: the
// lobby, the current match and everybody's keys in it, whether it is
// paused, and what happened since the game last looked. The host's
// authority and a guest's side both work on it.
struct RoomState {
    enum class Phase { Connecting, Lobby, Closed };

    Phase phase = Phase::Connecting;
    std::string problem;
    // This machine's number: -1 until the host has taken it in.
    int machine = -1;
    Lobby lobby;

    Start current;
    InputTimeline inputs;
    // The current match runs here; there has been one at all.
    bool inMatch = false;
    bool hasMatch = false;
    bool paused = false;
    // How far this machine has run the match.
    std::uint32_t frame = 0;

    std::vector<SessionEvent> events;
    std::uint64_t dropped = 0;

    void event(SessionEvent::Kind kind, std::uint8_t who = kNobody, std::uint32_t at = 0, const std::string& note = "");
    void drop() { ++dropped; }
    // The room is gone for this machine, for this reason.
    void close(const std::string& why);
    // A new match begins here: nobody's keys yet, not paused.
    void begin(const Start& start);
    // Whether the machine still plays a colour in the current match.
    bool playsNow(int who) const;
    // The match went out of step here: the event, with the hashes the host
    // heard as its note, one line a machine, for the bug report.
    void outOfStep(const OutOfStep& out);
};

}  // namespace net
