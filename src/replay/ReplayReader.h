#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "replay/Replay.h"

namespace replay {

// Reads a replay file strictly: anything but a whole, undamaged replay of
// this format version gives false and, in `error`, what is wrong with it.
// Memory stays within a small multiple of the file's size, whatever its
// lengths and counts claim.
bool readReplay(const std::uint8_t* data, std::size_t size, Replay& replay, std::string& error);
// The same from a file, which may be at most kMaxFileBytes long.
bool loadReplay(const std::string& path, Replay& replay, std::string& error);

}  // namespace replay
