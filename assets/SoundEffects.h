#pragma once
#include <cstdint>
#include <vector>

// The game's five sound effects, each exactly as many samples long as the
// game's sound table says (the byte count halved).
namespace sounds {
std::vector<std::int16_t> micek();     // a ball is served: a rising chime
std::vector<std::int16_t> odpal();     // paddle hit: short bright pock
std::vector<std::int16_t> okraj();     // corner wall: duller knock
std::vector<std::int16_t> klik();      // menu check box: tiny click
std::vector<std::int16_t> tlacitko();  // menu button: a two-note press
}  // namespace sounds
