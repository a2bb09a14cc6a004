#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "net/Protocol.h"

namespace net {

// Little-endian numbers and varints into a buffer of one message's size.
// Writing past the end writes nothing more and marks the message spoilt:
// a message never grows beyond what one datagram holds.
class WireWriter {
public:
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void u64(std::uint64_t value);
    // Unsigned LEB128, at most five bytes.
    void varint(std::uint32_t value);
    // A signed number, small ones of either sign in one byte (zigzag).
    void signedVarint(std::int64_t value);
    // A length byte, then the characters.
    void text(const char* data, std::size_t length);

    bool ok() const { return !bOverflow; }
    const std::uint8_t* data() const { return bytes.data(); }
    std::size_t size() const { return cbUsed; }

private:
    std::array<std::uint8_t, kMaxMessageBytes> bytes{};
    std::size_t cbUsed = 0;
    bool bOverflow = false;
};

}  // namespace net
