#include "platform/KeyNames.h"

#include <SDL.h>

#include "platform/KeyboardTable.h"

namespace platform {

std::string keyNameOf(std::uint8_t scanCode) {
    if (scanCode == 0) return "";
    for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl) {
        if (scanCodeOf(sdl) != scanCode) continue;
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl));
        const char* name = SDL_GetKeyName(key);
        if (name != nullptr && *name != '\0') return name;
        // No layout to ask (the dummy video driver): the key's place.
        name = SDL_GetScancodeName(static_cast<SDL_Scancode>(sdl));
        return name != nullptr ? name : "";
    }
    return "";
}

bool isShiftHeld() {
    const std::uint8_t* keys = systemKeyboard().keys();
    return (keys[0x2A] & 0x80) != 0 || (keys[0x36] & 0x80) != 0;
}

}  // namespace platform
