#include "platform/Shell.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

bool openUrl(const char* url) { return SDL_OpenURL(url) == 0; }

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
