#pragma once
#include <cstddef>
#include <cstdint>

// The constants of the replay file (docs/replay-format.md tells the layout).
namespace replay {

constexpr char kMagic[4] = {'Q', 'R', 'P', 'L'};
// The newest format, which this game reads and writes along with the ones
// before it. Version 3 carries the recording game's fingerprint, versions 1
// and 2 a build id instead. A match is written in the oldest format that
// holds it: only a match in which the computer played a colour at another
// strength than Normal needs version 4.
constexpr std::uint16_t kFormatVersion = 4;
constexpr std::uint16_t kFirstFormatVersion = 1;
// The first formats with the hand-overs, with the fingerprint, and with
// the computer's strengths.
constexpr std::uint16_t kHandOverFormatVersion = 2;
constexpr std::uint16_t kFirstFingerprintedVersion = 3;
constexpr std::uint16_t kLevelsFormatVersion = 4;
// A state hash is kept after every this many frames, and after the last.
constexpr std::uint32_t kHashEvery = 60;
// Far beyond any match (a day at 100 frames a second); a file that says
// more is not a replay.
constexpr std::uint32_t kMaxFrames = 8640000;
constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr std::size_t kMaxVersionLength = 32;
constexpr std::size_t kMaxBuildIdLength = 64;

// Who played a colour, and through what.
enum class Device : std::uint8_t { kComputer = 0, kKeyboard = 1, kPad = 2, kNetwork = 3 };
constexpr std::uint8_t kLastDevice = 3;

// How the recorded match ended.
enum class MatchEnd : std::uint8_t {
    kOver = 0,      // ten serves and the blink
    kLeft = 1,      // Escape
    kCutShort = 2,  // stopped between two frames: closed, or left while paused
};
constexpr std::uint8_t kLastMatchEnd = 2;

struct Seat {
    Device device = Device::kComputer;
    // The pad's (from 1) or the network seat's number; 0 for the others.
    std::uint8_t number = 0;
    bool isPerson() const { return device != Device::kComputer; }
};

// From `fromFrame` on, a colour a person played is the computer's (online,
// the person's machine left the match).
struct HandOver {
    std::uint8_t colour = 0;
    std::uint32_t fromFrame = 0;
};

// One frame of a match: the time it took and the keys it read
// (matchKeys bits).
struct Frame {
    std::uint32_t ms = 0;
    std::uint16_t keyBits = 0;
};

}  // namespace replay
