#include "platform/Clipboard.h"

#include <SDL.h>

namespace platform {

bool copyToClipboard(const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; }

std::string clipboardText() {
    char* text = SDL_GetClipboardText();
    if (text == nullptr) return std::string();
    std::string copy = text;
    SDL_free(text);
    return copy;
}

}  // namespace platform
