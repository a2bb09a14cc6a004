#include "support/PushedEvents.h"

#include <cstring>

#include "app/Shell.h"
#include "platform/EventPump.h"

namespace pushed {
namespace {
void push(SDL_Event event) { SDL_PushEvent(&event); }
}  // namespace

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, bool repeat) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    return event;
}

void key(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, bool repeat) {
    push(keyEvent(type, key, scancode, repeat));
}

void tap(SDL_Keycode key, SDL_Scancode scancode) {
    push(keyEvent(SDL_KEYDOWN, key, scancode));
    push(keyEvent(SDL_KEYUP, key, scancode));
}

void text(const char* utf8) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    push(event);
}

void click(int x, int y) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    push(event);
}

void windowEvent(Uint8 what) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    push(event);
}

}  // namespace pushed

void drainMessages() {
    platform::Message message;
    while (!quitPosted() && platform::peekMessage(message)) windowProc(message);
}
