#include "replay/ByteWriter.h"

namespace replay {

void ByteWriter::u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value & 0xFF));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value & 0xFFFF));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::u64(std::uint64_t value) {
    u32(static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(value >> 32));
}

void ByteWriter::varint(std::uint32_t value) {
    while (value >= 0x80) {
        u8(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    u8(static_cast<std::uint8_t>(value));
}

void ByteWriter::raw(const std::uint8_t* data, std::size_t size) {
    if (size > 0) bytes.insert(bytes.end(), data, data + size);
}

}  // namespace replay
