#pragma once
#include <cstdint>

#include "combat/ComputerLevel.h"

// What the menu hands the match (who plays which colour) and the match
// hands back (the four final scores). Colours: 0 green, 1 yellow, 2 red,
// 3 blue.
struct PlayerSetup {
    std::uint8_t bHuman[4] = {0, 0, 0, 0};
    std::int32_t iScore[4] = {0, 0, 0, 0};
    ComputerLevels levels;
};
