#pragma once
#include <string>

namespace platform {

// Hands a URL to the desktop's opener (the browser for a web page or a
// local HTML file). False when it could not even be handed over.
bool openUrl(const char* url);

// A directory of this user's where the game may leave files it can make
// again (created if needed): $XDG_CACHE_HOME/quadrill, ~/.cache/quadrill,
// or the temporary directory as a last resort.
std::string userCacheDirectory();

// The starting of the windowing system, apart from any window, so that a
// failure there can be told from a window that cannot be made. False with
// the reason in lastSystemError.
bool startWindowSystem();
// The class the game's window carries ("Quadrill"), which desktop entries
// name in StartupWMClass.
extern const char kWindowClass[];
void stopWindowSystem();
// The height and width of the desktop's usable area (without panels), 0
// when unknown.
int usableDesktopHeight();
int usableDesktopWidth();
// The system's own words for the last failure of the layer.
const char* lastSystemError();

}  // namespace platform
