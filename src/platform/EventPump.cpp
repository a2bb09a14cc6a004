#include "platform/EventPump.h"

#include <SDL.h>

#include "platform/DisplayFaults.h"
#include "platform/KeyboardTable.h"

namespace platform {
namespace {

bool g_closeRequested = false;

Message make(MessageType type, std::int32_t value = 0, std::int32_t x = 0, std::int32_t y = 0) {
    Message message;
    message.type = type;
    message.value = value;
    message.x = x;
    message.y = y;
    return message;
}

// Characters the name entry and the menu understand; anything else typed
// is of no use to them.
bool translate(const SDL_Event& event, Message& message) {
    switch (event.type) {
        case SDL_QUIT:
            message = make(MessageType::Close);
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    message = make(MessageType::Activate, 1);
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    message = make(MessageType::Activate, 0);
                    return true;
                case SDL_WINDOWEVENT_MINIMIZED:
                    message = make(MessageType::Minimised);
                    return true;
                case SDL_WINDOWEVENT_RESTORED:
                    message = make(MessageType::Restored);
                    return true;
                case SDL_WINDOWEVENT_MOVED:
                    message = make(MessageType::Moved);
                    return true;
                case SDL_WINDOWEVENT_EXPOSED:
                    message = make(MessageType::Paint);
                    return true;
                case SDL_WINDOWEVENT_CLOSE:
                    message = make(MessageType::Close);
                    return true;
                default:
                    return false;
            }
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    message = make(MessageType::Char, 13);
                    return true;
                case SDLK_BACKSPACE:
                    message = make(MessageType::Char, 8);
                    return true;
                case SDLK_ESCAPE:
                    message = make(MessageType::Char, 27);
                    return true;
                default:
                    return false;
            }
        case SDL_TEXTINPUT: {
            // One message per character of plain ASCII; the table only keeps
            // letters, and a multi-byte character is none of them.
            const unsigned char first = static_cast<unsigned char>(event.text.text[0]);
            if (first == 0 || first >= 0x80) return false;
            message = make(MessageType::Char, first);
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return false;
            message = make(MessageType::Click, 0, event.button.x, event.button.y);
            return true;
        default:
            return false;
    }
}

// The keyboard table and the display watch the raw events themselves.
void observe(const SDL_Event& event) {
    handleKeyboardEvent(event);
    if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
        noteRenderEvent(event.type);
    }
}

bool deliver(const SDL_Event& event, Message& message) {
    observe(event);
    return translate(event, message);
}

}  // namespace

bool peekMessage(Message& message) {
    if (g_closeRequested) {
        g_closeRequested = false;
        message = make(MessageType::Close);
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (deliver(event, message)) return true;
    }
    return false;
}

bool waitMessage(Message& message, std::uint32_t timeoutMs) {
    if (peekMessage(message)) return true;
    SDL_Event event;
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        const Uint32 spent = SDL_GetTicks() - start;
        if (spent >= timeoutMs) return false;
        if (!SDL_WaitEventTimeout(&event, static_cast<int>(timeoutMs - spent))) return false;
        if (deliver(event, message)) return true;
        if (g_closeRequested) return peekMessage(message);
    }
}

void requestClose() { g_closeRequested = true; }
bool closeRequested() { return g_closeRequested; }
void clearCloseRequest() { g_closeRequested = false; }

}  // namespace platform
