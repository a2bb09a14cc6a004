#pragma once
#include <cstdint>
#include <memory>

#include "platform/EventPump.h"

class Application;
namespace platform {
class FramePacer;
class Window;
}  // namespace platform

// The three globals of the program: the main window, whether the game is
// the active application, and the one Application.
extern platform::Window* g_hMainWnd;
extern std::int32_t g_bAppActive;
extern std::unique_ptr<Application> g_pApplication;

// What the window's messages do to the Application.
void windowProc(const platform::Message& message);

// One turn of the main loop: a waiting message, else a match frame while
// a match runs and the game is active, else a wait for the next message
// (waking for the caret's blink). False once the game has quit.
bool mainLoopTurn(platform::FramePacer& pacer);
// One display refresh's worth of the loop, for a page that calls it at
// each refresh: every waiting message, then a match frame while a match
// runs, else the caret's blink. Never waits. False once the game has quit.
bool refreshTurn();
// Turns until the game quits; the exit code.
int runMainLoop();
bool quitPosted();
void resetQuit();
