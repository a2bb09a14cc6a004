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
    Moved,
    Paint,       // the picture must be drawn again
    Char,        // value: the character
    Click,       // left button, x and y in the 400 x 400 picture
    ExitSizeMove,  // a move or a modal loop of the window ended
    Close,       // the window is to close
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

// Asks for the window to close. The request is carried out by whoever runs
// the loop, after the current operation has returned.
void requestClose();
bool closeRequested();
void clearCloseRequest();

}  // namespace platform
