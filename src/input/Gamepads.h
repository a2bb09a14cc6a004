#pragma once
#include <cstdint>

class PadClaims;

// The player's pads as the game uses them: started with the keyboard,
// read with it in every frame of a match. Pads are optional; without
// SDL's pad support the game simply has none.
class Gamepads {
public:
    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Pads plugged in now, and later, arrive as window messages. Mappings
    // come from SDL, then from gamecontrollerdb.txt in the game's
    // configuration folder.
    bool start();
    // What the pads hold, added to this frame's key state as keys.
    void addKeys(const PadClaims& claims, std::uint8_t* keys);

private:
    bool bStarted = false;
};
