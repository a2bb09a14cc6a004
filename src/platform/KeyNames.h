#pragma once
#include <cstdint>
#include <string>

namespace platform {

// The name the player's keyboard layout gives the key at this PC scan
// code ("J", "Left", "Page Up"), empty for a key the keyboard lacks.
std::string keyNameOf(std::uint8_t scanCode);

// Whether a Shift key is held now, as the key events have told.
bool isShiftHeld();

}  // namespace platform
