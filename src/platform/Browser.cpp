#include "platform/Browser.h"

#include <utility>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace platform {
namespace {

std::function<void(const std::string&)>& replayHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

}  // namespace

void onReplayFileOpened(std::function<void(const std::string& path)> handler) {
    replayHandler() = std::move(handler);
}

namespace testing {
void openReplayFile(const char* path) {
    if (path != nullptr && replayHandler()) replayHandler()(path);
}
}  // namespace testing

#ifdef __EMSCRIPTEN__

bool runsInBrowser() { return true; }
bool onlinePlayAvailable() { return false; }

void persistSavedFiles() {
    // The page's script copies the mounted folders into IndexedDB, one sync
    // at a time, and runs one more when a save came in during a sync.
    EM_ASM({
        if (Module["persistFiles"]) Module["persistFiles"]();
    });
}

void notePictureShown() {
    EM_ASM({
        if (!Module["firstPictureAt"]) Module["firstPictureAt"] = performance.now();
    });
}

#else

bool runsInBrowser() { return false; }
bool onlinePlayAvailable() { return true; }
void persistSavedFiles() {}
void notePictureShown() {}

#endif

}  // namespace platform

#ifdef __EMSCRIPTEN__
// Called by the page with the in-memory path of a replay the player opened.
extern "C" EMSCRIPTEN_KEEPALIVE void quadrill_open_replay(const char* path) {
    platform::testing::openReplayFile(path);
}
#endif
