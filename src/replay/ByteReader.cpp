#include "replay/ByteReader.h"

namespace replay {

void ByteReader::fail(const std::string& reason) {
    if (sError.empty()) sError = reason;
}

const std::uint8_t* ByteReader::take(std::size_t size, const char* what) {
    if (!ok()) return nullptr;
    if (size > remaining()) {
        fail(std::string("the file ends in the middle of ") + what);
        return nullptr;
    }
    const std::uint8_t* at = pData + offset;
    offset += size;
    return at;
}

std::uint8_t ByteReader::u8(const char* what) {
    const std::uint8_t* at = take(1, what);
    return at ? at[0] : 0;
}

std::uint16_t ByteReader::u16(const char* what) {
    const std::uint8_t* at = take(2, what);
    return at ? static_cast<std::uint16_t>(at[0] | (at[1] << 8)) : 0;
}

std::uint32_t ByteReader::u32(const char* what) {
    const std::uint8_t* at = take(4, what);
    if (!at) return 0;
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

std::uint64_t ByteReader::u64(const char* what) {
    const std::uint64_t low = u32(what);
    const std::uint64_t high = u32(what);
    return low | (high << 32);
}

std::uint32_t ByteReader::varint(const char* what) {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        const std::uint8_t* at = take(1, what);
        if (!at) return 0;
        const std::uint32_t part = at[0] & 0x7Fu;
        // The fifth byte may only hold the top four bits of 32.
        if (shift == 28 && part > 0x0F) break;
        value |= part << shift;
        if ((at[0] & 0x80) == 0) {
            // The shortest form only: no trailing zero groups.
            if (shift > 0 && part == 0) break;
            return value;
        }
    }
    fail(std::string("a malformed number in ") + what);
    return 0;
}

}  // namespace replay
