#pragma once
#include <cstddef>
#include <cstdint>

namespace replay {

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), which
// tells a damaged file from a whole one.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

}  // namespace replay
