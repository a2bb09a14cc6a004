#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace replay {

// Reads little-endian numbers and varints from a buffer it never reads
// past. The first shortfall or malformed number stops it: every later read
// gives 0, and error() says what went wrong first.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : pData(data), cbSize(size) {}

    std::uint8_t u8(const char* what);
    std::uint16_t u16(const char* what);
    std::uint32_t u32(const char* what);
    std::uint64_t u64(const char* what);
    // An unsigned LEB128 number of at most 32 bits, in its shortest form.
    std::uint32_t varint(const char* what);
    // The next `size` bytes, or null when fewer are left.
    const std::uint8_t* take(std::size_t size, const char* what);

    // Marks the data as wrong, with the reason, unless it already is.
    void fail(const std::string& reason);
    bool ok() const { return sError.empty(); }
    const std::string& error() const { return sError; }
    std::size_t remaining() const { return cbSize - offset; }
    std::size_t position() const { return offset; }

private:
    const std::uint8_t* pData;
    std::size_t cbSize;
    std::size_t offset = 0;
    std::string sError;
};

}  // namespace replay
