#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "replay/ByteReader.h"
#include "replay/ReplayFormat.h"

// A replay's frames are kept as two run-length coded streams: the frame
// times and the key bits. Keys change a few times a second at most; frame
// times mostly alternate between two neighbours (16 and 17 ms at 60 Hz),
// which one-bit runs keep in an eighth of a byte a frame.
namespace replay {

enum class TimeRunKind : std::uint8_t { kSame = 0, kOneBit = 1, kFourBits = 2 };

// `count` frames: all `base` ms (kSame), or base plus a packed bit
// (kOneBit) or nibble (kFourBits) each, lowest bits first.
struct TimeRun {
    TimeRunKind kind = TimeRunKind::kSame;
    std::uint32_t count = 0;
    std::uint32_t base = 0;
    const std::uint8_t* packed = nullptr;

    std::uint32_t at(std::uint32_t i) const;
};

struct KeyRun {
    std::uint32_t count = 0;
    std::uint16_t bits = 0;
};

std::vector<std::uint8_t> encodeFrameTimes(const std::vector<Frame>& frames);
std::vector<std::uint8_t> encodeKeys(const std::vector<Frame>& frames);

// The next run of a stream; false at its end or when it is wrong, which
// `in` then tells. Runs are never empty and their values never overflow.
bool readTimeRun(ByteReader& in, TimeRun& run);
bool readKeyRun(ByteReader& in, KeyRun& run);

// Checks both streams whole: exactly `frameCount` frames each, keys only
// among `allowedKeys`, and none of a colour handed over from its frame on.
// Cheap however many frames a run claims.
bool checkFrameStreams(const std::vector<std::uint8_t>& times, const std::vector<std::uint8_t>& keys,
                       std::uint32_t frameCount, std::uint16_t allowedKeys, const std::vector<HandOver>& handOvers,
                       std::string& error);

// The frames of two checked streams, one after the other.
class FrameCursor {
public:
    FrameCursor(const std::vector<std::uint8_t>& times, const std::vector<std::uint8_t>& keys);
    // False once there is no frame left.
    bool next(Frame& frame);

private:
    ByteReader timeIn;
    ByteReader keyIn;
    TimeRun timeRun;
    KeyRun keyRun;
    std::uint32_t timeUsed = 0;
    std::uint32_t keyUsed = 0;
};

}  // namespace replay
