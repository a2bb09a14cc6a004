#pragma once
#include <cstdint>
#include <vector>

#include "replay/Replay.h"

namespace replay {

// The file's bytes for a replay, in the current format version.
std::vector<std::uint8_t> writeReplay(const Replay& replay);

}  // namespace replay
