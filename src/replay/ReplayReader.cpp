#include "replay/ReplayReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "replay/ByteReader.h"
#include "replay/Crc32.h"

namespace replay {
namespace {

bool readText(ByteReader& in, std::size_t shortest, std::size_t longest, const char* what, std::string& text) {
    const std::size_t length = in.u8(what);
    if (!in.ok()) return false;
    if (length < shortest || length > longest) {
        in.fail(std::string("a ") + what + " of " + std::to_string(length) + " characters");
        return false;
    }
    const std::uint8_t* at = in.take(length, what);
    if (at == nullptr) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (at[i] < 0x20 || at[i] > 0x7E) {
            in.fail(std::string("a ") + what + " with characters that are not plain text");
            return false;
        }
    }
    text.assign(reinterpret_cast<const char*>(at), length);
    return true;
}

bool readSeat(ByteReader& in, Seat& seat) {
    const std::uint8_t device = in.u8("the players");
    const std::uint8_t number = in.u8("the players");
    if (!in.ok()) return false;
    if (device > kLastDevice) {
        in.fail("a player on an unknown device " + std::to_string(device));
        return false;
    }
    seat.device = static_cast<Device>(device);
    // Pads and network seats are numbered; the keyboard and computer not.
    const bool numbered = seat.device == Device::kPad || seat.device == Device::kNetwork;
    if (!numbered && number != 0) {
        in.fail("a player with a device number " + std::to_string(number));
        return false;
    }
    seat.number = number;
    return true;
}

// Version 2 on: the colours people played that went to the computer
// during the match, in colour order, each once. Version 2 is written only
// for them; from version 3 on there may be none.
bool readHandOvers(ByteReader& in, std::uint16_t version, Replay& replay) {
    const std::uint8_t count = in.u8("the hand-overs");
    const std::uint8_t fewest = version >= kFirstFingerprintedVersion ? 0 : 1;
    if (in.ok() && (count < fewest || count > 4)) {
        in.fail(std::to_string(count) + " colours handed to the computer");
        return false;
    }
    int lastColour = -1;
    for (std::uint8_t i = 0; i < count && in.ok(); ++i) {
        HandOver handOver;
        handOver.colour = in.u8("the hand-overs");
        handOver.fromFrame = in.u32("the hand-overs");
        if (!in.ok()) return false;
        if (handOver.colour > 3 || handOver.colour <= lastColour || !replay.seats[handOver.colour].isPerson()) {
            in.fail("a hand-over of colour " + std::to_string(handOver.colour) + " that no person played, or twice");
            return false;
        }
        lastColour = handOver.colour;
        replay.handOvers.push_back(handOver);
    }
    return in.ok();
}

// Version 3 on: how well the computer played each colour. Version 3 is
// written only for a strength other than Normal, and a colour only people
// played keeps Normal.
bool readLevels(ByteReader& in, Replay& replay) {
    for (int colour = 0; colour < 4; ++colour) {
        const std::uint8_t strength = in.u8("the computer's strengths");
        if (!in.ok()) return false;
        if (strength > kLastComputerLevel) {
            in.fail("an unknown strength " + std::to_string(strength) + " of the computer");
            return false;
        }
        replay.levels.set(colour, static_cast<ComputerLevel>(strength));
        if (strength != static_cast<std::uint8_t>(ComputerLevel::kNormal) && !replay.computerPlayed(colour)) {
            in.fail("a strength for colour " + std::to_string(colour) + ", which the computer never played");
            return false;
        }
    }
    if (replay.levels.allNormal()) {
        in.fail("a version 4 replay in which the computer played only at Normal");
        return false;
    }
    return true;
}

bool readStream(ByteReader& in, const char* what, std::vector<std::uint8_t>& stream) {
    const std::uint32_t length = in.varint(what);
    const std::uint8_t* at = in.take(length, what);
    if (at == nullptr) return false;
    stream.assign(at, at + length);
    return true;
}

bool readBody(ByteReader& in, Replay& replay) {
    const std::uint8_t* magic = in.take(sizeof kMagic, "the file's kind");
    if (magic == nullptr || std::memcmp(magic, kMagic, sizeof kMagic) != 0) {
        in.fail("not a Quadrill replay");
        return false;
    }
    const std::uint16_t version = in.u16("the format version");
    if (in.ok() && (version < kFirstFormatVersion || version > kFormatVersion)) {
        in.fail("a replay of format version " + std::to_string(version) + "; this game reads versions " +
                std::to_string(kFirstFormatVersion) + " to " + std::to_string(kFormatVersion));
    }
    if (!readText(in, 1, kMaxVersionLength, "game version", replay.gameVersion)) return false;
    if (version >= kFirstFingerprintedVersion) {
        replay.fingerprint = in.u64("the fingerprint");
    } else if (!readText(in, 0, kMaxBuildIdLength, "build id", replay.buildId)) {
        return false;
    }
    replay.date = static_cast<std::int64_t>(in.u64("the date"));
    for (Seat& seat : replay.seats) {
        if (!readSeat(in, seat)) return false;
    }
    if (version >= kHandOverFormatVersion && !readHandOvers(in, version, replay)) return false;
    if (version >= kLevelsFormatVersion && !readLevels(in, replay)) return false;
    for (std::int32_t& word : replay.random.table) word = static_cast<std::int32_t>(in.u32("the generator"));
    replay.random.front = in.u8("the generator");
    replay.random.rear = in.u8("the generator");
    if (in.ok() && !MatchRandom::isWellFormed(replay.random)) in.fail("a generator state out of shape");

    replay.frameCount = in.u32("the frame count");
    if (in.ok() && (replay.frameCount == 0 || replay.frameCount > kMaxFrames)) {
        in.fail("a match of " + std::to_string(replay.frameCount) + " frames");
    }
    for (const HandOver& handOver : replay.handOvers) {
        if (in.ok() && handOver.fromFrame >= replay.frameCount) {
            in.fail("a colour handed to the computer after the last frame");
        }
    }
    if (!readStream(in, "the frame times", replay.frameTimes)) return false;
    if (!readStream(in, "the keys", replay.keys)) return false;
    std::string streamError;
    if (!checkFrameStreams(replay.frameTimes, replay.keys, replay.frameCount, replay.allowedKeys(), replay.handOvers,
                           streamError)) {
        in.fail(streamError);
        return false;
    }
    const std::size_t checkpointCount = replay.frameCount / kHashEvery;
    const std::uint8_t* hashes = in.take(checkpointCount * 4, "the state hashes");
    if (hashes == nullptr) return false;
    ByteReader hashIn(hashes, checkpointCount * 4);
    replay.checkpoints.resize(checkpointCount);
    for (std::uint32_t& hash : replay.checkpoints) hash = hashIn.u32("the state hashes");
    replay.finalHash = in.u64("the final state hash");
    const std::uint8_t end = in.u8("the match's end");
    if (in.ok() && end > kLastMatchEnd) in.fail("a match that ended in an unknown way " + std::to_string(end));
    replay.end = static_cast<MatchEnd>(end);
    for (std::int32_t& score : replay.scores) score = static_cast<std::int32_t>(in.u32("the scores"));
    return in.ok();
}

}  // namespace

bool readReplay(const std::uint8_t* data, std::size_t size, Replay& replay, std::string& error) {
    replay = Replay{};
    if (data == nullptr) size = 0;
    if (size > kMaxFileBytes) {
        error = "too long for a replay";
        return false;
    }
    ByteReader in(data, size);
    const bool body = readBody(in, replay);
    const std::size_t checked = in.position();
    const std::uint32_t stored = in.u32("the checksum");
    if (body && in.ok() && stored != crc32(data, checked)) in.fail("the file is damaged (its checksum is wrong)");
    if (in.ok() && in.remaining() != 0) in.fail("more bytes after the end of the replay");
    if (!in.ok()) {
        error = in.error();
        replay = Replay{};
        return false;
    }
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) length = std::ftell(file.get());
    if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        error = "cannot read " + path;
        return false;
    }
    if (static_cast<unsigned long>(length) > kMaxFileBytes) {
        error = path + ": too long for a replay";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        error = "cannot read " + path;
        return false;
    }
    return readReplay(bytes.data(), bytes.size(), replay, error);
}

}  // namespace replay
