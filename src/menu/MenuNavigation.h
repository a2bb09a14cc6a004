#pragma once
#include <cstdint>

#include "menu/MenuFocus.h"

class Menu;

// The menu without a mouse: Tab, Shift+Tab and the arrows move the focus,
// a key offered while a colour's keys are asked for goes to the prompt,
// and a pad that plays no colour moves the focus with its D-pad and acts
// on it with A. Each answers as Menu::onChar does.
class MenuNavigation {
public:
    static std::int8_t onKey(Menu& menu, std::uint8_t code, char letter);
    // What is left of a pad's press once Start and the name entry have had theirs.
    static std::int8_t onPad(Menu& menu, int pad, std::uint16_t pressed);
    static void moveFocus(Menu& menu, MenuFocus::Move move);
    // What acting on an item answered, as onChar answers it.
    static std::int8_t charAnswer(std::int8_t clickAnswer);
};
