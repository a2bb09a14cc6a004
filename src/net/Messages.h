#pragma once
#include <cstdint>
#include <variant>

#include "net/Protocol.h"

// Every message the machines of one match send each other, as plain values
// of a fixed size: reading one from the network allocates nothing.
namespace net {

struct Hello {
    Role role = Role::Player;
    char gameVersion[kMaxVersionLength + 1] = {};
    // How the machine plays a match (GameFingerprint), in hex digits.
    char fingerprint[kMaxFingerprintLength + 1] = {};
    std::uint16_t replayFormat = 0;
};

struct Welcome {
    std::uint8_t machine = 0;
};

// The host's own versions come with the reason, so that the refused
// machine can say what it would take.
struct Refuse {
    RefuseReason reason = RefuseReason::Protocol;
    char gameVersion[kMaxVersionLength + 1] = {};
    // How the machine plays a match (GameFingerprint), in hex digits.
    char fingerprint[kMaxFingerprintLength + 1] = {};
    std::uint16_t replayFormat = 0;
};

struct Lobby {
    // Per colour, the machine that claimed it, or kNobody.
    std::uint8_t owners[4] = {kNobody, kNobody, kNobody, kNobody};
    // Bit m: playing machine m is connected.
    std::uint8_t present = 0;
    // Per playing machine, its round trip to the host in milliseconds.
    std::uint16_t roundTripMs[kMaxPlayingMachines] = {};
    std::uint8_t spectators = 0;
    bool matchRunning = false;
};

struct Claim {
    std::uint8_t colour = 0;
    bool take = false;
};

struct Start {
    std::uint8_t matchId = 0;
    std::uint8_t owners[4] = {kNobody, kNobody, kNobody, kNobody};
    // The match's generator as it stands before the match is loaded.
    std::int32_t randomTable[31] = {};
    std::uint8_t randomFront = 0;
    std::uint8_t randomRear = 0;
    // Per colour, the host's strength for the computer (0 easy, 1 normal,
    // 2 hard); every machine plays the computer's colours at it.
    std::uint8_t levels[4] = {1, 1, 1, 1};
};

// `length` frames in a row with the same paddle keys (matchKeys bits 0-7).
struct InputRun {
    std::uint8_t length = 0;
    std::uint8_t bits = 0;
};

// Consecutive frames of one playing machine's keys.
struct InputBlock {
    std::uint8_t machine = 0;
    std::uint32_t firstFrame = 0;
    std::uint8_t runCount = 0;
    InputRun runs[kMaxRunsPerBlock] = {};

    std::uint32_t frameCount() const;
};

struct Inputs {
    std::uint8_t matchId = 0;
    // The frame the sender is about to run: how far along it is.
    std::uint32_t frame = 0;
    // Per playing machine, how many of its frames the sender holds, from
    // the first on without a gap: what need not be sent again.
    std::uint32_t held[kMaxPlayingMachines] = {};
    // From the host: how many frames the receiver was ahead of the host when
    // the host last heard from it (negative: behind). 0 from the others.
    std::int32_t lead = 0;
    std::uint8_t blockCount = 0;
    InputBlock blocks[kMaxPlayingMachines] = {};
};

// Frames whose keys are known from every machine, all colours at once: what
// a spectator watches.
struct Frames {
    std::uint8_t matchId = 0;
    std::uint32_t firstFrame = 0;
    std::uint8_t runCount = 0;
    InputRun runs[kMaxRunsPerBatch] = {};

    std::uint32_t frameCount() const;
};

struct SeatChange {
    std::uint8_t matchId = 0;
    std::uint8_t machine = 0;
    std::uint32_t fromFrame = 0;
};

struct Hash {
    std::uint8_t matchId = 0;
    // The hash of the match after this many frames.
    std::uint32_t frame = 0;
    std::uint64_t hash = 0;
};

struct OutOfStep {
    std::uint8_t matchId = 0;
    std::uint32_t frame = 0;
    // Bit m: hashes[m] is machine m's.
    std::uint8_t reported = 0;
    std::uint64_t hashes[kMaxPlayingMachines] = {};
};

struct Pause {
    bool paused = false;
};

struct Leave {
    std::uint8_t matchId = 0;
};

struct Closing {
    ClosingReason reason = ClosingReason::HostLeft;
};

using Message = std::variant<Hello, Welcome, Refuse, Lobby, Claim, Start, Inputs, Frames, SeatChange, Hash, OutOfStep,
                             Pause, Leave, Closing>;

MessageType typeOf(const Message& message);

}  // namespace net
