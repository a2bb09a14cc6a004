#pragma once
#include <cstdint>

#include "platform/GamePads.h"

class PadClaims;

// A pad plays its colour through the very keys the keyboard uses, so the
// match knows nothing of pads and every rule of the paddles holds as it
// is: the D-pad or the stick held left sets the same bit of the key state
// as the colour's left key held down.
namespace padKeys {

// Buttons held by each pad, by pad number (index 0 is never a pad).
using PadButtons = std::uint16_t[platform::kMaxPads + 1];

// Adds to the 256-byte key state the keys that the pads' held buttons
// stand for: the two paddle keys of the colour a pad holds (up and down for
// green and red, left and right for yellow and blue), and Escape for Back
// on any pad. Keys already down stay down.
void addKeys(const PadClaims& claims, const PadButtons& buttons, std::uint8_t* keys);

}  // namespace padKeys
