#include "menu/KeyPrompt.h"

#include "input/KeyBindings.h"

namespace {
// As the menu's table names the colours: green, yellow, red, blue.
const char* const kColourNames[4] = {"Green", "Yellow", "Red", "Blue"};
}  // namespace

void KeyPrompt::open(int which) {
    colour = which >= 0 && which < 4 ? which : -1;
    step = 0;
    firstKey = 0;
    sRefusal.clear();
}

void KeyPrompt::close() { open(-1); }

KeyPrompt::Answer KeyPrompt::offer(std::uint8_t key, char letter, KeyBindings& bindings) {
    if (!isOpen()) return Answer::kRefused;
    // P and M are the game's by the letter the layout prints on them.
    const bool gameKey = KeyBindings::isGameKey(key) || letter == 'p' || letter == 'm';
    const int holder = bindings.holderOf(key);
    if (gameKey) {
        sRefusal = "Game key!";
        return Answer::kRefused;
    }
    if (holder != KeyBindings::kNobody && holder != colour) {
        sRefusal = std::string(kColourNames[holder]) + "'s key!";
        return Answer::kRefused;
    }
    if (step == 1 && key == firstKey) {
        sRefusal = "Already up!";
        if (colour == 1 || colour == 3) sRefusal = "Already left!";
        return Answer::kRefused;
    }
    sRefusal.clear();
    if (step == 0) {
        firstKey = key;
        step = 1;
        return Answer::kNextKey;
    }
    bindings.set(colour, firstKey, key);
    close();
    return Answer::kDone;
}

std::string KeyPrompt::text() const {
    // Green and red stand on the sides and move up and down; yellow and
    // blue lie along the bottom and the top and move left and right.
    const bool across = colour == 1 || colour == 3;
    const char* direction = step == 0 ? (across ? "left" : "up") : (across ? "right" : "down");
    const std::string ask = std::string("Press ") + direction;
    return sRefusal.empty() ? ask : sRefusal + " " + ask;
}
