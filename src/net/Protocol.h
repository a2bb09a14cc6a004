#pragma once
#include <cstddef>
#include <cstdint>

// The numbers two machines must agree on to play one match together.
// docs/network-protocol.md tells the messages byte by byte.
namespace net {

// Raised whenever a message changes its layout. The header (version, type)
// and the bodies of Hello and Refuse keep their layout in every version, so
// that a machine of another version is still told why it cannot play.
constexpr std::uint8_t kProtocolVersion = 1;

constexpr std::uint16_t kDefaultPort = 28250;

// Machines 0 to 3 play (the host is 0); spectators are 4 to 11.
constexpr int kMaxPlayingMachines = 4;
constexpr int kMaxSpectators = 8;
constexpr int kMaxMachines = kMaxPlayingMachines + kMaxSpectators;
constexpr std::uint8_t kFirstSpectator = kMaxPlayingMachines;
// No machine: a colour nobody claimed.
constexpr std::uint8_t kNobody = 0xFF;

// The same frame time on every machine: 17, 17, 16 ms, sixty frames a
// second, so a match's time still keeps up with the clock on average.
constexpr std::uint32_t kFrameMs[3] = {17, 17, 16};
inline std::uint32_t frameTime(std::uint32_t frame) { return kFrameMs[frame % 3]; }
// Wall-clock milliseconds of the first `frames` frames.
inline std::uint64_t scheduleMs(std::uint64_t frames) { return frames / 3 * 50 + (frames % 3) * 17; }

// A machine runs at most this many frames ahead of the last frame whose
// inputs it has from everybody; beyond, it waits for them.
constexpr std::uint32_t kMaxPrediction = 8;
constexpr int kMaxInputDelay = 2;
// Every this many frames each machine reports the state hash of the match.
constexpr std::uint32_t kHashEvery = 30;
// A machine that sends nothing for this long has gone.
constexpr std::uint32_t kDropAfterMs = 3000;

// No message is bigger: one UDP datagram, never fragmented.
constexpr std::size_t kMaxMessageBytes = 1024;
constexpr std::size_t kMaxVersionLength = 32;
// The match fingerprint travels as text, in the field that once held the
// build id, so that Hello and Refuse keep their layout.
constexpr std::size_t kMaxFingerprintLength = 64;

// Inputs travel as runs of equal frames; a message carries at most this
// many frames for one machine, and as many runs.
constexpr std::uint32_t kMaxFramesPerBlock = 64;
constexpr std::uint32_t kMaxRunsPerBlock = 16;
// The confirmed frames sent to spectators, per message.
constexpr std::uint32_t kMaxRunsPerBatch = 128;
constexpr std::uint32_t kMaxFramesPerBatch = 4096;
// A match is far shorter; a frame number beyond is not one.
constexpr std::uint32_t kMaxFrame = 8640000;
// How far a machine can be told it runs ahead of the host, in frames.
constexpr std::int32_t kMaxLead = 4096;

enum class MessageType : std::uint8_t {
    Hello = 1,       // a machine asks to play or watch
    Welcome = 2,     // the host takes it: its machine number
    Refuse = 3,      // the host does not, and why
    Lobby = 4,       // the host's menu: who claimed which colour
    Claim = 5,       // a machine ticks or unticks a colour's Player box
    Start = 6,       // the match begins: its generator and its players
    Inputs = 7,      // paddle keys by frame, and what the sender holds
    Frames = 8,      // confirmed keys of every colour, to spectators
    SeatChange = 9,  // a machine's colours go to the computer from a frame on
    Hash = 10,       // a machine's state hash after a frame
    OutOfStep = 11,  // the hashes differ: the match ends
    Pause = 12,      // pause or go on, asked of the host and told by it
    Leave = 13,      // a machine leaves the match (Escape)
    Closing = 14,    // the host is going: the match and lobby end
};
constexpr std::uint8_t kFirstType = 1;
constexpr std::uint8_t kLastType = 14;

enum class Role : std::uint8_t { Player = 0, Spectator = 1 };

enum class RefuseReason : std::uint8_t {
    Protocol = 0,     // another version of the messages
    Version = 1,      // another version of the game
    Build = 2,        // the same version, but its matches go differently (another fingerprint)
    ReplayFormat = 3, // another replay format
    PlayersFull = 4,  // four machines play already
    WatchersFull = 5, // eight machines watch already
    MatchRunning = 6, // a match is being played; players join between matches
};
constexpr std::uint8_t kLastRefuseReason = 6;

enum class ClosingReason : std::uint8_t {
    HostLeft = 0,     // the host's game is closing: the room is gone
    MatchEnded = 1,   // the host left the match: everybody goes back to the menu
};
constexpr std::uint8_t kLastClosingReason = 1;

}  // namespace net
