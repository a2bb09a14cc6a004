#pragma once
#include <cstddef>
#include <cstdint>

namespace net {

// Reads little-endian numbers and varints from a received message and never
// past its end. The first shortfall or malformed number stops it: every
// later read gives 0 and ok() stays false. It allocates nothing.
class WireReader {
public:
    WireReader(const std::uint8_t* data, std::size_t size) : pData(data), cbSize(size) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::uint64_t u64();
    // Unsigned LEB128 of at most 32 bits, in its shortest form.
    std::uint32_t varint();
    std::int64_t signedVarint();
    // A length byte and that many printable ASCII characters, copied with a
    // final zero into `out`, which holds capacity bytes; a longer text is
    // an error, not a cut.
    void text(char* out, std::size_t capacity);

    // The value must lie in low..high, or the message is wrong.
    std::uint32_t within(std::uint32_t value, std::uint32_t low, std::uint32_t high);
    void fail() { bFailed = true; }
    bool ok() const { return !bFailed; }
    bool atEnd() const { return offset == cbSize; }

private:
    const std::uint8_t* pData;
    std::size_t cbSize;
    std::size_t offset = 0;
    bool bFailed = false;
};

}  // namespace net
