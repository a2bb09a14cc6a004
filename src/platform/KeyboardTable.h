#pragma once
#include <cstdint>

#include "platform/Status.h"

union SDL_Event;

namespace platform {

// The set-up steps of the keyboard, each of which a test can make fail.
enum class KeyboardStep { InputSystem, Device, DataFormat, CooperativeLevel, Acquire };

// The system keyboard as the layer keeps it: one byte per PC scan code,
// bit 7 set while the key is down, and whether the window has the focus.
// SDL's own key state does not follow pushed events, so the table is kept
// from key events instead; that lets a test press keys by pushing them.
class KeyboardTable {
public:
    static constexpr std::uint32_t kSize = 256;

    KeyboardTable();

    void handleEvent(const SDL_Event& event);

    const std::uint8_t* keys() const { return aKeys; }
    // A key pressed and released between two polls still reads as down at
    // the next one, so a quick tap of Escape is never lost between frames;
    // the poll lets such keys go up.
    void notePolled();
    bool hasFocus() const { return bFocus; }
    // Grows by one on every loss of focus, so a device can tell whether the
    // focus went away since it was acquired, even if it came back since.
    std::uint32_t focusLosses() const { return cFocusLosses; }

    Status fault(KeyboardStep step) const { return aFaults[static_cast<int>(step)]; }
    void setFault(KeyboardStep step, Status status) { aFaults[static_cast<int>(step)] = status; }
    // All keys up, the focus held, no faults.
    void reset();

private:
    void loseFocus();
    void clearKeys();

    std::uint8_t aKeys[kSize];
    // Pressed since the last poll, and released again before it.
    bool aUnpolled[kSize];
    bool aReleasePending[kSize];
    bool bFocus;
    std::uint32_t cFocusLosses;
    Status aFaults[5];
};

// The one system keyboard.
KeyboardTable& systemKeyboard();

// The event pump hands every SDL event here.
void handleKeyboardEvent(const SDL_Event& event);

// The scan code of an SDL_Scancode (a physical key), 0 for keys a PC
// keyboard does not have.
std::uint8_t scanCodeOf(int sdlScancode);

namespace testing {
// Takes every event waiting in SDL's queue and gives it to the keyboard,
// standing in for the application's event pump.
void deliverPendingEvents();
// Makes a set-up step answer this failing status; S_OK clears it.
void setKeyboardFault(KeyboardStep step, Status status);
// No faults, all keys up, the window focused.
void clearKeyboardFaults();
}  // namespace testing

}  // namespace platform
