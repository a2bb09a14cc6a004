#pragma once
#include <cstdint>
#include <memory>

#include "platform/Status.h"

namespace platform {

class Window;

// Whether keyboard input can be had at all. There is nothing to hold: the
// devices read the layer's one system keyboard.
Status openInputSystem();

// A user of the system keyboard in exclusive foreground use: the key table
// can be read only while acquired, and a loss of the window's focus takes
// the keyboard away until it is acquired again.
class KeyboardDevice {
public:
    static Status create(std::unique_ptr<KeyboardDevice>& out);

    KeyboardDevice();
    KeyboardDevice(const KeyboardDevice&) = delete;
    KeyboardDevice& operator=(const KeyboardDevice&) = delete;

    Status setDataFormat();
    Status setCooperativeLevel(Window* window);
    // E_ACCESSDENIED while the window does not have the focus.
    Status acquire();
    Status unacquire();
    // The 256 key bytes. DIERR_NOTACQUIRED when not acquired, DIERR_INPUTLOST
    // when the focus went away since acquire (which also unacquires).
    Status getState(std::uint32_t size, std::uint8_t* buffer);

    bool isAcquired() const { return bAcquired; }

private:
    bool bFormatSet;
    bool bAcquired;
    std::uint32_t cLossesAtAcquire;
};

}  // namespace platform
