#include "platform/Shell.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

const char kWindowClass[] = "Quadrill";

bool openUrl(const char* url) { return SDL_OpenURL(url) == 0; }

bool startWindowSystem() {
    // The window's class is the game's name, not the executable's: desktop
    // launchers match the window to its entry by it. A class the user set
    // in the environment wins.
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClass, 0);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void stopWindowSystem() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

int usableDesktopHeight() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 0;
    return usable.h;
}

int usableDesktopWidth() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 0;
    return usable.w;
}

const char* lastSystemError() { return SDL_GetError(); }

std::string userCacheDirectory() {
    std::string base;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
        base = cache;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.cache";
        mkdir(base.c_str(), 0700);
    } else {
        const char* temp = std::getenv("TMPDIR");
        base = temp && *temp ? temp : "/tmp";
    }
    const std::string directory = base + "/quadrill";
    if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return base;
    return directory;
}

}  // namespace platform
