#pragma once
#include <cstdint>

struct _SDL_Joystick;

namespace platform {

// A pad that exists only in SDL, for tests: plugged in when made, unplugged
// when destroyed, and reaching the game through SDL's events exactly as a
// real pad does. The pads' support must have been started (the game does
// it with its input).
class VirtualPad {
public:
    // A pad with SDL's standard layout, which SDL maps by itself.
    VirtualPad();
    // A plain joystick of two axes and four buttons with these USB ids,
    // which becomes a pad only through a mapping SDL was given.
    VirtualPad(std::uint16_t vendor, std::uint16_t product);
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool isPlugged() const { return joystick != nullptr; }
    void unplug();

    // Buttons of platform/GamePads.h; the directions are the D-pad's.
    void press(std::uint16_t button);
    void release(std::uint16_t button);
    // Both the press and the release.
    void tap(std::uint16_t button);
    void moveStick(std::int16_t x, std::int16_t y);
    // The joystick's own button, before any mapping.
    void setJoystickButton(int index, bool down);

private:
    void attach(const void* description);
    void setButton(std::uint16_t button, bool down);

    _SDL_Joystick* joystick = nullptr;
    std::int32_t instance = -1;
    bool subsystemHeld = false;
};

}  // namespace platform
