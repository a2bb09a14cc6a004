#pragma once
#include <cstdint>
#include <memory>

#include "platform/Status.h"

class ErrorLogger;
class InputDevice;
namespace platform {
class KeyboardDevice;
class Window;
}

// The system keyboard in exclusive foreground use: while the window does
// not have the focus, or the keyboard is not acquired, reading it fails.
class Keyboard {
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Device, data format, cooperative level, acquire: 1 on success, 0 after
    // a reported failure (messages 102 to 105).
    int init(platform::Window* window, InputDevice& input, ErrorLogger& logger);
    // The 256-byte key state by scan code; a key is down while bit 7 is set.
    platform::Status getState(std::uint32_t size, std::uint8_t* buffer);
    platform::Status acquire();
    platform::Status unacquire();
    void release();

private:
    std::unique_ptr<platform::KeyboardDevice> pDevice;
};
