#include "net/WireWriter.h"

namespace net {

void WireWriter::u8(std::uint8_t value) {
    if (cbUsed >= bytes.size()) {
        bOverflow = true;
        return;
    }
    bytes[cbUsed++] = value;
}

void WireWriter::u16(std::uint16_t value) {
    for (int i = 0; i < 2; ++i) u8(static_cast<std::uint8_t>(value >> (8 * i)));
}

void WireWriter::u32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(value >> (8 * i)));
}

void WireWriter::u64(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(value >> (8 * i)));
}

void WireWriter::varint(std::uint32_t value) {
    while (value >= 0x80) {
        u8(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    u8(static_cast<std::uint8_t>(value));
}

void WireWriter::signedVarint(std::int64_t value) {
    // Frame differences stay far inside 32 bits; the reader refuses the rest.
    const std::uint64_t zigzag = value < 0 ? (static_cast<std::uint64_t>(-(value + 1)) << 1) | 1
                                           : static_cast<std::uint64_t>(value) << 1;
    varint(zigzag > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(zigzag));
}

void WireWriter::text(const char* data, std::size_t length) {
    if (length > 255) {
        bOverflow = true;
        return;
    }
    u8(static_cast<std::uint8_t>(length));
    for (std::size_t i = 0; i < length; ++i) u8(static_cast<std::uint8_t>(data[i]));
}

}  // namespace net
