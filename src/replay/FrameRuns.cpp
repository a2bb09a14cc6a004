#include "replay/FrameRuns.h"

#include <algorithm>

#include "combat/MatchKeys.h"
#include "replay/ByteWriter.h"

namespace replay {
namespace {

// A stretch of equal frame times this long is better kept as one run.
constexpr std::size_t kLongSame = 16;
// Packed runs are cut at this length, so that looking for where one ends
// costs the same everywhere in a long match.
constexpr std::size_t kLongestPacked = 4096;

std::size_t sameRun(const std::vector<Frame>& frames, std::size_t from) {
    std::size_t end = from + 1;
    while (end < frames.size() && frames[end].ms == frames[from].ms) ++end;
    return end - from;
}

// Do the `length` frames from `from` lie within one millisecond?
bool narrowAhead(const std::vector<Frame>& frames, std::size_t from, std::size_t length) {
    if (from + length > frames.size()) return false;
    std::uint32_t low = frames[from].ms;
    std::uint32_t high = low;
    for (std::size_t i = from; i < from + length; ++i) {
        low = std::min(low, frames[i].ms);
        high = std::max(high, frames[i].ms);
        if (high - low > 1) return false;
    }
    return true;
}

// How many frames from `from` lie within `span` of one base; the base is
// their least value, or lower near the top of 32 bits, where base plus the
// widest slot must still be a frame time the reader takes. A run stops before a long stretch that a cheaper run
// would keep better: equal times, or (for wide runs) times one apart.
std::size_t spanRun(const std::vector<Frame>& frames, std::size_t from, std::uint32_t span, std::uint32_t& base) {
    std::uint32_t low = frames[from].ms;
    std::uint32_t high = low;
    std::size_t end = from;
    while (end < frames.size() && end - from < kLongestPacked) {
        if (end > from && sameRun(frames, end) >= kLongSame) break;
        if (end > from && span > 1 && narrowAhead(frames, end, kLongSame)) break;
        const std::uint32_t ms = frames[end].ms;
        const std::uint32_t newLow = std::min(low, ms);
        const std::uint32_t newHigh = std::max(high, ms);
        if (newHigh - newLow > span) break;
        low = newLow;
        high = newHigh;
        ++end;
    }
    base = std::min(low, UINT32_MAX - span);
    return end - from;
}

void writePacked(ByteWriter& out, const std::vector<Frame>& frames, std::size_t from, std::size_t count,
                 std::uint32_t base, int bitsPerFrame) {
    const int perByte = 8 / bitsPerFrame;
    for (std::size_t i = 0; i < count; i += static_cast<std::size_t>(perByte)) {
        std::uint32_t byte = 0;
        for (int k = 0; k < perByte && i + static_cast<std::size_t>(k) < count; ++k) {
            byte |= (frames[from + i + static_cast<std::size_t>(k)].ms - base) << (k * bitsPerFrame);
        }
        out.u8(static_cast<std::uint8_t>(byte));
    }
}

void writeRunHeader(ByteWriter& out, TimeRunKind kind, std::size_t count, std::uint32_t base) {
    out.varint(static_cast<std::uint32_t>(count << 2) | static_cast<std::uint32_t>(kind));
    out.varint(base);
}

}  // namespace

std::uint32_t TimeRun::at(std::uint32_t i) const {
    switch (kind) {
        case TimeRunKind::kOneBit:
            return base + ((packed[i >> 3] >> (i & 7)) & 1u);
        case TimeRunKind::kFourBits:
            return base + ((packed[i >> 1] >> ((i & 1) * 4)) & 15u);
        default:
            return base;
    }
}

std::vector<std::uint8_t> encodeFrameTimes(const std::vector<Frame>& frames) {
    ByteWriter out;
    std::size_t i = 0;
    while (i < frames.size()) {
        const std::size_t same = sameRun(frames, i);
        std::uint32_t oneBase = 0;
        std::uint32_t fourBase = 0;
        const std::size_t one = spanRun(frames, i, 1, oneBase);
        const std::size_t four = spanRun(frames, i, 15, fourBase);
        if (same >= 4 && same * 2 >= one) {
            writeRunHeader(out, TimeRunKind::kSame, same, frames[i].ms);
            i += same;
        } else if (one >= 8 || (one >= 2 && one * 2 >= four)) {
            writeRunHeader(out, TimeRunKind::kOneBit, one, oneBase);
            writePacked(out, frames, i, one, oneBase, 1);
            i += one;
        } else if (four >= 2) {
            writeRunHeader(out, TimeRunKind::kFourBits, four, fourBase);
            writePacked(out, frames, i, four, fourBase, 4);
            i += four;
        } else {
            writeRunHeader(out, TimeRunKind::kSame, same, frames[i].ms);
            i += same;
        }
    }
    return std::move(out.data());
}

std::vector<std::uint8_t> encodeKeys(const std::vector<Frame>& frames) {
    ByteWriter out;
    std::size_t i = 0;
    while (i < frames.size()) {
        std::size_t end = i + 1;
        while (end < frames.size() && frames[end].keyBits == frames[i].keyBits) ++end;
        out.varint(static_cast<std::uint32_t>(end - i));
        out.varint(frames[i].keyBits);
        i = end;
    }
    return std::move(out.data());
}

bool readTimeRun(ByteReader& in, TimeRun& run) {
    if (!in.ok() || in.remaining() == 0) return false;
    const std::uint32_t header = in.varint("the frame times");
    const std::uint32_t kind = header & 3u;
    run.count = header >> 2;
    run.base = in.varint("the frame times");
    run.packed = nullptr;
    if (!in.ok()) return false;
    if (run.count == 0 || run.count > kMaxFrames) {
        in.fail("a run of frame times with " + std::to_string(run.count) + " frames");
        return false;
    }
    std::size_t packedBytes = 0;
    std::uint32_t lastSlot = 0;
    switch (kind) {
        case 0:
            run.kind = TimeRunKind::kSame;
            return true;
        case 1:
            run.kind = TimeRunKind::kOneBit;
            packedBytes = (run.count + 7) / 8;
            lastSlot = 1;
            break;
        case 2:
            run.kind = TimeRunKind::kFourBits;
            packedBytes = (run.count + 1) / 2;
            lastSlot = 15;
            break;
        default:
            in.fail("a run of frame times of unknown kind " + std::to_string(kind));
            return false;
    }
    if (run.base > UINT32_MAX - lastSlot) {
        in.fail("frame times beyond 32 bits");
        return false;
    }
    run.packed = in.take(packedBytes, "the frame times");
    if (run.packed == nullptr) return false;
    // The slots after the last frame are empty, so each run has one form.
    const int bitsPerFrame = kind == 1 ? 1 : 4;
    const std::uint32_t usedBits = (run.count * static_cast<std::uint32_t>(bitsPerFrame)) % 8;
    if (usedBits != 0 && (run.packed[packedBytes - 1] >> usedBits) != 0) {
        in.fail("stray bits after a run of frame times");
        return false;
    }
    return true;
}

bool readKeyRun(ByteReader& in, KeyRun& run) {
    if (!in.ok() || in.remaining() == 0) return false;
    run.count = in.varint("the keys");
    const std::uint32_t bits = in.varint("the keys");
    if (!in.ok()) return false;
    if (run.count == 0 || run.count > kMaxFrames) {
        in.fail("a run of keys with " + std::to_string(run.count) + " frames");
        return false;
    }
    if (bits > matchKeys::kAllBits) {
        in.fail("keys the match does not have");
        return false;
    }
    run.bits = static_cast<std::uint16_t>(bits);
    return true;
}

bool checkFrameStreams(const std::vector<std::uint8_t>& times, const std::vector<std::uint8_t>& keys,
                       std::uint32_t frameCount, std::uint16_t allowedKeys, const std::vector<HandOver>& handOvers,
                       std::string& error) {
    ByteReader timeIn(times.data(), times.size());
    std::uint64_t timeFrames = 0;
    TimeRun timeRun;
    while (readTimeRun(timeIn, timeRun)) timeFrames += timeRun.count;
    ByteReader keyIn(keys.data(), keys.size());
    std::uint64_t keyFrames = 0;
    KeyRun keyRun;
    while (readKeyRun(keyIn, keyRun)) {
        keyFrames += keyRun.count;
        std::uint16_t allowed = allowedKeys;
        for (const HandOver& handOver : handOvers) {
            if (handOver.fromFrame < keyFrames) allowed = static_cast<std::uint16_t>(allowed & ~(3u << (2 * handOver.colour)));
        }
        if ((keyRun.bits & ~allowed) != 0) keyIn.fail("keys of a colour the computer played");
    }
    if (!timeIn.ok()) {
        error = timeIn.error();
    } else if (!keyIn.ok()) {
        error = keyIn.error();
    } else if (timeFrames != frameCount) {
        error = "frame times for " + std::to_string(timeFrames) + " frames instead of " + std::to_string(frameCount);
    } else if (keyFrames != frameCount) {
        error = "keys for " + std::to_string(keyFrames) + " frames instead of " + std::to_string(frameCount);
    } else {
        return true;
    }
    return false;
}

FrameCursor::FrameCursor(const std::vector<std::uint8_t>& times, const std::vector<std::uint8_t>& keys)
    : timeIn(times.data(), times.size()), keyIn(keys.data(), keys.size()) {}

bool FrameCursor::next(Frame& frame) {
    if (timeUsed == timeRun.count) {
        if (!readTimeRun(timeIn, timeRun)) return false;
        timeUsed = 0;
    }
    if (keyUsed == keyRun.count) {
        if (!readKeyRun(keyIn, keyRun)) return false;
        keyUsed = 0;
    }
    frame.ms = timeRun.at(timeUsed++);
    frame.keyBits = keyRun.bits;
    ++keyUsed;
    return true;
}

}  // namespace replay
