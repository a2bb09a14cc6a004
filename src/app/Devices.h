#pragma once
#include <memory>

#include "graphics/Rect.h"

class DisplayDevice;
class ErrorLogger;
class Gamepads;
class InputDevice;
class Keyboard;
class SoundDevice;
class Surface;
namespace platform {
class Window;
}

// The machine's devices as the game holds them for its whole run: the
// display with the sprite sheet every scene draws from, the keyboard, the
// sound and the pads. Each is started on its own, in the order the first
// picture needs them, and all are let go in order at the end.
class Devices {
public:
    Devices(platform::Window& window, ErrorLogger& logger);
    ~Devices();
    Devices(const Devices&) = delete;
    Devices& operator=(const Devices&) = delete;

    // Each 0 (or false) after a failure that has been told.
    int startDisplay();
    int makeSpriteSheet(const Rect& sheet);
    // The display mode changed and every surface went with it: the device
    // and the sprite sheet are made anew inside the same objects, so every
    // reference to them stays good.
    int rebuildDisplay();
    // The keyboard, made but not acquired: the menu reads window events.
    int startKeyboard();
    // No sound device is no reason to stop: the game goes on silently.
    bool startSound();
    void startPads();

    DisplayDevice* display() const { return pDisplay.get(); }
    Surface* spriteSheet() const { return pMiscSurface.get(); }
    Keyboard* keyboard() const { return pKeyboard.get(); }
    SoundDevice* sound() const { return pSound.get(); }
    Gamepads* pads() const { return pGamepads.get(); }

private:
    platform::Window& window;
    ErrorLogger& logger;
    Rect rcMisc;
    std::unique_ptr<DisplayDevice> pDisplay;
    std::unique_ptr<InputDevice> pDirectInput;
    std::unique_ptr<SoundDevice> pSound;
    std::unique_ptr<Surface> pMiscSurface;
    std::unique_ptr<Keyboard> pKeyboard;
    std::unique_ptr<Gamepads> pGamepads;
};
