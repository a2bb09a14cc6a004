#include "net/WireReader.h"

namespace net {

std::uint8_t WireReader::u8() {
    if (bFailed || offset >= cbSize) {
        bFailed = true;
        return 0;
    }
    return pData[offset++];
}

std::uint16_t WireReader::u16() {
    std::uint16_t value = 0;
    for (int i = 0; i < 2; ++i) value = static_cast<std::uint16_t>(value | u8() << (8 * i));
    return bFailed ? 0 : value;
}

std::uint32_t WireReader::u32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(u8()) << (8 * i);
    return bFailed ? 0 : value;
}

std::uint64_t WireReader::u64() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<std::uint64_t>(u8()) << (8 * i);
    return bFailed ? 0 : value;
}

std::uint32_t WireReader::varint() {
    std::uint64_t value = 0;
    for (int i = 0; i < 5; ++i) {
        const std::uint8_t byte = u8();
        if (bFailed) return 0;
        value |= static_cast<std::uint64_t>(byte & 0x7F) << (7 * i);
        if ((byte & 0x80) == 0) {
            // A zero last byte after the first means a longer form than
            // needed: two spellings of one number are one too many.
            if ((i > 0 && byte == 0) || value > 0xFFFFFFFFu) break;
            return static_cast<std::uint32_t>(value);
        }
    }
    bFailed = true;
    return 0;
}

std::int64_t WireReader::signedVarint() {
    const std::uint32_t zigzag = varint();
    const std::int64_t magnitude = static_cast<std::int64_t>(zigzag >> 1);
    return (zigzag & 1) ? -magnitude - 1 : magnitude;
}

void WireReader::text(char* out, std::size_t capacity) {
    const std::uint8_t length = u8();
    if (capacity == 0) {
        bFailed = true;
        return;
    }
    out[0] = '\0';
    if (bFailed || length >= capacity || length > cbSize - offset) {
        bFailed = true;
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t ch = pData[offset + i];
        if (ch < 0x20 || ch > 0x7E) {
            bFailed = true;
            out[0] = '\0';
            return;
        }
        out[i] = static_cast<char>(ch);
    }
    out[length] = '\0';
    offset += length;
}

std::uint32_t WireReader::within(std::uint32_t value, std::uint32_t low, std::uint32_t high) {
    if (value < low || value > high) bFailed = true;
    return bFailed ? low : value;
}

}  // namespace net
