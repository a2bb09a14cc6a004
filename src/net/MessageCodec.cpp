#include "net/MessageCodec.h"

#include <cstring>

#include "net/WireReader.h"

namespace net {

namespace {

// One layout per message, read and written by the same code: the Writer
// and the Reader below give each field the same shape and the same limits.
class Writer {
public:
    explicit Writer(WireWriter& out) : w(out) {}
    void u8(std::uint8_t& v, std::uint32_t low = 0, std::uint32_t high = 0xFF) {
        check(v, low, high);
        w.u8(v);
    }
    void u16(std::uint16_t& v) { w.u16(v); }
    void u64(std::uint64_t& v) { w.u64(v); }
    void i32(std::int32_t& v) { w.u32(static_cast<std::uint32_t>(v)); }
    void flag(bool& v) { w.u8(v ? 1 : 0); }
    void frame(std::uint32_t& v) {
        check(v, 0, kMaxFrame);
        w.u32(v);
    }
    // A frame near another, as the difference.
    void frameNear(std::uint32_t& v, std::uint32_t base) {
        check(v, 0, kMaxFrame);
        w.signedVarint(static_cast<std::int64_t>(v) - static_cast<std::int64_t>(base));
    }
    void lead(std::int32_t& v) {
        if (v < -kMaxLead || v > kMaxLead) bad = true;
        w.signedVarint(v);
    }
    void text(char* v, std::size_t capacity) {
        const std::size_t length = strnlen(v, capacity);
        if (length >= capacity) bad = true;
        for (std::size_t i = 0; i < length; ++i) {
            if (v[i] < 0x20 || v[i] > 0x7E) bad = true;
        }
        w.text(v, length);
    }
    void require(bool condition) {
        if (!condition) bad = true;
    }
    bool ok() const { return !bad && w.ok(); }

private:
    void check(std::uint32_t v, std::uint32_t low, std::uint32_t high) {
        if (v < low || v > high) bad = true;
    }
    WireWriter& w;
    bool bad = false;
};

class Reader {
public:
    explicit Reader(WireReader& in) : r(in) {}
    void u8(std::uint8_t& v, std::uint32_t low = 0, std::uint32_t high = 0xFF) {
        v = static_cast<std::uint8_t>(r.within(r.u8(), low, high));
    }
    void u16(std::uint16_t& v) { v = r.u16(); }
    void u64(std::uint64_t& v) { v = r.u64(); }
    void i32(std::int32_t& v) { v = static_cast<std::int32_t>(r.u32()); }
    void flag(bool& v) { v = r.within(r.u8(), 0, 1) != 0; }
    void frame(std::uint32_t& v) { v = r.within(r.u32(), 0, kMaxFrame); }
    void frameNear(std::uint32_t& v, std::uint32_t base) {
        const std::int64_t value = static_cast<std::int64_t>(base) + r.signedVarint();
        if (value < 0 || value > static_cast<std::int64_t>(kMaxFrame)) r.fail();
        v = r.ok() ? static_cast<std::uint32_t>(value) : 0;
    }
    void lead(std::int32_t& v) {
        const std::int64_t value = r.signedVarint();
        if (value < -kMaxLead || value > kMaxLead) r.fail();
        v = r.ok() ? static_cast<std::int32_t>(value) : 0;
    }
    void text(char* v, std::size_t capacity) { r.text(v, capacity); }
    void require(bool condition) {
        if (!condition) r.fail();
    }
    bool ok() const { return r.ok(); }

private:
    WireReader& r;
};

template <class Io, class E>
void enumeration(Io& io, E& value, std::uint8_t last) {
    std::uint8_t raw = static_cast<std::uint8_t>(value);
    io.u8(raw, 0, last);
    value = static_cast<E>(raw);
}

template <class Io>
void owners(Io& io, std::uint8_t (&owner)[4]) {
    for (std::uint8_t& machine : owner) {
        io.u8(machine);
        // A colour belongs to a playing machine, or to nobody.
        io.require(machine < kMaxPlayingMachines || machine == kNobody);
    }
}

// `count` runs of at least one frame each, `maxFrames` frames in all, in
// an array of `capacity` runs.
template <class Io, std::size_t capacity>
void runs(Io& io, InputRun (&run)[capacity], std::uint32_t count, std::uint32_t maxFrames) {
    std::uint32_t frames = 0;
    for (std::uint32_t i = 0; i < count && i < capacity; ++i) {
        io.u8(run[i].length, 1, 0xFF);
        io.u8(run[i].bits);
        frames += run[i].length;
    }
    io.require(frames <= maxFrames);
}

template <class Io>
void versions(Io& io, char* gameVersion, char* fingerprint, std::uint16_t& replayFormat) {
    io.text(gameVersion, kMaxVersionLength + 1);
    io.text(fingerprint, kMaxFingerprintLength + 1);
    io.u16(replayFormat);
}

template <class Io>
void layout(Io& io, Hello& m) {
    enumeration(io, m.role, 1);
    versions(io, m.gameVersion, m.fingerprint, m.replayFormat);
}

template <class Io>
void layout(Io& io, Welcome& m) {
    // The host is machine 0 and welcomes nobody as itself.
    io.u8(m.machine, 1, kMaxMachines - 1);
}

template <class Io>
void layout(Io& io, Refuse& m) {
    enumeration(io, m.reason, kLastRefuseReason);
    versions(io, m.gameVersion, m.fingerprint, m.replayFormat);
}

template <class Io>
void layout(Io& io, Lobby& m) {
    owners(io, m.owners);
    io.u8(m.present, 0, (1u << kMaxPlayingMachines) - 1);
    for (std::uint16_t& ms : m.roundTripMs) io.u16(ms);
    io.u8(m.spectators, 0, kMaxSpectators);
    io.flag(m.matchRunning);
}

template <class Io>
void layout(Io& io, Claim& m) {
    io.u8(m.colour, 0, 3);
    io.flag(m.take);
}

template <class Io>
void layout(Io& io, Start& m) {
    io.u8(m.matchId);
    owners(io, m.owners);
    for (std::int32_t& word : m.randomTable) io.i32(word);
    io.u8(m.randomFront, 0, 30);
    io.u8(m.randomRear, 0, 30);
    for (std::uint8_t& level : m.levels) io.u8(level, 0, 2);
}

template <class Io>
void layout(Io& io, Inputs& m) {
    io.u8(m.matchId);
    io.frame(m.frame);
    for (std::uint32_t& held : m.held) io.frameNear(held, m.frame);
    io.lead(m.lead);
    io.u8(m.blockCount, 0, kMaxPlayingMachines);
    for (std::uint8_t b = 0; b < m.blockCount && b < kMaxPlayingMachines; ++b) {
        InputBlock& block = m.blocks[b];
        io.u8(block.machine, 0, kMaxPlayingMachines - 1);
        io.frameNear(block.firstFrame, m.frame);
        io.u8(block.runCount, 1, kMaxRunsPerBlock);
        runs(io, block.runs, block.runCount, kMaxFramesPerBlock);
    }
}

template <class Io>
void layout(Io& io, Frames& m) {
    io.u8(m.matchId);
    io.frame(m.firstFrame);
    io.u8(m.runCount, 1, kMaxRunsPerBatch);
    runs(io, m.runs, m.runCount, kMaxFramesPerBatch);
}

template <class Io>
void layout(Io& io, SeatChange& m) {
    io.u8(m.matchId);
    io.u8(m.machine, 1, kMaxPlayingMachines - 1);
    io.frame(m.fromFrame);
}

template <class Io>
void layout(Io& io, Hash& m) {
    io.u8(m.matchId);
    io.frame(m.frame);
    io.require(m.frame % kHashEvery == 0);
    io.u64(m.hash);
}

template <class Io>
void layout(Io& io, OutOfStep& m) {
    io.u8(m.matchId);
    io.frame(m.frame);
    io.u8(m.reported, 0, (1u << kMaxPlayingMachines) - 1);
    for (std::uint64_t& hash : m.hashes) io.u64(hash);
}

template <class Io>
void layout(Io& io, Pause& m) {
    io.flag(m.paused);
}

template <class Io>
void layout(Io& io, Leave& m) {
    io.u8(m.matchId);
}

template <class Io>
void layout(Io& io, Closing& m) {
    enumeration(io, m.reason, kLastClosingReason);
}

// A message of the given type with its fields as they come.
template <std::size_t Index = 0>
bool decodeBody(std::uint8_t type, Reader& reader, Message& message) {
    if constexpr (Index < std::variant_size_v<Message>) {
        if (type == Index + kFirstType) {
            message.emplace<Index>();
            layout(reader, std::get<Index>(message));
            return true;
        }
        return decodeBody<Index + 1>(type, reader, message);
    } else {
        return false;
    }
}

}  // namespace

std::uint32_t InputBlock::frameCount() const {
    std::uint32_t frames = 0;
    for (std::uint8_t i = 0; i < runCount && i < kMaxRunsPerBlock; ++i) frames += runs[i].length;
    return frames;
}

std::uint32_t Frames::frameCount() const {
    std::uint32_t frames = 0;
    for (std::uint32_t i = 0; i < runCount && i < kMaxRunsPerBatch; ++i) frames += runs[i].length;
    return frames;
}

MessageType typeOf(const Message& message) { return static_cast<MessageType>(message.index() + kFirstType); }

bool encodeMessage(const Message& message, WireWriter& out) {
    out.u8(kProtocolVersion);
    out.u8(static_cast<std::uint8_t>(typeOf(message)));
    Writer writer(out);
    // The layouts take their fields by reference for the reader's sake.
    Message copy = message;
    std::visit([&](auto& body) { layout(writer, body); }, copy);
    return writer.ok();
}

DecodeResult decodeMessage(const std::uint8_t* data, std::size_t size, Message& message) {
    if (data == nullptr || size == 0) return DecodeResult::Empty;
    if (size > kMaxMessageBytes) return DecodeResult::TooLong;
    WireReader in(data, size);
    const std::uint8_t version = in.u8();
    const std::uint8_t type = in.u8();
    if (!in.ok()) return DecodeResult::Malformed;
    if (version != kProtocolVersion) return DecodeResult::OtherProtocol;
    Reader reader(in);
    if (!decodeBody(type, reader, message)) return DecodeResult::UnknownType;
    if (!in.ok() || !in.atEnd()) return DecodeResult::Malformed;
    return DecodeResult::Ok;
}

bool peekHelloVersion(const std::uint8_t* data, std::size_t size, std::uint8_t& version) {
    if (data == nullptr || size < 2 || data[1] != static_cast<std::uint8_t>(MessageType::Hello)) return false;
    version = data[0];
    return true;
}

}  // namespace net
