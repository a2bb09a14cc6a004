#pragma once
#include <cstdint>

#include "platform/Status.h"

class ErrorLogger;
class Keyboard;
namespace platform {
class Window;
}

// The keyboard input system the game polls during a match.
class InputDevice {
public:
    InputDevice();
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    // The platform status; the caller reports a failure (message 101).
    platform::Status create();
    // E_POINTER without the input system or the keyboard; otherwise the
    // keyboard's set-up result, 1 or 0 after a reported failure.
    std::int32_t createKeyboard(platform::Window* window, Keyboard* keyboard, ErrorLogger& logger);
    void release();

    bool isCreated() const { return bCreated; }

private:
    bool bCreated;
};
