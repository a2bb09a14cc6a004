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

}  // namespace platform
