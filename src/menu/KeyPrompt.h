#pragma once
#include <cstdint>
#include <string>

class KeyBindings;

// A colour's two keys being chosen in the menu: the first key, then the
// second, each checked before it is taken. A key another colour uses, one
// of the game's own (Escape, Enter, P, M, F11 and the menu's Space and
// Tab), or the first key again is refused with a word saying why, and the
// prompt goes on waiting for that key.
class KeyPrompt {
public:
    enum class Answer { kRefused, kNextKey, kDone };

    bool isOpen() const { return colour >= 0; }
    int colourAsked() const { return colour; }
    void open(int colour);
    void close();

    // A key pressed while the prompt is open (letter: its letter in the
    // player's layout, or 0). kDone has set the colour's keys.
    Answer offer(std::uint8_t key, char letter, KeyBindings& bindings);
    // Enter (and anything else that only reaches the menu as a character).
    void refuseGameKey() { sRefusal = "Game key!"; }

    // "Press up", "Press down" for green and red, "Press left", "Press right"
    // for yellow and blue, after the reason of a refusal when there was one.
    std::string text() const;
    bool lastRefused() const { return !sRefusal.empty(); }

private:
    int colour = -1;
    int step = 0;
    std::uint8_t firstKey = 0;
    std::string sRefusal;
};
