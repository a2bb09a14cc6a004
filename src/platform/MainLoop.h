#pragma once
#include <functional>

// Who drives the game's main loop. On the desktop the game itself does: it
// turns the loop as fast as messages and frames ask, and sleeps in between.
// In a web browser the page does: the browser calls one turn at each refresh
// of the display (requestAnimationFrame), and a turn must never wait.
namespace platform {

// Calls turn until it returns false, then finish once. On the desktop this
// happens before it returns. In a browser it returns at once, and the
// browser calls turn at each display refresh from then on, so everything
// turn and finish use must outlive the caller (own it in the functions).
void runMainLoop(std::function<bool()> turn, std::function<void()> finish);

// True when a turn is called once a display refresh and must not wait.
bool loopPacedByDisplay();

}  // namespace platform
