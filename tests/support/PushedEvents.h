#pragma once
#include <SDL.h>

// Events pushed into SDL's queue as a person's keys, typing and clicks
// would make them; the game's event pump takes them from there.
namespace pushed {

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, bool repeat = false);
void key(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, bool repeat = false);
// Down and up again.
void tap(SDL_Keycode key, SDL_Scancode scancode);
void text(const char* utf8);
void click(int x, int y);
void windowEvent(Uint8 what);

}  // namespace pushed

// Hands every waiting message to the window procedure, as the main loop
// does between frames, without ever waiting.
void drainMessages();
