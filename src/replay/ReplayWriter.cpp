#include "replay/ReplayWriter.h"

#include <algorithm>

#include "replay/ByteWriter.h"
#include "replay/Crc32.h"

namespace replay {
namespace {

void writeText(ByteWriter& out, const std::string& text, std::size_t longest) {
    const std::size_t length = std::min(text.size(), longest);
    out.u8(static_cast<std::uint8_t>(length));
    out.raw(reinterpret_cast<const std::uint8_t*>(text.data()), length);
}

}  // namespace

std::vector<std::uint8_t> writeReplay(const Replay& replay) {
    ByteWriter out;
    out.raw(reinterpret_cast<const std::uint8_t*>(kMagic), sizeof kMagic);
    out.u16(replay.formatVersion());
    writeText(out, replay.gameVersion, kMaxVersionLength);
    const std::uint16_t version = replay.formatVersion();
    if (version >= kFirstFingerprintedVersion) {
        out.u64(*replay.fingerprint);
    } else {
        writeText(out, replay.buildId, kMaxBuildIdLength);
    }
    out.u64(static_cast<std::uint64_t>(replay.date));
    for (const Seat& seat : replay.seats) {
        out.u8(static_cast<std::uint8_t>(seat.device));
        out.u8(seat.number);
    }
    if (version >= kHandOverFormatVersion) {
        out.u8(static_cast<std::uint8_t>(replay.handOvers.size()));
        for (const HandOver& handOver : replay.handOvers) {
            out.u8(handOver.colour);
            out.u32(handOver.fromFrame);
        }
    }
    if (version >= kLevelsFormatVersion) {
        for (int colour = 0; colour < 4; ++colour) out.u8(static_cast<std::uint8_t>(replay.levels.of(colour)));
    }
    for (std::int32_t word : replay.random.table) out.u32(static_cast<std::uint32_t>(word));
    out.u8(replay.random.front);
    out.u8(replay.random.rear);

    out.u32(replay.frameCount);
    out.varint(static_cast<std::uint32_t>(replay.frameTimes.size()));
    out.raw(replay.frameTimes);
    out.varint(static_cast<std::uint32_t>(replay.keys.size()));
    out.raw(replay.keys);
    for (std::uint32_t hash : replay.checkpoints) out.u32(hash);
    out.u64(replay.finalHash);
    out.u8(static_cast<std::uint8_t>(replay.end));
    for (std::int32_t score : replay.scores) out.u32(static_cast<std::uint32_t>(score));
    out.u32(crc32(out.data().data(), out.data().size()));
    return std::move(out.data());
}

}  // namespace replay
