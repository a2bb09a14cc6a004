#include "platform/HeldKeys.h"

#include <SDL.h>

namespace platform {

void HeldKeys::beginScene() { stale = down; }

void HeldKeys::clear() {
    down.reset();
    stale.reset();
    dropText = false;
}

bool HeldKeys::admits(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int code = event.key.keysym.scancode;
            if (code < 0 || code >= kScancodes) return true;
            if (event.type == SDL_KEYUP) {
                down.reset(static_cast<std::size_t>(code));
                stale.reset(static_cast<std::size_t>(code));
                dropText = false;
                return true;
            }
            down.set(static_cast<std::size_t>(code));
            // A fresh press (not a repeat) means the key was let go in
            // between, even if its release went to another window.
            if (!event.key.repeat) stale.reset(static_cast<std::size_t>(code));
            dropText = stale.test(static_cast<std::size_t>(code));
            return !dropText;
        }
        case SDL_TEXTINPUT:
            return !dropText;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) clear();
            return true;
        default:
            return true;
    }
}

}  // namespace platform
