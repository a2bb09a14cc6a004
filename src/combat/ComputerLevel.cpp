#include "combat/ComputerLevel.h"

#include <cstring>

namespace {
const char* const kNames[] = {"easy", "normal", "hard"};
}  // namespace

void ComputerLevels::cycle(int colour) {
    if (colour < 0 || colour > 3) return;
    const std::uint8_t next = static_cast<std::uint8_t>(level[colour]) + 1;
    level[colour] = static_cast<ComputerLevel>(next > kLastComputerLevel ? 0 : next);
}

bool ComputerLevels::allNormal() const {
    for (ComputerLevel strength : level) {
        if (strength != ComputerLevel::kNormal) return false;
    }
    return true;
}

const char* computerLevelName(ComputerLevel strength) {
    const std::uint8_t index = static_cast<std::uint8_t>(strength);
    return index <= kLastComputerLevel ? kNames[index] : "normal";
}

bool parseComputerLevel(const char* text, ComputerLevel& strength) {
    if (text == nullptr) return false;
    for (std::uint8_t index = 0; index <= kLastComputerLevel; ++index) {
        if (std::strcmp(text, kNames[index]) == 0) {
            strength = static_cast<ComputerLevel>(index);
            return true;
        }
    }
    return false;
}
