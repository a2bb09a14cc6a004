#pragma once
#include <cstdint>

#include "net/Handshake.h"
#include "net/InputTimeline.h"
#include "net/Messages.h"
#include "net/transport/Transport.h"

namespace net {

// The host's side of the room: which connection is which machine, who may
// come in, and what each machine may say. It decides; the hub does the
// sending.
class HostRoom {
public:
    // As many as the transport has connections.
    static constexpr int kSlots = static_cast<int>(Transport::kPeerSlots);
    // A connection that has not said who it is within this time is closed.
    static constexpr std::uint32_t kHelloWithinMs = Transport::kHandshakeWithinMs;
    // Inputs further ahead of the host than this are not a real machine's.
    static constexpr std::uint32_t kMaxAheadFrames = 240;

    struct Guest {
        bool connected = false;
        bool welcomed = false;
        Role role = Role::Player;
        std::uint8_t machine = kNobody;
        std::uint32_t connectedAt = 0;
        // Per playing machine, the frames of its keys this guest holds.
        std::uint32_t held[kMaxPlayingMachines] = {};
        // How far ahead of the host it was when last heard from.
        std::int32_t lead = 0;
        // It sent keys since we last told it what we hold.
        bool answerDue = false;
        // Spectators: the confirmed frames sent so far, and whether they
        // have the match's start and how many seat changes.
        std::uint32_t framesSent = 0;
        bool hasStart = false;
        int seatChangesSent = 0;
    };

    HostRoom();

    void connect(PeerId peer, std::uint32_t nowMs);
    // The machine that went, or kNobody.
    std::uint8_t disconnect(PeerId peer);
    // A Hello: the answer (Welcome or Refuse) in `answer`; true when welcomed.
    bool admit(PeerId peer, const Hello& hello, const Versions& ours, bool matchRunning, Message& answer);
    // Connections that never said Hello in time.
    bool lateGreeter(std::uint32_t nowMs, PeerId& peer) const;

    Guest* guest(PeerId peer);
    const Guest* guest(PeerId peer) const;
    PeerId peerOf(std::uint8_t machine) const;
    // Bit m: playing machine m is here (the host, 0, always is).
    std::uint8_t playersPresent() const;
    std::uint8_t spectators() const;

    // A new match: nobody holds any of its frames yet.
    void beginMatch();

    // Whether a machine may send these inputs for this match now: its own
    // keys, of its own colours, not too far ahead.
    bool inputsAllowed(const Guest& from, const Inputs& inputs, const InputTimeline& timeline, std::uint8_t matchId,
                       std::uint32_t hostFrame) const;
    // Whether a machine may tick or untick this colour in the lobby.
    static bool claimAllowed(const Guest& from, const Claim& claim, const Lobby& lobby);

private:
    Guest guests[kSlots];
};

}  // namespace net
