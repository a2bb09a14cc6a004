#pragma once
#include <cstdint>

// Turns the window system's events into the few messages the game acts on.
// Key presses also keep the keyboard table, and typed characters arrive
// once each: letters from text input, Enter 13, Backspace 8 and Escape 27
// from the key presses themselves.
namespace platform {

enum class MessageType {
    Activate,    // the window gained (value 1) or lost (value 0) the focus
    Minimised,
    Restored,
    Moved,       // moved, perhaps onto another display
    Paint,       // the picture must be drawn again
    Char,        // value: the character
    Click,       // left button, x and y in the 400 x 400 picture
    Close,       // the window is to close
    ToggleFullscreen,  // F11 or Alt+Enter
    Key,         // a key pressed (not its repeat): value its PC scan code,
                 // x its letter in the keyboard's layout, 'a' to 'z', or 0
    PadAdded,    // a pad plugged in, value its number
    PadRemoved,  // a pad pulled out, value its number
    PadPress,    // value the pad's number, x the button (platform/GamePads.h)
};

struct Message {
    MessageType type = MessageType::Paint;
    std::int32_t value = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The next message if one is waiting; never blocks.
bool peekMessage(Message& message);
// Waits up to timeoutMs for the next message.
bool waitMessage(Message& message, std::uint32_t timeoutMs);

// The game moved on (another scene, a name confirmed): keys held now stay
// silent, auto-repeat included, until they have been let go.
void ignoreHeldKeys();

// Asks for the window to close. The request is carried out by whoever runs
// the loop, after the current operation has returned.
void requestClose();
bool closeRequested();
void clearCloseRequest();

namespace testing {
// No held keys remembered, no characters waiting.
void clearEventPump();
}  // namespace testing

}  // namespace platform
