#pragma once
#include <cstdint>

// How well the computer plays a colour. Normal is the computer player the
// game always had; Easy sees the ball later and moves slower; Hard reads
// where the ball will come after its bounces and goes there at once. The
// numbers are the ones replays keep.
enum class ComputerLevel : std::uint8_t { kEasy = 0, kNormal = 1, kHard = 2 };
constexpr std::uint8_t kLastComputerLevel = 2;

// The strength of each colour the computer plays, green, yellow, red,
// blue. It goes with the match like the choice of who plays: set before
// the match, read by it every frame, kept in its replay.
struct ComputerLevels {
    ComputerLevel level[4] = {ComputerLevel::kNormal, ComputerLevel::kNormal, ComputerLevel::kNormal,
                              ComputerLevel::kNormal};

    ComputerLevel of(int colour) const { return colour >= 0 && colour < 4 ? level[colour] : ComputerLevel::kNormal; }
    void set(int colour, ComputerLevel strength) {
        if (colour >= 0 && colour < 4) level[colour] = strength;
    }
    // The next strength of a colour, round from Easy through Hard, as a
    // box clicked again would show it.
    void cycle(int colour);
    bool allNormal() const;
};

// "easy", "normal", "hard".
const char* computerLevelName(ComputerLevel strength);
// False for anything but those three words.
bool parseComputerLevel(const char* text, ComputerLevel& strength);
