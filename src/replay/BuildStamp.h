#pragma once

// What a replay says about the game that recorded it.
namespace replay {

// The game's version, "1.0".
const char* gameVersion();
// The commit the game was built from, as git describes it, or "unknown".
const char* buildId();

}  // namespace replay
