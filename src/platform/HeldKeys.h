#pragma once
#include <bitset>

union SDL_Event;

namespace platform {

// Keys a person was holding when the game moved on to something new (from
// a match to the menu, from typing one name to the next step) must not go
// on acting there: the keyboard's auto-repeat of Escape would quit the menu
// just reached, a held letter would type itself into the table. A key held
// across such a change is ignored until it has been let go; keys pressed
// after it repeat as usual.
class HeldKeys {
public:
    // Every key down now is to be let go before it counts again.
    void beginScene();
    // False for a key event, or the text it types, that is to be ignored.
    bool admits(const SDL_Event& event);
    // Everything up, nothing ignored: the focus went, and with it every key.
    void clear();

private:
    static constexpr int kScancodes = 512;
    std::bitset<kScancodes> down;
    std::bitset<kScancodes> stale;
    // The text that follows an ignored key press is its own auto-repeat.
    bool dropText = false;
};

}  // namespace platform
