#pragma once

// The whole program: start-up, the main loop and the orderly end. Returns
// the process exit code.
int runQuadrill(int argc, char** argv);

class ErrorLogger;
namespace platform {
class Window;
}

// The start of the program up to its main loop: the window, the
// Application, sound, display and first menu, input. 1 when the loop is to
// run; 0 after a reported failure, with everything made so far destroyed.
int startGame(ErrorLogger& logger, platform::Window& window);
// Destroys the Application if it is still there.
void endGame();
