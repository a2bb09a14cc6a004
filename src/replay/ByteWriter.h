#pragma once
#include <cstdint>
#include <vector>

namespace replay {

// Little-endian numbers and unsigned LEB128 varints into a growing buffer.
class ByteWriter {
public:
    void u8(std::uint8_t value) { bytes.push_back(value); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void u64(std::uint64_t value);
    void varint(std::uint32_t value);
    void raw(const std::uint8_t* data, std::size_t size);
    void raw(const std::vector<std::uint8_t>& data) { raw(data.data(), data.size()); }

    const std::vector<std::uint8_t>& data() const { return bytes; }
    std::vector<std::uint8_t>& data() { return bytes; }

private:
    std::vector<std::uint8_t> bytes;
};

}  // namespace replay
